#include "interchange/JsonStream.h"

#include <QStringDecoder>
#include <cctype>
#include <cstring>

namespace ludora::interchange {
namespace {

constexpr qint64 kJsonChunk = 64 * 1024;

bool isBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int hexValue(int c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

JsonStream::JsonStream(QIODevice& device) : device_(device) {}

int JsonStream::byte() {
    if (at_ >= buffer_.size()) {
        base_ += buffer_.size();
        buffer_ = device_.read(kJsonChunk);
        at_ = 0;
        if (buffer_.isEmpty()) {
            return -1;
        }
    }
    return static_cast<unsigned char>(buffer_[at_]);
}

bool JsonStream::fail(const QString& reason) {
    if (error_.isEmpty()) {
        error_ = QStringLiteral("offset %1: %2").arg(offset()).arg(reason);
    }
    return false;
}

char JsonStream::peek() {
    int c = byte();
    while (isBlank(c)) {
        ++at_;
        c = byte();
    }
    // A byte-order mark may open the text.
    if (offset() == 0 && c == 0xEF && buffer_.startsWith("\xEF\xBB\xBF")) {
        at_ += 3;
        return peek();
    }
    return c < 0 ? 0 : char(c);
}

bool JsonStream::take(char c) {
    if (peek() != c) {
        return false;
    }
    ++at_;
    return true;
}

bool JsonStream::readString(QString* text) {
    if (!take('"')) {
        return fail(QStringLiteral("a string was expected"));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QByteArray run;  // bytes of the text up to the next escape, decoded together
    const auto flush = [&] {
        if (text) {
            *text += utf8.decode(run);
        }
        run.clear();
        return !utf8.hasError() || fail(QStringLiteral("a string is not UTF-8 text"));
    };
    if (text) {
        text->clear();
    }
    for (qsizetype length = 0;; ++length) {
        if (length > kMaxString) {
            return fail(QStringLiteral("a string is longer than %1 bytes").arg(kMaxString));
        }
        const int c = byte();
        if (c < 0) {
            return fail(QStringLiteral("the text ends inside a string"));
        }
        ++at_;
        if (c == '"') {
            return flush();
        }
        if (c < 0x20) {
            return fail(QStringLiteral("a control character inside a string"));
        }
        if (c != '\\') {
            run += char(c);
            continue;
        }
        if (!flush()) {
            return false;
        }
        const int escaped = byte();
        ++at_;
        static const char kFrom[] = "\"\\/bfnrt";
        static const char kTo[] = "\"\\/\b\f\n\r\t";
        if (const char* simple = escaped > 0 ? std::strchr(kFrom, escaped) : nullptr) {
            run += kTo[simple - kFrom];
            continue;
        }
        if (escaped != 'u') {
            return fail(QStringLiteral("an escape that JSON does not know"));
        }
        int unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = hexValue(byte());
            if (digit < 0) {
                return fail(QStringLiteral("\\u without four hexadecimal digits"));
            }
            ++at_;
            unit = unit * 16 + digit;
        }
        if (text) {
            *text += QChar(char16_t(unit));
        }
    }
}

bool JsonStream::skipValue(int depth) {
    if (depth > kMaxDepth) {
        return fail(QStringLiteral("values are nested too deeply"));
    }
    const char c = peek();
    if (c == '"') {
        return readString(nullptr);
    }
    if (c == '[' || c == '{') {
        const char close = c == '[' ? ']' : '}';
        ++at_;
        if (take(close)) {
            return true;
        }
        do {
            if (close == '}' && (!readString(nullptr) || !take(':'))) {
                return fail(QStringLiteral("a member of an object is not \"name\": value"));
            }
            if (!skipValue(depth + 1)) {
                return false;
            }
        } while (take(','));
        return take(close) || fail(QStringLiteral("',' or '%1' was expected").arg(close));
    }
    // A number, true, false or null: letters, digits and signs up to the next delimiter.
    qsizetype length = 0;
    for (int b = byte(); b > 0 && (std::isalnum(b) || b == '-' || b == '+' || b == '.');
         b = byte()) {
        ++at_;
        ++length;
    }
    return length > 0 || fail(c == 0 ? QStringLiteral("the text ends where a value was expected")
                                     : QStringLiteral("a value was expected"));
}

}  // namespace ludora::interchange
