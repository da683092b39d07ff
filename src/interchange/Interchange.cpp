#include "Interchange.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "interchange/GameReaders.h"
#include "interchange/OwnFormats.h"
#include "interchange/Placement.h"
#include "interchange/TellicoWriter.h"

namespace ludora::interchange {
namespace {

// Enough for a zip's signature, an XML root element behind its prologue, a CSV header.
constexpr qint64 kHead = 64 * 1024;

QString number(qsizetype n) {
    return QLocale(QLocale::English).toString(n);
}

QString games(qsizetype n) {
    return number(n) + (n == 1 ? QStringLiteral(" game") : QStringLiteral(" games"));
}

// Whether the content, after a byte-order mark and white space, begins as JSON's object.
bool looksLikeJson(QByteArrayView start) {
    if (start.startsWith("\xEF\xBB\xBF")) {
        start = start.sliced(3);
    }
    return start.trimmed().startsWith('{');
}

// Reads Ludora's own JSON or CSV: the lists come with their tabs.
bool readOwn(QIODevice& device, Format format, ImportResult& result, QString* error) {
    auto collection = std::make_unique<Collection>();
    const bool read = format == Format::Json ? readJson(device, *collection, error)
                                             : readOwnCsv(device, *collection, error);
    if (!read) {
        return false;
    }
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (collection->count(tab) > 0) {
            result.tabs << TabSummary{tab, collection->caption(tab), {}, collection->count(tab)};
            result.games += collection->count(tab);
        }
    }
    result.collection = std::move(collection);
    return true;
}

}  // namespace

bool parseFormat(const QString& name, Format* format) {
    static const std::pair<QLatin1String, Format> kNames[] = {
        {QLatin1String("json"), Format::Json},     {QLatin1String("csv"), Format::Csv},
        {QLatin1String("text"), Format::Text},     {QLatin1String("tellico"), Format::Tellico},
        {QLatin1String("gcstar"), Format::GCstar},
    };
    for (const auto& [known, value] : kNames) {
        if (name == known) {
            *format = value;
            return true;
        }
    }
    return false;
}

Format detectFormat(QByteArrayView content) {
    if (looksLikeJson(content)) {
        return Format::Json;
    }
    if (isOwnCsv(content)) {
        return Format::Csv;
    }
    return detectGamesFormat(content);
}

Format formatOf(const QString& path) {
    // A named pipe would wait for a writer: only files are looked into.
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)
               ? detectFormat(file.read(kHead))
               : Format::Detect;
}

bool isImportable(const QString& path) {
    static const QStringList kSuffixes{QStringLiteral("json"), QStringLiteral("csv"),
                                       QStringLiteral("tsv"),  QStringLiteral("tc"),
                                       QStringLiteral("xml"),  QStringLiteral("gcs")};
    return kSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive) ||
           formatOf(path) != Format::Detect;
}

ImportResult importCollection(const QString& path, Format format) {
    QFile file(path);
    const QFileInfo info(path);
    // A named pipe would wait for a writer, and a device such as /dev/zero never ends.
    if ((info.exists() && !info.isFile()) || !file.open(QIODevice::ReadOnly)) {
        ImportResult result;
        result.source = path;
        result.error = QStringLiteral("Could not open \"%1\": %2")
                           .arg(path, info.exists() && !info.isFile()
                                          ? QStringLiteral("it is not an ordinary file")
                                          : file.errorString());
        return result;
    }
    return importCollection(file, path, format);
}

ImportResult importCollection(const QByteArray& content, const QString& displayName,
                              Format format) {
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return importCollection(buffer, displayName, format);
}

ImportResult importCollection(QIODevice& device, const QString& displayName, Format format) {
    ImportResult result;
    result.source = displayName;
    const QByteArray head = device.peek(kHead);
    result.format = format == Format::Detect ? detectFormat(head) : format;
    // Ludora's own CSV and a spreadsheet share the format; the header tells them apart.
    const bool own =
        result.format == Format::Json || (result.format == Format::Csv && isOwnCsv(head));
    result.byPlatform = !own;
    Placer games;
    QString error;
    bool read = false;
    switch (result.format) {
        case Format::Json:
        case Format::Csv:
            read = own ? readOwn(device, result.format, result, &error)
                       : readSpreadsheet(device, games, &error);
            break;
        case Format::Tellico:
            read = readTellico(device, games, &error);
            break;
        case Format::GCstar:
            read = readGcstar(device, games, &error);
            break;
        case Format::Text:
            error = QStringLiteral("text cannot be imported");
            break;
        case Format::Detect:
            error = QStringLiteral(
                "not a file of games that can be imported: neither a Tellico file (.tc or XML), a "
                "GCstar collection, a CSV file with a title and a platform column, nor "
                "ldxtool's JSON or CSV export");
            break;
    }
    if (!read) {
        result.error = QStringLiteral("%1: %2").arg(displayName, error);
        return result;
    }
    if (result.byPlatform) {
        games.finish(result);
    }
    return result;
}

QByteArray exportCollection(const Collection& collection, Format format) {
    switch (format) {
        case Format::Json:
            return writeJson(collection);
        case Format::Csv:
            return writeOwnCsv(collection);
        case Format::Text:
            return writeText(collection);
        case Format::Tellico:
            return writeTellico(collection);
        case Format::GCstar:
        case Format::Detect:
            break;
    }
    return QByteArray();
}

QString summaryText(const ImportResult& result) {
    if (!result.ok()) {
        return result.error;
    }
    QString text = QStringLiteral("%1: %2 read\n").arg(result.source, games(result.games));
    qsizetype hidden = 0;  // games on the tabs that the main window cannot show
    for (const TabSummary& tab : result.tabs) {
        // Tabs are numbered as the user counts them, from 1.
        text += QStringLiteral("  tab %1 \"%2\": %3")
                    .arg(tab.tab + 1)
                    .arg(tab.caption, games(tab.games));
        if (!result.byPlatform) {
            text += u'\n';
        } else if (tab.platforms.isEmpty()) {
            text += QStringLiteral(" (no platform)\n");
        } else {
            text += QStringLiteral(" (%1)\n").arg(tab.platforms.join(QStringLiteral(", ")));
        }
        if (tab.tab >= Collection::kFirstUserTab) {
            hidden += tab.games;
        }
    }
    if (hidden > 0) {
        text += QStringLiteral(
                    "%1 on tabs 4 to 25, which cannot be chosen in the main window: they are "
                    "kept and saved with the collection. To read them, open Find Games "
                    "(Ctrl+F) and choose their tab under \"In:\", or run \"ldxtool export FILE "
                    "--format text\" on the saved file.\n")
                    .arg(games(hidden));
    }
    if (result.unplacedCount > 0) {
        text += QStringLiteral(
                    "%1 found no place (every tab taken, or a list full at "
                    "%2 names)%3:\n")
                    .arg(games(result.unplacedCount), number(Collection::kMaxNames),
                         result.unplacedCount > result.unplaced.size()
                             ? QStringLiteral("; the first %1").arg(number(result.unplaced.size()))
                             : QString());
        for (const UnplacedGame& game : result.unplaced) {
            text += QStringLiteral("  \"%1\" (%2)\n")
                        .arg(game.name, game.platform.isEmpty() ? QStringLiteral("no platform")
                                                                : game.platform);
        }
    }
    return text;
}

}  // namespace ludora::interchange
