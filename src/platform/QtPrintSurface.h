#pragma once

#include <QFont>
#include <QPainter>
#include <QString>
#include <memory>
#include <optional>

#include "platform/PrintSurface.h"

class QPageSize;
class QPrinter;

namespace ludora::platform {

// A print surface over a QPrinter. Positions are kept in twips and turned into device
// pixels with the printer's resolution. Pages start lazily: the document begins with the
// first printed line, and a new page is only started when something is printed on it, so a
// document with nothing printed sends nothing and a final newPage() adds no blank page.
class QtPrintSurface final : public PrintSurface {
public:
    explicit QtPrintSurface(std::unique_ptr<QPrinter> printer);
    ~QtPrintSurface() override;

    QtPrintSurface(const QtPrintSurface&) = delete;
    QtPrintSurface& operator=(const QtPrintSurface&) = delete;

    bool setFontSize(double points) override;
    bool setBold(bool bold) override;
    bool setHorizontalOrigin(double twips) override;
    bool setPosition(double x, double y) override;
    std::optional<double> currentY() override;
    std::optional<double> printableHeight() override;
    std::optional<double> textHeight(const QString& text) override;
    bool printLine(const QString& text) override;
    bool newPage() override;
    bool endDocument() override;

    // Begins the document now rather than at the first line (it then has at least one
    // page). False when the printer cannot be opened, for instance a PDF file that cannot
    // be created.
    bool beginNow();

    QPrinter& printer() { return *printer_; }

private:
    // The font's measures on the printer, in device pixels. Finding them takes a font
    // lookup, so they are taken once for each size and weight, not for every line.
    struct Metrics {
        double ascent = 0;
        double lineSpacing = 0;
    };

    double toDevice(double twips) const;
    double toTwips(double devicePixels) const;
    const Metrics& metrics();
    void fontChanged();
    bool ensurePage();

    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    // The printer's default typeface: only the size and weight are ever set.
    QFont font_;
    std::optional<Metrics> metrics_;
    // The painter takes the font again after it changed, and after the document began.
    bool painterFontStale_ = true;
    double originX_ = 0;
    double x_ = 0;
    double y_ = 0;
    bool begun_ = false;
    bool beginFailed_ = false;
    bool ended_ = false;
    bool pageBreakPending_ = false;
};

// A surface that writes a PDF file at the path, on pages of the given size, for tools that
// print without a printer. Returns nullptr, with the reason in *error when error is given,
// when the file cannot be created. The file always gets at least one page.
std::unique_ptr<PrintSurface> makePdfSurface(const QString& path, const QPageSize& pageSize,
                                             QString* error);

}  // namespace ludora::platform
