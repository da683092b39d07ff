#include "GameReaders.h"

#include <QBuffer>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include "collection/Windows1252.h"
#include "interchange/Csv.h"
#include "interchange/Zip.h"

namespace ludora::interchange {
namespace {

// What Tellico's collection types hold; 11 is video games.
QString tellicoTypeName(QStringView type) {
    static const char* const kNames[] = {
        "custom", "books",  "videos",        "music",       "bibliographic", "comic books", "wines",
        "coins",  "stamps", "trading cards", "video games", "file catalogs", "board games"};
    bool isNumber = false;
    const int n = type.toInt(&isNumber);
    return isNumber && n >= 1 && n <= 13 ? QString::fromLatin1(kNames[n - 1])
                                         : QStringLiteral("type \"%1\"").arg(type);
}

bool xmlError(const QXmlStreamReader& xml, QString* error) {
    *error = QStringLiteral("the XML is not well-formed: line %1, column %2: %3")
                 .arg(xml.lineNumber())
                 .arg(xml.columnNumber())
                 .arg(xml.errorString());
    return false;
}

// The name of the root element, or an empty name.
QString rootElement(const QByteArray& content) {
    QXmlStreamReader xml(content);
    return xml.readNextStartElement() ? xml.name().toString() : QString();
}

// Reads one Tellico entry, from its start element to its end: the title and the platforms,
// single (<platform>) or, from Tellico 3.5.4 on, several (<platforms><platform>...).
void readEntry(QXmlStreamReader& xml, QString& title, QStringList& platforms) {
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"title") {
            title = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == u"platform") {
            platforms << xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == u"platforms") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"platform") {
                    platforms << xml.readElementText(QXmlStreamReader::IncludeChildElements);
                } else {
                    xml.skipCurrentElement();
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

QString decodeText(const QByteArray& content) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(content);
    if (utf8.hasError()) {
        // Not UTF-8: a spreadsheet saved in the Western Windows code page.
        text.clear();
        windows1252::decode(content.constData(), content.size(), text);
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

int findColumn(const QStringList& header, std::initializer_list<QLatin1String> names) {
    for (qsizetype i = 0; i < header.size(); ++i) {
        for (const QLatin1String name : names) {
            if (header.at(i).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
                return int(i);
            }
        }
    }
    return -1;
}

// The title and platform columns of a header row, split at the delimiter that gives both.
bool findColumns(const QString& text, QChar* delimiter, int* title, int* platform) {
    const QString firstLine = text.left(text.indexOf(u'\n'));
    for (const QChar d : {QChar(u','), QChar(u';'), QChar(u'\t')}) {
        QList<CsvRow> rows;
        qint64 line = 0;
        QString error;
        if (!parseCsv(firstLine, rows, &line, &error, d) || rows.isEmpty()) {
            continue;
        }
        const QStringList& header = rows.first().fields;
        *title = findColumn(header,
                            {QLatin1String("title"), QLatin1String("name"), QLatin1String("game")});
        *platform = findColumn(header, {QLatin1String("platform"), QLatin1String("platforms"),
                                        QLatin1String("console"), QLatin1String("system")});
        if (*title >= 0 && *platform >= 0) {
            *delimiter = d;
            return true;
        }
    }
    return false;
}

}  // namespace

Format detectGamesFormat(const QByteArray& content) {
    if (looksLikeZip(content)) {
        return Format::Tellico;
    }
    const QString root = rootElement(content);
    if (root == QLatin1String("tellico")) {
        return Format::Tellico;
    }
    if (root == QLatin1String("collection")) {
        return Format::GCstar;
    }
    // Text whose first line holds a delimiter is taken for a spreadsheet, whose reader then
    // says what its header lacks.
    const QByteArray firstLine = content.left(content.indexOf('\n'));
    const bool delimited =
        firstLine.contains(',') || firstLine.contains(';') || firstLine.contains('\t');
    return root.isEmpty() && delimited ? Format::Csv : Format::Detect;
}

bool readTellico(const QByteArray& content, Placer& games, QString* error) {
    QByteArray unzipped;
    if (looksLikeZip(content)) {
        if (!readZipMember(content, {QStringLiteral("tellico.xml"), QStringLiteral("bookcase.xml")},
                           &unzipped, error)) {
            return false;
        }
    }
    // Through a device, the reader decodes a few KB at a time instead of the whole text.
    QBuffer buffer;
    buffer.setData(looksLikeZip(content) ? unzipped : content);
    buffer.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&buffer);
    if (!xml.readNextStartElement()) {
        return xml.hasError() ? xmlError(xml, error)
                              : (*error = QStringLiteral("the file holds no XML"), false);
    }
    if (xml.name() != u"tellico") {
        *error = QStringLiteral("the XML is not a Tellico collection (its root is <%1>)")
                     .arg(xml.name());
        return false;
    }
    bool seenCollection = false;
    QString title;
    QStringList platforms;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"collection" || seenCollection) {
            xml.skipCurrentElement();
            continue;
        }
        seenCollection = true;
        const QStringView type = xml.attributes().value(QLatin1String("type"));
        if (type != u"11") {
            *error = QStringLiteral(
                         "the Tellico file is a collection of %1, not a video-game "
                         "collection")
                         .arg(tellicoTypeName(type));
            return false;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == u"entry") {
                title.clear();
                platforms.clear();
                readEntry(xml, title, platforms);
                games.add(title, platforms);
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError()) {
        return xmlError(xml, error);
    }
    if (!seenCollection) {
        *error = QStringLiteral("the Tellico file holds no collection");
        return false;
    }
    return true;
}

bool readGcstar(const QByteArray& content, Placer& games, QString* error) {
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&buffer);
    if (!xml.readNextStartElement()) {
        return xml.hasError() ? xmlError(xml, error)
                              : (*error = QStringLiteral("the file holds no XML"), false);
    }
    const QStringView type = xml.attributes().value(QLatin1String("type"));
    if (xml.name() != u"collection") {
        *error =
            QStringLiteral("the XML is not a GCstar collection (its root is <%1>)").arg(xml.name());
        return false;
    }
    if (type != u"GCgames") {
        *error = QStringLiteral(
                     "the GCstar file is a collection of type \"%1\", not a "
                     "video-game collection (GCgames)")
                     .arg(type);
        return false;
    }
    while (xml.readNextStartElement()) {
        if (xml.name() == u"item") {
            const QXmlStreamAttributes attributes = xml.attributes();
            games.add(attributes.value(QLatin1String("name")).toString(),
                      {attributes.value(QLatin1String("platform")).toString()});
        }
        xml.skipCurrentElement();
    }
    return xml.hasError() ? xmlError(xml, error) : true;
}

bool readSpreadsheet(const QByteArray& content, Placer& games, QString* error) {
    const QString text = decodeText(content);
    QChar delimiter;
    int title = 0;
    int platform = 0;
    if (!findColumns(text, &delimiter, &title, &platform)) {
        *error = QStringLiteral(
            "line 1: the header must name a title column and a platform "
            "column (or be \"tab,caption,name\")");
        return false;
    }
    QList<CsvRow> rows;
    qint64 line = 0;
    if (!parseCsv(text, rows, &line, error, delimiter)) {
        *error = QStringLiteral("line %1: %2").arg(line).arg(*error);
        return false;
    }
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList& fields = rows.at(r).fields;
        if (fields.join(QString()).trimmed().isEmpty()) {
            continue;  // a blank row, as spreadsheets leave at the end
        }
        // Tellico's CSV export joins several values with "; ".
        games.add(fields.value(title), fields.value(platform).split(u';'));
    }
    return true;
}

}  // namespace ludora::interchange
