#include "Csv.h"

namespace ludora::interchange {

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

bool parseCsv(const QString& text, QList<CsvRow>& rows, qint64* errorLine, QString* error,
              QChar delimiter) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    qint64 line = 1;
    while (i < n) {
        CsvRow row;
        row.line = line;
        for (;;) {
            QString field;
            if (i < n && text[i] == u'"') {
                const qint64 fieldLine = line;
                ++i;
                for (;;) {
                    if (i >= n) {
                        *errorLine = fieldLine;
                        *error = QStringLiteral("a quoted field is not closed");
                        return false;
                    }
                    const QChar c = text[i];
                    if (c == u'"') {
                        if (i + 1 < n && text[i + 1] == u'"') {
                            field += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == u'\n') {
                        ++line;
                    }
                    field += c;
                    ++i;
                }
                if (i < n && text[i] != delimiter && text[i] != u'\r' && text[i] != u'\n') {
                    *errorLine = line;
                    *error = QStringLiteral("text follows a closing quote");
                    return false;
                }
            } else {
                const qsizetype start = i;
                while (i < n && text[i] != delimiter && text[i] != u'\r' && text[i] != u'\n') {
                    if (text[i] == u'"') {
                        *errorLine = line;
                        *error = QStringLiteral("a quote inside an unquoted field");
                        return false;
                    }
                    ++i;
                }
                field = text.mid(start, i - start);
            }
            row.fields << field;
            if (i < n && text[i] == delimiter) {
                ++i;
                continue;
            }
            break;
        }
        // The row's end: CR LF, LF, a lone CR, or the end of the text.
        if (i < n && text[i] == u'\r') {
            ++i;
        }
        if (i < n && text[i] == u'\n') {
            ++i;
        }
        ++line;
        rows << row;
    }
    return true;
}

}  // namespace ludora::interchange
