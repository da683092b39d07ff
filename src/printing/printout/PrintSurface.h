#pragma once

#include <QString>
#include <optional>

namespace ludora {

// One document on a printer. Positions and heights are in twips (1440 to the inch) from
// the print origin; fonts in points. Every operation may fail: those that act return false,
// those that read return no value.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    virtual bool setFontSize(double points) = 0;
    virtual bool setBold(bool bold) = 0;
    // Places the horizontal origin this far right of the printable area's left edge.
    virtual bool setHorizontalOrigin(double twips) = 0;
    virtual bool setPosition(double x, double y) = 0;
    virtual std::optional<double> currentY() = 0;
    virtual std::optional<double> printableHeight() = 0;
    // Height of the text as printed in the current font.
    virtual std::optional<double> textHeight(const QString& text) = 0;
    // Prints the text at the print position and moves down one line, back to x = 0.
    virtual bool printLine(const QString& text) = 0;
    // Starts a new page; the print position returns to 0, 0. A new page that is followed
    // only by endDocument() adds no blank page.
    virtual bool newPage() = 0;
    // Ends the document and sends it to the printer.
    virtual bool endDocument() = 0;
};

}  // namespace ludora
