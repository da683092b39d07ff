#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>

#include "collection/Collection.h"
#include "interchange/Interchange.h"

namespace ludora::interchange {

// Places games one by one, as a file is read: N64, JAGUAR and TG16 take their consoles'
// names, every other platform gets a tab of its own from tab 3 on in the order the platforms
// first appear, games without a platform one more tab.
class Placer {
public:
    Placer();
    // Adds the game to the list of each of its platforms (as the file writes them).
    void add(const QString& name, const QStringList& platforms);
    // Puts the games into a new collection in result.collection, with captions that keep the
    // lists apart when the file is read again, and fills in the summary and the games that
    // found no place.
    void finish(ImportResult& result);

private:
    void addTo(const QString& name, const QString& platform, quint32& placed);

    QHash<QString, int> tabOf_;  // platform, trimmed and case-folded: tab, or -1 for none
    int nextTab_ = Collection::kFirstUserTab;
    std::array<QString, Collection::kTabCount> captions_;
    Collection::Batches names_;
    std::array<QStringList, Collection::kTabCount> spellings_;
    QList<UnplacedGame> unplaced_;  // the first ImportResult::kListedUnplaced
    qsizetype unplacedCount_ = 0;
    qsizetype games_ = 0;
};

}  // namespace ludora::interchange
