#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace ludora::interchange {

// Reads JSON text (UTF-8) from a device a piece at a time, never whole, for a reader that
// knows the shape it expects. Every call that fails leaves error() set: "offset N: reason".
class JsonStream {
public:
    // A string longer than this, or values nested deeper, are refused.
    static constexpr qsizetype kMaxString = 16 * 1024 * 1024;
    static constexpr int kMaxDepth = 256;

    explicit JsonStream(QIODevice& device);

    // The next character that is not white space, left to be read; 0 at the end.
    char peek();
    // Takes the character when it comes next, after white space.
    bool take(char c);
    // Reads a string into *text (or past it, when text is null).
    bool readString(QString* text);
    // Reads past any one value.
    bool skipValue(int depth = 0);
    // The text ends here, but for white space.
    bool atEnd() { return peek() == 0; }

    bool fail(const QString& reason);
    const QString& error() const { return error_; }

private:
    // The byte at the reading place, reading more of the device as needed; -1 at the end.
    int byte();
    qint64 offset() const { return base_ + at_; }

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype at_ = 0;
    qint64 base_ = 0;  // the offset of buffer_'s first byte
    QString error_;
};

}  // namespace ludora::interchange
