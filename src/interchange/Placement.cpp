#include "Placement.h"

#include <QSet>

#include "collection/CaptionKeys.h"

namespace ludora::interchange {
namespace {

constexpr int kNoTab = -1;
constexpr char16_t kNoPlatformCaption[] = u"No platform";

// The first `count` UTF-16 units of the text, one fewer if that would split a pair.
QString leftWhole(const QString& text, qsizetype count) {
    if (count < text.size() && count > 0 && text[count - 1].isHighSurrogate()) {
        --count;
    }
    return text.left(count);
}

// The captions to try for a tab, most readable first, one at a time: the k-th, or a null
// string after the last. A reader joins tabs whose captions share their first nine
// characters, so "PlayStation3" after "PlayStation2" becomes "PlayStat3". Last come numbered
// ones, "PlaySta#2" to "PlayS#12" to "Pl#999999": within the nine characters of a key, so
// every number gives a key of its own, and more of them than 24 tabs can hold names.
QString captionCandidate(const QString& caption, int k) {
    if (k == 0) {
        return caption;
    }
    QString packed = caption;
    packed.remove(u' ');
    if (k == 1) {
        return packed;
    }
    const int shortened = packed.size() > CaptionKeys::kLength ? 7 : 0;  // k = 2 to 8
    if (k < 2 + shortened) {
        const qsizetype kept = k - 1;
        return leftWhole(packed, CaptionKeys::kLength - kept) + packed.right(kept);
    }
    const int n = k - shortened;  // numbered from 2
    const QString number = u'#' + QString::number(n);
    if (number.size() > 7) {
        return QString();
    }
    return leftWhole(packed, CaptionKeys::kLength - number.size()) + number;
}

// Whether a name of one of the tabs before `tab` begins with the key.
bool beginsEarlierName(const Collection::Batches& names, int tab, const QString& key) {
    for (int t = 0; t < tab; ++t) {
        const NameStore& list = names[size_t(t)];
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QStringView name = list.at(i);
            if (!name.isEmpty() && name.front() == key.front() && name.startsWith(key)) {
                return true;
            }
        }
    }
    return false;
}

// The keys that names of the tabs before `tab` begin with.
QSet<QString> earlierNameKeys(const Collection::Batches& names, int tab) {
    QSet<QString> keys;
    for (int t = 0; t < tab; ++t) {
        const NameStore& list = names[size_t(t)];
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QStringView name = list.at(i);
            if (QString key = CaptionKeys::keyOf(name); name.startsWith(key)) {
                keys.insert(std::move(key));
            }
        }
    }
    return keys;
}

// Candidates tried by reading the earlier names each time; past them, a hostile file that
// blocks every readable caption is answered from a set of the earlier names' keys.
constexpr int kScannedCandidates = 100;

}  // namespace

Placer::Placer() {
    // The spellings of the first three tabs' consoles.
    for (const auto& [name, tab] :
         {std::pair{u"nintendo 64", 0}, std::pair{u"n64", 0}, std::pair{u"atari jaguar", 1},
          std::pair{u"jaguar", 1}, std::pair{u"turbografx-16", 2}, std::pair{u"turbografx 16", 2},
          std::pair{u"tg16", 2}, std::pair{u"tg-16", 2}}) {
        tabOf_.insert(QString::fromUtf16(name), tab);
    }
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        captions_[size_t(tab)] = Collection::defaultCaption(tab);
    }
}

void Placer::add(const QString& name, const QStringList& platforms) {
    ++games_;
    quint32 placed = 0;  // one bit per tab: a game goes once into each list
    bool any = false;
    for (const QString& platform : platforms) {
        const QString trimmed = platform.trimmed();
        if (!trimmed.isEmpty()) {
            addTo(name, trimmed, placed);
            any = true;
        }
    }
    if (!any) {
        addTo(name, QString(), placed);
    }
}

void Placer::addTo(const QString& name, const QString& platform, quint32& placed) {
    const QString key = platform.toCaseFolded();
    auto found = tabOf_.constFind(key);
    if (found == tabOf_.cend()) {
        const int tab = nextTab_ < Collection::kTabCount ? nextTab_++ : kNoTab;
        found = tabOf_.insert(key, tab);
        if (tab != kNoTab) {
            captions_[size_t(tab)] = platform.isEmpty() ? QString::fromUtf16(kNoPlatformCaption)
                                                        : Collection::cleanText(platform);
        }
    }
    const int tab = *found;
    if (tab != kNoTab && (placed & (1u << tab))) {
        return;
    }
    if (tab == kNoTab || names_[size_t(tab)].size() >= Collection::kMaxNames) {
        if (++unplacedCount_ <= ImportResult::kListedUnplaced) {
            unplaced_ << UnplacedGame{name, platform};
        }
        return;
    }
    placed |= 1u << tab;
    names_[size_t(tab)].append(name);
    if (!platform.isEmpty() && !spellings_[size_t(tab)].contains(platform)) {
        spellings_[size_t(tab)] << platform;
    }
}

void Placer::finish(ImportResult& result) {
    auto collection = std::make_unique<Collection>();
    // Names as the collection keeps them, for comparing them with the keys.
    for (NameStore& list : names_) {
        list.mapCharacters(Collection::cleanCharacter);
    }
    // Each tab from 3 on takes the first caption whose key no earlier tab has and that
    // begins no name of an earlier tab: the reader would add such a name to this tab too.
    QSet<QString> keys;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        QString caption = captions_[size_t(tab)];
        if (tab >= Collection::kFirstUserTab) {
            QString candidate;
            QSet<QString> nameKeys;
            for (int k = 0; !(candidate = captionCandidate(caption, k)).isNull(); ++k) {
                const QString key = CaptionKeys::keyOf(candidate);
                if (k == kScannedCandidates) {
                    nameKeys = earlierNameKeys(names_, tab);
                }
                const bool begins = k < kScannedCandidates ? beginsEarlierName(names_, tab, key)
                                                           : nameKeys.contains(key);
                if (!keys.contains(key) && !begins) {
                    caption = candidate;
                    break;
                }
            }
            collection->setCaption(tab, caption);
        }
        keys.insert(CaptionKeys::keyOf(collection->caption(tab)));
        if (!names_[size_t(tab)].isEmpty()) {
            result.tabs << TabSummary{tab, collection->caption(tab), spellings_[size_t(tab)],
                                      names_[size_t(tab)].size()};
        }
    }
    collection->addNamesToAll(std::move(names_));
    result.games = games_;
    result.unplaced = std::move(unplaced_);
    result.unplacedCount = unplacedCount_;
    result.collection = std::move(collection);
}

}  // namespace ludora::interchange
