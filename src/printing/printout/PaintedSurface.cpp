#include "printing/printout/PaintedSurface.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QPointF>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace ludora {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerPoint = 20;
// As fine as a printer in high resolution.
constexpr int kPdfResolution = 1200;

// Qt's PDF writer takes some 400 KB for every page it compresses, and frees it again. The C
// library gives memory freed at the top of its heap back to the system at once, and taking it
// again costs a page fault for every 4 KB: a printout of a thousand pages spent a sixth of
// its time there. While a document is open, up to this much freed memory stays.
constexpr int kKeptWhilePrinting = 16 * 1024 * 1024;
constexpr int kKeptOtherwise = 128 * 1024;  // the C library's default

void keepFreedMemory(bool keep) {
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, keep ? kKeptWhilePrinting : kKeptOtherwise);
#else
    Q_UNUSED(keep);
#endif
}

}  // namespace

PaintedSurface::PaintedSurface(std::unique_ptr<QPagedPaintDevice> device,
                               std::function<bool()> usable, std::function<void()> discard)
    : device_(std::move(device)), usable_(std::move(usable)), discard_(std::move(discard)) {}

PaintedSurface::~PaintedSurface() {
    // A document that was never ended is discarded where the device can, not sent half-done.
    if (begun_ && !ended_) {
        if (discard_) {
            discard_();
        }
        painter_.end();
        keepFreedMemory(false);
    }
}

bool PaintedSurface::usable() const {
    return !usable_ || usable_();
}

double PaintedSurface::toDevice(double twips) const {
    return twips * device_->logicalDpiY() / kTwipsPerInch;
}

double PaintedSurface::toTwips(double devicePixels) const {
    return devicePixels * kTwipsPerInch / device_->logicalDpiY();
}

const PaintedSurface::Metrics& PaintedSurface::metrics() {
    if (!metrics_) {
        const QFontMetricsF measures(font_, device_.get());
        metrics_ = Metrics{measures.ascent(), measures.lineSpacing()};
    }
    return *metrics_;
}

void PaintedSurface::fontChanged() {
    metrics_.reset();
    painterFontStale_ = true;
}

bool PaintedSurface::setFontSize(double points) {
    if (!(points > 0)) {
        return false;
    }
    if (font_.pointSizeF() != points) {
        font_.setPointSizeF(points);
        fontChanged();
    }
    return true;
}

bool PaintedSurface::setBold(bool bold) {
    if (font_.bold() != bold) {
        font_.setBold(bold);
        fontChanged();
    }
    return true;
}

bool PaintedSurface::setHorizontalOrigin(double twips) {
    originX_ = twips;
    return true;
}

bool PaintedSurface::setPosition(double x, double y) {
    x_ = x;
    y_ = y;
    return true;
}

std::optional<double> PaintedSurface::currentY() {
    return y_;
}

std::optional<double> PaintedSurface::printableHeight() {
    if (!usable()) {
        return std::nullopt;
    }
    const double points = device_->pageLayout().paintRect(QPageLayout::Point).height();
    if (!(points > 0)) {
        return std::nullopt;
    }
    return points * kTwipsPerPoint;
}

std::optional<double> PaintedSurface::textHeight(const QString& /*text*/) {
    // Every text prints on one line: its height is the line height of the font.
    if (!usable()) {
        return std::nullopt;
    }
    return toTwips(metrics().lineSpacing);
}

bool PaintedSurface::beginNow() {
    if (begun_) {
        return true;
    }
    if (beginFailed_ || ended_) {
        return false;
    }
    if (!painter_.begin(device_.get())) {
        beginFailed_ = true;
        return false;
    }
    begun_ = true;
    painterFontStale_ = true;  // begin() gives the painter the device's font
    keepFreedMemory(true);
    return true;
}

bool PaintedSurface::ensurePage() {
    if (!begun_) {
        return beginNow();
    }
    if (ended_) {
        return false;
    }
    if (pageBreakPending_) {
        pageBreakPending_ = false;
        // When the printer cannot start a page, the line goes on the current one.
        device_->newPage();
    }
    return true;
}

bool PaintedSurface::printLine(const QString& text) {
    if (!ensurePage()) {
        return false;
    }
    if (painterFontStale_) {
        painter_.setFont(font_);
        painterFontStale_ = false;
    }
    const Metrics& measures = metrics();
    // The position is the top of the line; text is drawn on its baseline.
    const QPointF baseline(toDevice(originX_ + x_), toDevice(y_) + measures.ascent);
    painter_.drawText(baseline, text);
    y_ += toTwips(measures.lineSpacing);
    x_ = 0;
    return true;
}

bool PaintedSurface::newPage() {
    if (ended_) {
        return false;
    }
    // Before the first printed line there is no page to leave.
    if (begun_) {
        pageBreakPending_ = true;
    }
    x_ = 0;
    y_ = 0;
    return true;
}

bool PaintedSurface::endDocument() {
    if (ended_) {
        return false;
    }
    ended_ = true;
    if (!begun_) {
        // Nothing was printed: there is nothing to send.
        return !beginFailed_;
    }
    const bool sent = painter_.end();
    keepFreedMemory(false);
    return sent;
}

std::unique_ptr<PrintSurface> makePdfSurface(const QString& path, const QPageSize& pageSize,
                                             QString* error) {
    auto fail = [error](const QString& reason) -> std::unique_ptr<PrintSurface> {
        if (error) {
            *error = reason;
        }
        return nullptr;
    };
    if (path.isEmpty()) {
        return fail(QStringLiteral("No PDF file name given."));
    }
    if (!pageSize.isValid()) {
        return fail(QStringLiteral("Invalid page size."));
    }

    auto writer = std::make_unique<QPdfWriter>(path);
    writer->setResolution(kPdfResolution);
    writer->setPageSize(pageSize);
    auto surface = std::make_unique<PaintedSurface>(std::move(writer));
    if (!surface->beginNow()) {
        // The PDF writer does not say why; opening the file ourselves does.
        const bool existed = QFileInfo::exists(path);
        QFile probe(path);
        QString reason = QStringLiteral("the PDF could not be written");
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
            reason = probe.errorString();
        } else {
            probe.close();
            if (!existed) {
                QFile::remove(path);
            }
        }
        return fail(QStringLiteral("Cannot create %1: %2").arg(path, reason));
    }
    return surface;
}

}  // namespace ludora
