#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <memory>

class QIODevice;

namespace ludora {

// Splits a collection file into lines, as the program reads it.
//
// A line ends at CR LF, at a CR on its own or at an LF on its own; the line end is not part
// of the line. The data end at the end of the file or at the end mark (character 26),
// whichever comes first. A file that starts with the UTF-8 byte-order mark is UTF-8 (the
// mark is dropped); any other file is Windows-1252.
class CollectionLineReader {
public:
    enum class Encoding { Windows1252, Utf8 };
    enum class LineEnd { CrLf, Cr, Lf, None };

    explicit CollectionLineReader(QIODevice& device);
    // Reads a device that starts within a file of a known encoding: no byte-order mark is
    // looked for. Reads chunks of the given size.
    CollectionLineReader(QIODevice& device, Encoding encoding, qint64 chunkSize);

    // Reads the next line into line (its old content is replaced). Returns false when the
    // data have ended or the device failed.
    bool readLine(QString& line);
    // The same without a copy: the view holds until the reader is next used.
    bool readLine(QStringView& line);

    // About the line last read.
    qint64 lineNumber() const { return lineNumber_; }
    LineEnd lineEnd() const { return lineEnd_; }
    // The line held bytes that are not valid UTF-8 (only in a UTF-8 file); each such
    // sequence became U+FFFD.
    bool lineHadInvalidUtf8() const { return invalidUtf8_; }

    Encoding encoding() const { return encoding_; }
    // Where in the device the next line starts (on a device that is not sequential).
    qint64 offset() const;
    bool sawEndMark() const { return sawEndMark_; }
    bool failed() const { return failed_; }
    QString errorString() const { return errorString_; }
    // After the data have ended at the end mark: whether anything but the mark's own line
    // end follows it. Reads the rest of the device.
    bool dataAfterEndMark();

private:
    bool fill();  // reads more bytes; false at the end of the device or on failure
    // Decodes the bytes of a Windows-1252 file from `from` to `to` at least, many lines in
    // one pass.
    void decodeFrom(qsizetype from, qsizetype to);
    // The characters of the bytes from `from` to `to` of the buffer.
    QStringView lineAt(qsizetype from, qsizetype to);

    QIODevice& device_;
    qint64 chunkSize_ = 1 << 20;
    QByteArray buffer_;
    // In a Windows-1252 file, the characters of the bytes of the buffer from decodedBase_ to
    // decodedEnd_.
    std::unique_ptr<char16_t[]> decoded_;
    qsizetype decodedCapacity_ = 0;
    qsizetype decodedBase_ = 0;
    qsizetype decodedEnd_ = 0;
    QString utf8Line_;
    qsizetype pos_ = 0;
    bool started_ = false;
    bool ended_ = false;
    bool deviceAtEnd_ = false;
    bool sawEndMark_ = false;
    bool failed_ = false;
    bool invalidUtf8_ = false;
    QString errorString_;
    qint64 lineNumber_ = 0;
    LineEnd lineEnd_ = LineEnd::None;
    Encoding encoding_ = Encoding::Windows1252;
};

}  // namespace ludora
