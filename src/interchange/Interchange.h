#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "collection/Collection.h"

namespace ludora::interchange {

// The files of other collection programs that games can be brought over from.
enum class Format {
    Detect,   // found from the content
    Tellico,  // a .tc zip holding tellico.xml (or bookcase.xml), or Tellico's bare XML
    GCstar,   // a GCstar collection of type GCgames
    Csv,      // a spreadsheet or Tellico's CSV export: a title column and a platform column
};

// How many games one tab received, and from which platforms (as the file writes them).
struct TabSummary {
    int tab = 0;
    QString caption;
    QStringList platforms;  // empty for the tab of games without a platform
    qsizetype games = 0;
};

// A game that found no place: every tab was taken, or its platform's list was full.
struct UnplacedGame {
    QString name;
    QString platform;
};

struct ImportResult {
    // Why the file was refused, naming it; empty when it was read. A file that was read may
    // still leave games without a place.
    QString error;
    Format format = Format::Detect;  // the format read
    // The captions and names, ready to be written or taken with Collection::takeContent();
    // null when the file was refused.
    std::unique_ptr<Collection> collection;
    QString source;          // the file, as given
    qsizetype games = 0;     // games in the file
    QList<TabSummary> tabs;  // in tab order, tabs that received games only
    QList<UnplacedGame> unplaced;

    bool ok() const { return error.isEmpty(); }
};

// Reads a Tellico, GCstar or spreadsheet file and places its games: N64, JAGUAR and TG16
// take their consoles' names, every other platform gets a tab of its own from tab 3 on in the
// order the platforms first appear, and games without a platform one more tab.
ImportResult importGames(const QString& path, Format format = Format::Detect);
ImportResult importGames(const QByteArray& content, const QString& displayName,
                         Format format = Format::Detect);

// The format of a file, found from its first bytes; Detect when it is none of these (a
// collection file among them) or cannot be read.
Format formatOf(const QString& path);

// What went where, and what found no place, in lines a person reads.
QString summaryText(const ImportResult& result);

// A Tellico video-game collection (a .tc zip) holding one entry per name, its platform the
// tab's console: "Nintendo 64", "Atari Jaguar", "TurboGrafx-16", then the captions.
QByteArray exportTellico(const Collection& collection);

// Parses "tellico", "gcstar" or "csv"; returns false for anything else.
bool parseFormat(const QString& name, Format* format);

}  // namespace ludora::interchange
