#pragma once

#include <QFont>
#include <QPainter>
#include <QString>
#include <memory>
#include <optional>

#include "printing/printout/PrintSurface.h"

#include <functional>

class QPageSize;
class QPagedPaintDevice;

namespace ludora {

// A print surface painted on a paged device: a printer, or a PDF file. Positions are kept
// in twips and turned into device pixels with the device's resolution. Pages start lazily:
// the document begins with the first printed line, and a new page is only started when
// something is printed on it, so a document with nothing printed sends nothing and a final
// newPage() adds no blank page.
class PaintedSurface : public PrintSurface {
public:
    // `usable` tells whether the device can print at all (a printer that has gone cannot);
    // none means it always can. `discard` throws away a document begun and not ended, when
    // the surface goes away first; none means what was painted is kept.
    explicit PaintedSurface(std::unique_ptr<QPagedPaintDevice> device,
                            std::function<bool()> usable = {}, std::function<void()> discard = {});
    ~PaintedSurface() override;

    PaintedSurface(const PaintedSurface&) = delete;
    PaintedSurface& operator=(const PaintedSurface&) = delete;

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

    QPagedPaintDevice& device() { return *device_; }

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

    bool usable() const;

    std::unique_ptr<QPagedPaintDevice> device_;
    std::function<bool()> usable_;
    std::function<void()> discard_;
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

}  // namespace ludora
