#include "interchange/Csv.h"

#include "collection/Windows1252.h"

namespace ludora::interchange {
namespace {

constexpr qint64 kReadChunk = 64 * 1024;

}  // namespace

QString csvField(const QString& value) {
    const bool quote = value.contains(u',') || value.contains(u'"') || value.contains(u'\r') ||
                       value.contains(u'\n') || value.startsWith(u' ') || value.endsWith(u' ');
    if (!quote) {
        return value;
    }
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

CsvReader::Encoding textEncoding(QIODevice& device) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QByteArray chunk;
    bool valid = true;
    while (valid && !(chunk = device.read(kReadChunk)).isEmpty()) {
        [[maybe_unused]] const QString decoded = utf8.decode(chunk);
        valid = !utf8.hasError();
    }
    device.seek(0);
    return valid ? CsvReader::Encoding::Utf8 : CsvReader::Encoding::Windows1252;
}

CsvReader::CsvReader(QIODevice& device, Encoding encoding, QChar delimiter)
    : device_(device), encoding_(encoding), delimiter_(delimiter) {}

bool CsvReader::fill() {
    if (atEnd_) {
        return false;
    }
    const QByteArray chunk = device_.read(kReadChunk);
    if (chunk.isEmpty()) {
        atEnd_ = true;
        return false;
    }
    // What was read already goes; the row being read stays.
    text_.remove(0, at_);
    at_ = 0;
    if (encoding_ == Encoding::Utf8) {
        text_ += utf8_.decode(chunk);
    } else {
        windows1252::decode(chunk.constData(), chunk.size(), text_);
    }
    if (!started_) {
        started_ = true;
        if (text_.startsWith(QChar(0xFEFF))) {
            text_.remove(0, 1);
        }
    }
    return true;
}

bool CsvReader::more() {
    while (at_ >= text_.size()) {
        if (!fill()) {
            return false;
        }
    }
    return true;
}

bool CsvReader::fail(qint64 line, const QString& reason) {
    error_ = QStringLiteral("line %1: %2").arg(line).arg(reason);
    return false;
}

bool CsvReader::next(CsvRow& row) {
    if (!error_.isEmpty() || !more()) {
        return false;
    }
    row.line = line_;
    row.fields.clear();
    qsizetype length = 0;  // of the row so far
    const auto tooLong = [&] {
        return ++length > kMaxRow &&
               !fail(row.line, QStringLiteral("a row is longer than %1 characters").arg(kMaxRow));
    };
    // Whether the next character ends a field: the delimiter, a line end, the text's end.
    const auto fieldEnds = [this] {
        return !more() || text_.at(at_) == delimiter_ || text_.at(at_) == u'\r' ||
               text_.at(at_) == u'\n';
    };
    for (;;) {
        QString field;
        if (more() && text_.at(at_) == u'"') {
            const qint64 fieldLine = line_;
            for (++at_;; ++at_) {
                if (!more()) {
                    return fail(fieldLine, QStringLiteral("a quoted field is not closed"));
                }
                const QChar c = text_.at(at_);
                if (c == u'"') {
                    ++at_;
                    if (!more() || text_.at(at_) != u'"') {
                        break;  // the closing quote; a doubled one stands for itself
                    }
                } else if (c == u'\n') {
                    ++line_;
                }
                field += c;
                if (tooLong()) {
                    return false;
                }
            }
            if (!fieldEnds()) {
                return fail(line_, QStringLiteral("text follows a closing quote"));
            }
        } else {
            for (; !fieldEnds(); ++at_) {
                if (text_.at(at_) == u'"') {
                    return fail(line_, QStringLiteral("a quote inside an unquoted field"));
                }
                field += text_.at(at_);
                if (tooLong()) {
                    return false;
                }
            }
        }
        row.fields << field;
        if (more() && text_.at(at_) == delimiter_) {
            ++at_;
            continue;
        }
        break;
    }
    // The row's end: CR LF, LF, a lone CR, or the end of the text.
    if (more() && text_.at(at_) == u'\r') {
        ++at_;
    }
    if (more() && text_.at(at_) == u'\n') {
        ++at_;
    }
    ++line_;
    return true;
}

}  // namespace ludora::interchange
