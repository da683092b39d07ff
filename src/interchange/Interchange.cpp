#include "Interchange.h"

#include <QFile>
#include <QLocale>
#include <QXmlStreamWriter>

#include "interchange/GameReaders.h"
#include "interchange/Placement.h"
#include "interchange/Zip.h"

namespace ludora::interchange {
namespace {

// The platform each of the first three tabs stands for in other programs.
const char16_t* const kConsoles[] = {u"Nintendo 64", u"Atari Jaguar", u"TurboGrafx-16"};

QString platformOf(const Collection& c, int tab) {
    return tab < Collection::kFirstUserTab ? QString::fromUtf16(kConsoles[tab]) : c.caption(tab);
}

// XML 1.0 holds no control characters other than tab, CR and LF.
QString xmlText(QString text) {
    for (QChar& ch : text) {
        if (ch.unicode() < 0x20 && ch != u'\t') {
            ch = u' ';
        }
    }
    return text;
}

QString number(qsizetype n) {
    return QLocale(QLocale::English).toString(n);
}

QString games(qsizetype n) {
    return number(n) + (n == 1 ? QStringLiteral(" game") : QStringLiteral(" games"));
}

}  // namespace

bool parseFormat(const QString& name, Format* format) {
    if (name == QLatin1String("tellico")) {
        *format = Format::Tellico;
    } else if (name == QLatin1String("gcstar")) {
        *format = Format::GCstar;
    } else if (name == QLatin1String("csv")) {
        *format = Format::Csv;
    } else {
        return false;
    }
    return true;
}

Format formatOf(const QString& path) {
    // Enough for a zip's signature, an XML root element behind its prologue, a CSV header.
    constexpr qint64 kHead = 64 * 1024;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? detectFormat(file.read(kHead)) : Format::Detect;
}

ImportResult importGames(const QString& path, Format format) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ImportResult result;
        result.source = path;
        result.error = QStringLiteral("Could not open \"%1\": %2").arg(path, file.errorString());
        return result;
    }
    return importGames(file.readAll(), path, format);
}

ImportResult importGames(const QByteArray& content, const QString& displayName, Format format) {
    ImportResult result;
    result.source = displayName;
    result.format = format == Format::Detect ? detectFormat(content) : format;
    Placer games;
    QString error;
    bool read = false;
    switch (result.format) {
        case Format::Tellico:
            read = readTellico(content, games, &error);
            break;
        case Format::GCstar:
            read = readGcstar(content, games, &error);
            break;
        case Format::Csv:
            read = readSpreadsheet(content, games, &error);
            break;
        case Format::Detect:
            error = QStringLiteral(
                "not a file of games that can be imported: neither a Tellico file (.tc or "
                "XML), a GCstar collection, nor a CSV file with a title and a platform column");
            break;
    }
    if (!read) {
        result.error = QStringLiteral("%1: %2").arg(displayName, error);
        return result;
    }
    games.finish(result);
    return result;
}

QString summaryText(const ImportResult& result) {
    if (!result.ok()) {
        return result.error;
    }
    QString text = QStringLiteral("%1: %2 read\n").arg(result.source, games(result.games));
    for (const TabSummary& tab : result.tabs) {
        text +=
            QStringLiteral("  tab %1 \"%2\": %3").arg(tab.tab).arg(tab.caption, games(tab.games));
        text += tab.platforms.isEmpty()
                    ? QStringLiteral(" (no platform)\n")
                    : QStringLiteral(" (%1)\n").arg(tab.platforms.join(QStringLiteral(", ")));
    }
    if (!result.unplaced.isEmpty()) {
        text += QStringLiteral(
                    "%1 found no place (every tab taken, or a list full at "
                    "%2 names):\n")
                    .arg(games(result.unplaced.size()), number(Collection::kMaxNames));
        for (const UnplacedGame& game : result.unplaced) {
            text += QStringLiteral("  \"%1\" (%2)\n")
                        .arg(game.name, game.platform.isEmpty() ? QStringLiteral("no platform")
                                                                : game.platform);
        }
    }
    return text;
}

QByteArray exportTellico(const Collection& collection) {
    QStringList used;  // the platforms, for the field's list of allowed values
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (collection.count(tab) > 0) {
            used << xmlText(platformOf(collection, tab)).replace(u';', u',');
        }
    }
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeDTD(
        QStringLiteral("<!DOCTYPE tellico PUBLIC \"-//Robby Stephenson/DTD Tellico V11.0//EN\" "
                       "\"http://periapsis.org/tellico/dtd/v11/tellico.dtd\">"));
    w.writeStartElement(QStringLiteral("tellico"));
    w.writeDefaultNamespace(QStringLiteral("http://periapsis.org/tellico/"));
    w.writeAttribute(QStringLiteral("syntaxVersion"), QStringLiteral("11"));
    w.writeStartElement(QStringLiteral("collection"));
    w.writeAttribute(QStringLiteral("title"), QStringLiteral("Ludora"));
    w.writeAttribute(QStringLiteral("type"), QStringLiteral("11"));
    w.writeStartElement(QStringLiteral("fields"));
    w.writeEmptyElement(QStringLiteral("field"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("_default"));
    // Tellico keeps a platform only when the field's allowed values name it.
    w.writeEmptyElement(QStringLiteral("field"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("platform"));
    w.writeAttribute(QStringLiteral("title"), QStringLiteral("Platform"));
    w.writeAttribute(QStringLiteral("category"), QStringLiteral("General"));
    w.writeAttribute(QStringLiteral("type"), QStringLiteral("3"));
    w.writeAttribute(QStringLiteral("format"), QStringLiteral("4"));
    w.writeAttribute(QStringLiteral("flags"), QStringLiteral("2"));
    w.writeAttribute(QStringLiteral("allowed"), used.join(u';'));
    w.writeEndElement();
    int id = 0;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const QString platform = xmlText(platformOf(collection, tab)).replace(u';', u',');
        for (int pos = 0; pos < collection.count(tab); ++pos) {
            w.writeStartElement(QStringLiteral("entry"));
            w.writeAttribute(QStringLiteral("id"), QString::number(++id));
            w.writeTextElement(QStringLiteral("title"), xmlText(collection.nameAt(tab, pos)));
            w.writeTextElement(QStringLiteral("platform"), platform);
            w.writeEndElement();
        }
    }
    w.writeEndDocument();
    return writeZip(QStringLiteral("tellico.xml"), xml);
}

}  // namespace ludora::interchange
