#include "support/RecordingSurface.h"

namespace ludora::test {

const char* surfaceOpName(SurfaceOp op) {
    switch (op) {
        case SurfaceOp::SetFontSize:
            return "setFontSize";
        case SurfaceOp::SetBold:
            return "setBold";
        case SurfaceOp::SetHorizontalOrigin:
            return "setHorizontalOrigin";
        case SurfaceOp::SetPosition:
            return "setPosition";
        case SurfaceOp::CurrentY:
            return "currentY";
        case SurfaceOp::PrintableHeight:
            return "printableHeight";
        case SurfaceOp::TextHeight:
            return "textHeight";
        case SurfaceOp::PrintLine:
            return "printLine";
        case SurfaceOp::NewPage:
            return "newPage";
        case SurfaceOp::EndDocument:
            return "endDocument";
    }
    return "?";
}

bool RecordingSurface::record(SurfaceOp op, const QString& text, double first, double second) {
    const bool ok = settings_.failing.count(op) == 0;
    calls_.push_back(Call{op, text, first, second, ok});
    return ok;
}

bool RecordingSurface::setFontSize(double points) {
    if (!record(SurfaceOp::SetFontSize, QString(), points)) {
        return false;
    }
    fontSize_ = points;
    return true;
}

bool RecordingSurface::setBold(bool bold) {
    if (!record(SurfaceOp::SetBold, QString(), bold ? 1 : 0)) {
        return false;
    }
    bold_ = bold;
    return true;
}

bool RecordingSurface::setHorizontalOrigin(double twips) {
    if (!record(SurfaceOp::SetHorizontalOrigin, QString(), twips)) {
        return false;
    }
    originX_ = twips;
    return true;
}

bool RecordingSurface::setPosition(double x, double y) {
    if (!record(SurfaceOp::SetPosition, QString(), x, y)) {
        return false;
    }
    x_ = x;
    y_ = y;
    return true;
}

std::optional<double> RecordingSurface::currentY() {
    if (!record(SurfaceOp::CurrentY)) {
        return std::nullopt;
    }
    return y_;
}

std::optional<double> RecordingSurface::printableHeight() {
    if (!record(SurfaceOp::PrintableHeight)) {
        return std::nullopt;
    }
    return settings_.printableHeight;
}

std::optional<double> RecordingSurface::textHeight(const QString& text) {
    if (!record(SurfaceOp::TextHeight, text)) {
        return std::nullopt;
    }
    const auto it = settings_.textHeights.constFind(text);
    if (it != settings_.textHeights.constEnd()) {
        return *it;
    }
    return bold_ ? settings_.boldLineHeight : settings_.lineHeight;
}

bool RecordingSurface::printLine(const QString& text) {
    if (!record(SurfaceOp::PrintLine, text)) {
        return false;
    }
    if (pages_.isEmpty() || pageBreakPending_) {
        pages_.push_back(Page());
        pageBreakPending_ = false;
    }
    pages_.back().push_back(Line{text, bold_, fontSize_, originX_ + x_, y_});
    y_ += bold_ ? settings_.boldLineHeight : settings_.lineHeight;
    x_ = 0;
    return true;
}

bool RecordingSurface::newPage() {
    if (!record(SurfaceOp::NewPage)) {
        return false;
    }
    if (!pages_.isEmpty()) {
        pageBreakPending_ = true;
    }
    x_ = 0;
    y_ = 0;
    return true;
}

bool RecordingSurface::endDocument() {
    return record(SurfaceOp::EndDocument);
}

QStringList RecordingSurface::pageTexts(int page) const {
    QStringList texts;
    for (const Line& line : pages_.at(page)) {
        texts << line.text;
    }
    return texts;
}

QStringList RecordingSurface::allTexts() const {
    QStringList texts;
    for (int page = 0; page < pageCount(); ++page) {
        texts << pageTexts(page);
    }
    return texts;
}

int RecordingSurface::callCount(SurfaceOp op) const {
    int n = 0;
    for (const Call& call : calls_) {
        n += call.op == op ? 1 : 0;
    }
    return n;
}

}  // namespace ludora::test
