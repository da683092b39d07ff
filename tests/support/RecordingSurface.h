#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <set>

#include "printing/printout/PrintSurface.h"

namespace ludora::test {

enum class SurfaceOp {
    SetFontSize,
    SetBold,
    SetHorizontalOrigin,
    SetPosition,
    CurrentY,
    PrintableHeight,
    TextHeight,
    PrintLine,
    NewPage,
    EndDocument,
};

const char* surfaceOpName(SurfaceOp op);

// How a recording surface measures and which of its operations fail.
struct SurfaceSettings {
    double printableHeight = 14400;  // ten inches
    double lineHeight = 240;         // advance of a regular line, and its measured height
    double boldLineHeight = 240;     // the same for bold lines
    // Measured heights of particular texts; any other text measures one line of the font.
    QHash<QString, double> textHeights;
    // These operations fail every time: actions do nothing, reads give no value.
    std::set<SurfaceOp> failing;
};

// A print surface that prints nothing and records everything: every call with its
// arguments, and the lines as they land on pages. Pages start the way a printer's do: with
// the first line printed on them, so a new page that gets no line is no page.
class RecordingSurface final : public PrintSurface {
public:
    struct Call {
        SurfaceOp op;
        QString text;
        double first = 0;
        double second = 0;
        bool succeeded = true;
    };
    struct Line {
        QString text;
        bool bold = false;
        double fontSize = 0;
        double x = 0;  // from the printable area's left edge, the origin included
        double y = 0;  // top of the line
    };
    using Page = QList<Line>;

    explicit RecordingSurface(SurfaceSettings settings = {}) : settings_(std::move(settings)) {}

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

    const SurfaceSettings& settings() const { return settings_; }
    const QList<Call>& calls() const { return calls_; }
    const QList<Page>& pages() const { return pages_; }
    int pageCount() const { return int(pages_.size()); }
    // The texts of one page's lines, or of every line in order.
    QStringList pageTexts(int page) const;
    QStringList allTexts() const;
    int callCount(SurfaceOp op) const;
    int endDocumentCalls() const { return callCount(SurfaceOp::EndDocument); }

private:
    bool record(SurfaceOp op, const QString& text = QString(), double first = 0, double second = 0);

    SurfaceSettings settings_;
    QList<Call> calls_;
    QList<Page> pages_;
    double fontSize_ = 0;
    bool bold_ = false;
    double originX_ = 0;
    double x_ = 0;
    double y_ = 0;
    bool pageBreakPending_ = false;
};

}  // namespace ludora::test
