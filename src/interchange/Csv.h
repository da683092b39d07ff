#pragma once

#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

namespace ludora::interchange {

// One field as RFC 4180 writes it: quoted when it holds a comma, a quote, a line break or
// blanks at either end (which spreadsheets would otherwise trim), quotes doubled.
QString csvField(const QString& value);

struct CsvRow {
    qint64 line = 0;  // where the row starts, from 1
    QStringList fields;
};

// Reads RFC 4180 text from a device one row at a time, never whole: rows end in CR LF, LF
// or a lone CR, fields are split at the delimiter (spreadsheets write ';' or a tab where the
// comma is the decimal mark), quoted fields may hold delimiters, doubled quotes and line
// breaks. A byte-order mark is skipped. A row of more than kMaxRow characters is refused.
class CsvReader {
public:
    enum class Encoding { Utf8, Windows1252 };
    static constexpr qsizetype kMaxRow = 16 * 1024 * 1024;

    CsvReader(QIODevice& device, Encoding encoding, QChar delimiter = u',');

    // The next row; false at the end of the text, or on malformed text (then error() says
    // where and why).
    bool next(CsvRow& row);
    const QString& error() const { return error_; }

private:
    // Decodes more of the device; false at its end.
    bool fill();
    bool fail(qint64 line, const QString& reason);
    // Whether there is a character at `at_`, decoding more as needed.
    bool more();

    QIODevice& device_;
    Encoding encoding_;
    QChar delimiter_;
    QStringDecoder utf8_{QStringDecoder::Utf8};
    QString text_;
    qsizetype at_ = 0;
    qint64 line_ = 1;
    bool atEnd_ = false;
    bool started_ = false;
    QString error_;
};

// The encoding of a device's whole text: UTF-8 when it is valid UTF-8, else the Western
// Windows code page. Reads the device through, a piece at a time, and goes back to its start.
CsvReader::Encoding textEncoding(QIODevice& device);

}  // namespace ludora::interchange
