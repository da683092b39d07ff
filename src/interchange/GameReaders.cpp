#include "GameReaders.h"

#include <QStringDecoder>
#include <QXmlStreamReader>

#include "interchange/Csv.h"
#include "interchange/ItemLimit.h"
#include "interchange/XmlSkimmer.h"
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

// The title and platform columns of the header row, split at the delimiter that gives both.
bool findColumns(QIODevice& device, CsvReader::Encoding encoding, QChar* delimiter, int* title,
                 int* platform) {
    for (const QChar d : {QChar(u','), QChar(u';'), QChar(u'\t')}) {
        device.seek(0);
        CsvReader reader(device, encoding, d);
        CsvRow header;
        if (!reader.next(header)) {
            continue;
        }
        *title = findColumn(header.fields,
                            {QLatin1String("title"), QLatin1String("name"), QLatin1String("game")});
        *platform =
            findColumn(header.fields, {QLatin1String("platform"), QLatin1String("platforms"),
                                       QLatin1String("console"), QLatin1String("system")});
        if (*title >= 0 && *platform >= 0) {
            *delimiter = d;
            return true;
        }
    }
    return false;
}

// The XML of a Tellico or GCstar file: the device itself, or Tellico's tellico.xml (or the
// bookcase.xml of its forerunner) inside a zip, read a piece at a time. One item of it
// (an entry, or whatever lies between two) may hold at most ItemLimit::kLimit bytes.
// Only the children of each item that the reader asks for are given to it.
class XmlSource {
public:
    XmlSource(QIODevice& device, const char* item, QList<QByteArray> kept, QString* error) {
        if (looksLikeZip(device.peek(4))) {
            member_ = openZipMember(
                device, {QStringLiteral("tellico.xml"), QStringLiteral("bookcase.xml")}, error);
            if (!member_) {
                return;
            }
        }
        skimmer_ = std::make_unique<XmlSkimmer>(member_ ? *member_ : device, item, std::move(kept));
        limit_ = std::make_unique<ItemLimit>(*skimmer_);
        xml_.setDevice(limit_.get());
    }
    bool opened() const { return bool(limit_); }
    QXmlStreamReader& xml() { return xml_; }
    // The next bytes begin an item.
    void mark() { limit_->mark(); }
    // The reading's end: a zip member is read to its end, where its checksum is checked.
    // False, with the reason, when the XML or the file failed.
    bool finish(QString* error) {
        if (member_ && !limit_->failed() && !xml_.hasError()) {
            char rest[4096];
            while (skimmer_->read(rest, sizeof(rest)) > 0) {
            }
        }
        if (limit_->failed() || (member_ && member_->failed())) {
            *error = member_ && member_->failed() ? member_->errorString() : limit_->errorString();
            return false;
        }
        return !xml_.hasError() || xmlError(xml_, error);
    }

private:
    std::unique_ptr<ZipMember> member_;
    std::unique_ptr<XmlSkimmer> skimmer_;
    std::unique_ptr<ItemLimit> limit_;
    QXmlStreamReader xml_;
};

}  // namespace

Format detectGamesFormat(QByteArrayView content) {
    if (looksLikeZip(content)) {
        return Format::Tellico;
    }
    const QString root = rootElement(content.toByteArray());
    if (root == QLatin1String("tellico")) {
        return Format::Tellico;
    }
    if (root == QLatin1String("collection")) {
        return Format::GCstar;
    }
    // Text whose first line holds a delimiter is taken for a spreadsheet, whose reader then
    // says what its header lacks.
    const qsizetype lineEnd = content.indexOf('\n');
    const QByteArrayView firstLine = lineEnd < 0 ? content : content.first(lineEnd);
    const bool delimited =
        firstLine.indexOf(',') >= 0 || firstLine.indexOf(';') >= 0 || firstLine.indexOf('\t') >= 0;
    return root.isEmpty() && delimited ? Format::Csv : Format::Detect;
}

bool readTellico(QIODevice& device, Placer& games, QString* error) {
    XmlSource source(device, "entry", {"title", "platform", "platforms"}, error);
    if (!source.opened()) {
        return false;
    }
    QXmlStreamReader& xml = source.xml();
    if (!xml.readNextStartElement()) {
        return !source.finish(error) ? false
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
    for (source.mark(); xml.readNextStartElement(); source.mark()) {
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
        for (source.mark(); xml.readNextStartElement(); source.mark()) {
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
    if (!source.finish(error)) {
        return false;
    }
    if (!seenCollection) {
        *error = QStringLiteral("the Tellico file holds no collection");
        return false;
    }
    return true;
}

bool readGcstar(QIODevice& device, Placer& games, QString* error) {
    XmlSource source(device, "item", {}, error);
    if (!source.opened()) {
        return false;
    }
    QXmlStreamReader& xml = source.xml();
    if (!xml.readNextStartElement()) {
        return !source.finish(error) ? false
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
    for (source.mark(); xml.readNextStartElement(); source.mark()) {
        if (xml.name() == u"item") {
            const QXmlStreamAttributes attributes = xml.attributes();
            games.add(attributes.value(QLatin1String("name")).toString(),
                      {attributes.value(QLatin1String("platform")).toString()});
        }
        xml.skipCurrentElement();
    }
    return source.finish(error);
}

bool readSpreadsheet(QIODevice& device, Placer& games, QString* error) {
    const CsvReader::Encoding encoding = textEncoding(device);
    QChar delimiter;
    int title = 0;
    int platform = 0;
    if (!findColumns(device, encoding, &delimiter, &title, &platform)) {
        *error = QStringLiteral(
            "line 1: the header must name a title column and a platform "
            "column (or be \"tab,caption,name\")");
        return false;
    }
    device.seek(0);
    CsvReader reader(device, encoding, delimiter);
    CsvRow row;
    reader.next(row);  // the header
    while (reader.next(row)) {
        if (row.fields.join(QString()).trimmed().isEmpty()) {
            continue;  // a blank row, as spreadsheets leave at the end
        }
        // Tellico's CSV export joins several values with "; ".
        games.add(row.fields.value(title), row.fields.value(platform).split(u';'));
    }
    *error = reader.error();
    return error->isEmpty();
}

}  // namespace ludora::interchange
