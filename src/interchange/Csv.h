#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ludora::interchange {

// One field as RFC 4180 writes it: quoted when it holds a comma, a quote, a line break or
// blanks at either end (which spreadsheets would otherwise trim), quotes doubled.
QString csvField(const QString& value);

// Splits RFC 4180 text (rows ending in CR LF or LF, quoted fields with doubled quotes) into
// rows of fields, split at the delimiter (spreadsheets write ';' or a tab where the comma is
// the decimal mark). On malformed text returns false with the line number and the reason.
struct CsvRow {
    qint64 line = 0;  // where the row starts, from 1
    QStringList fields;
};
bool parseCsv(const QString& text, QList<CsvRow>& rows, qint64* errorLine, QString* error,
              QChar delimiter = u',');

}  // namespace ludora::interchange
