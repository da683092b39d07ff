#include "Placement.h"

#include <QHash>
#include <QSet>
#include <array>

#include "collection/CaptionKeys.h"
#include "collection/Collection.h"

namespace ludora::interchange {
namespace {

constexpr int kNoTab = -1;

// Spellings of the first three tabs' consoles, compared ignoring case and surrounding blanks.
QHash<QString, int> fixedPlatforms() {
    QHash<QString, int> tabs;
    for (const auto& [name, tab] :
         {std::pair{u"nintendo 64", 0}, std::pair{u"n64", 0}, std::pair{u"atari jaguar", 1},
          std::pair{u"jaguar", 1}, std::pair{u"turbografx-16", 2}, std::pair{u"turbografx 16", 2},
          std::pair{u"tg16", 2}, std::pair{u"tg-16", 2}}) {
        tabs.insert(QString::fromUtf16(name), tab);
    }
    return tabs;
}

// Captions to try for a tab, most readable first. A reader joins tabs whose captions share
// their first nine characters, so "PlayStation3" after "PlayStation2" becomes "PlayStat3".
QStringList captionCandidates(const QString& caption) {
    QString packed = caption;
    packed.remove(u' ');
    QStringList candidates{caption, packed};
    for (qsizetype k = 1; k < 8 && packed.size() > CaptionKeys::kLength; ++k) {
        candidates << packed.left(CaptionKeys::kLength - k) + packed.right(k);
    }
    for (int n = 2; n < 100; ++n) {
        candidates << packed.left(7) + u'#' + QString::number(n);
    }
    return candidates;
}

// Gives every tab from 3 on a caption whose key no other tab shares and that begins no name
// of an earlier tab (the reader would add such a name to the later tab too).
void chooseCaptions(Collection& c, const std::array<QStringList, Collection::kTabCount>& names) {
    QSet<QString> keys;
    QSet<QString> nameStarts;  // the keys that names of the tabs so far begin with
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (tab >= Collection::kFirstUserTab) {
            for (const QString& candidate : captionCandidates(c.caption(tab))) {
                const QString key = CaptionKeys::keyOf(candidate);
                if (!keys.contains(key) && !nameStarts.contains(key)) {
                    c.setCaption(tab, candidate);
                    break;
                }
            }
        }
        keys.insert(CaptionKeys::keyOf(c.caption(tab)));
        for (const QString& name : names[size_t(tab)]) {
            const QString start = CaptionKeys::keyOf(name);
            if (name.startsWith(start)) {  // not when blanks filled it up
                nameStarts.insert(start);
            }
        }
    }
}

}  // namespace

void placeGames(const QList<Game>& games, ImportResult& result) {
    static const QHash<QString, int> kFixed = fixedPlatforms();
    auto collection = std::make_unique<Collection>();
    QHash<QString, int> tabOf = kFixed;
    int nextTab = Collection::kFirstUserTab;
    std::array<QStringList, Collection::kTabCount> names;
    std::array<QStringList, Collection::kTabCount> spellings;

    for (const Game& game : games) {
        const QString name = Collection::cleanText(game.name);
        QStringList platforms;
        for (const QString& p : game.platforms) {
            if (!p.trimmed().isEmpty()) {
                platforms << p.trimmed();
            }
        }
        if (platforms.isEmpty()) {
            platforms << QString();
        }
        quint32 placed = 0;  // one bit per tab: a game goes once into each list
        for (const QString& platform : platforms) {
            const QString key = platform.toCaseFolded();
            auto found = tabOf.constFind(key);
            if (found == tabOf.cend()) {
                const int tab = nextTab <= Collection::kTabCount - 1 ? nextTab++ : kNoTab;
                found = tabOf.insert(key, tab);
                if (tab != kNoTab) {
                    collection->setCaption(tab, platform.isEmpty()
                                                    ? QString::fromUtf16(kNoPlatformCaption)
                                                    : Collection::cleanText(platform));
                }
            }
            const int tab = *found;
            if (tab != kNoTab && (placed & (1u << tab))) {
                continue;
            }
            if (tab == kNoTab || names[size_t(tab)].size() >= Collection::kMaxNames) {
                result.unplaced << UnplacedGame{game.name, platform};
                continue;
            }
            placed |= 1u << tab;
            names[size_t(tab)] << name;
            if (!platform.isEmpty() && !spellings[size_t(tab)].contains(platform)) {
                spellings[size_t(tab)] << platform;
            }
        }
    }

    chooseCaptions(*collection, names);
    Collection::Batches batches;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const QStringList& list = names[size_t(tab)];
        if (list.isEmpty()) {
            continue;
        }
        result.tabs << TabSummary{tab, collection->caption(tab), spellings[size_t(tab)],
                                  list.size()};
        batches[size_t(tab)].reserve(list.size());
        for (const QString& name : list) {
            batches[size_t(tab)].append(name);
        }
    }
    collection->addNamesToAll(std::move(batches));
    result.games = games.size();
    result.collection = std::move(collection);
}

}  // namespace ludora::interchange
