#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "collection/Collection.h"

namespace ludora::interchange {

// Every file format that collections come from or go to, besides the collection file
// itself. The window and ldxtool read and write them all through the functions below, so
// that the two can never disagree about what a file is.
enum class Format {
    Detect,   // reading: found from the content
    Json,     // Ludora's own: {"captions": [25 strings], "lists": [25 arrays of names]}
    Csv,      // Ludora's own "tab,caption,name" rows; read also: a spreadsheet, or Tellico's
              // CSV export, with a title column and a platform column
    Text,     // written only: each caption with its games indented under it
    Tellico,  // a .tc zip holding tellico.xml (or bookcase.xml), or Tellico's bare XML
    GCstar,   // read only: a GCstar collection of type GCgames
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
    // The games that found no place: how many, and the first kListedUnplaced of them.
    static constexpr qsizetype kListedUnplaced = 1000;
    qsizetype unplacedCount = 0;
    QList<UnplacedGame> unplaced;
    // The games were placed on tabs by their platforms (another program's file), rather
    // than read with their tabs (Ludora's own JSON and CSV).
    bool byPlatform = false;

    bool ok() const { return error.isEmpty(); }
};

// Parses "json", "csv", "text", "tellico" or "gcstar"; returns false for anything else.
bool parseFormat(const QString& name, Format* format);

// The format the content is in, or Detect when it is none of them (a collection file among
// them). Anything that begins as one of them counts: its reader then says what is wrong.
Format detectFormat(QByteArrayView content);
// The same for a file, from its first bytes; Detect also when it cannot be read.
Format formatOf(const QString& path);
// Whether a file is one to import rather than to open as a collection file: its content
// says so, or its name ends as the files of these formats do (.json, .csv, .tc, ...), so
// that such a file is refused with the reason rather than taken for a collection file.
bool isImportable(const QString& path);

// Reads a collection from a file of any of the formats, found from the content unless a
// format is given. Another program's games are placed on tabs: N64, JAGUAR and TG16 take
// their consoles' names, every other platform gets a tab of its own from tab 3 on in the
// order the platforms first appear, and games without a platform one more tab.
// The file is read a piece at a time, never whole: what a file from a stranger can make
// Ludora hold is bounded, whatever it holds.
ImportResult importCollection(const QString& path, Format format = Format::Detect);
ImportResult importCollection(const QByteArray& content, const QString& displayName,
                              Format format = Format::Detect);
// The same from a device open for reading, which allows seeking.
ImportResult importCollection(QIODevice& device, const QString& displayName,
                              Format format = Format::Detect);

// The collection in one of the formats that can be written (Json, Csv, Text, Tellico);
// Tellico gives a .tc zip holding one entry per name, its platform the tab's console.
// Empty for a format that is only read.
QByteArray exportCollection(const Collection& collection, Format format);

// What went where, and what found no place, in lines a person reads.
QString summaryText(const ImportResult& result);

}  // namespace ludora::interchange
