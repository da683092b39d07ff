#include "collection/FindIndex.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

#include "collection/EachList.h"
#include "collection/Hash.h"
#include "collection/NameMatching.h"

namespace ludora {
namespace {

constexpr quint32 kNone = ~quint32(0);

quint64 hashOf(std::string_view bytes) {
    return hashBytes(bytes.data(), bytes.size());
}

// A name's key: the hash of its normalised form in the high bits, its position in the low
// ones, so that sorting the keys sorts by form and then by list order. Forms that share a
// hash are told apart by comparing them. Names without a letter or digit have hash 0, which
// matches nothing.
constexpr int kPositionBits = 15;
static_assert(Collection::kMaxNames < (1 << kPositionBits));
quint64 formHash(std::string_view normalized) {
    if (normalized.empty()) {
        return 0;
    }
    const quint64 hash = hashOf(normalized) >> kPositionBits;
    return hash == 0 ? 1 : hash;
}
quint64 keyOf(quint64 hash, size_t pos) {
    return hash << kPositionBits | pos;
}
quint64 hashOfKey(quint64 key) {
    return key >> kPositionBits;
}
quint16 positionOf(quint64 key) {
    return quint16(key & ((1 << kPositionBits) - 1));
}

// Sorts the keys by their hash, keeping the order of those of one hash: least significant
// digit first, ten bits at a time, over the hash's bits only.
void sortKeys(std::vector<quint64>& keys) {
    constexpr int kDigitBits = 10;
    std::vector<quint64> other(keys.size());
    for (int shift = kPositionBits; shift < 64; shift += kDigitBits) {
        std::array<quint32, (1 << kDigitBits) + 1> starts{};
        for (const quint64 key : keys) {
            ++starts[((key >> shift) & ((1 << kDigitBits) - 1)) + 1];
        }
        std::partial_sum(starts.begin(), starts.end(), starts.begin());
        for (const quint64 key : keys) {
            other[starts[(key >> shift) & ((1 << kDigitBits) - 1)]++] = key;
        }
        keys.swap(other);
    }
}

// One bit per name of a list.
using Bits = std::vector<quint64>;

}  // namespace

struct FindIndex::List {
    // The list's revision when each part was made: the keys, the words.
    quint64 keysRevision = ~quint64(0);
    quint64 wordsRevision = ~quint64(0);
    // Every name's key, sorted.
    std::vector<quint64> keys;
    // The distinct words: word w is text[wordStart[w], wordStart[w + 1]).
    std::string text;
    std::vector<quint32> wordStart;
    std::vector<quint32> sortedWords;  // word numbers in byte order of their words
    // The positions of the names that hold word w: postings[postingStart[w], [w + 1]).
    std::vector<quint32> postingStart;
    std::vector<quint16> postings;

    std::string_view word(quint32 w) const {
        return std::string_view(text).substr(wordStart[w], wordStart[w + 1] - wordStart[w]);
    }

    // Makes the keys, the words, or both, in one pass over the names.
    void build(const NameStore& names, bool makeKeys, bool makeWords);
    // Sets the bit of each name that holds a word beginning with the prefix.
    void markPrefix(std::string_view prefix, Bits& bits) const;
    // The groups of names of one form that the query matches, ordered by their first name.
    void findDuplicates(const NameStore& names, const NameQuery& query,
                        std::vector<std::vector<quint16>>& groups) const;
};

void FindIndex::List::findDuplicates(const NameStore& names, const NameQuery& query,
                                     std::vector<std::vector<quint16>>& groups) const {
    std::string buffer;
    std::vector<std::string> forms;  // the forms of one hash, should several share it
    for (size_t i = 0; i < keys.size();) {
        const quint64 hash = hashOfKey(keys[i]);
        size_t end = i + 1;
        while (end < keys.size() && hashOfKey(keys[end]) == hash) {
            ++end;
        }
        if (hash == 0 || end - i < 2) {
            i = end;
            continue;
        }
        // The names of one hash, in list order, split by their forms.
        forms.clear();
        const size_t firstGroup = groups.size();
        for (size_t k = i; k < end; ++k) {
            const quint16 pos = positionOf(keys[k]);
            const std::string_view form = normalizeName(names.at(pos), buffer);
            const auto known = std::find(forms.begin(), forms.end(), form);
            if (known == forms.end()) {
                forms.emplace_back(form);
                groups.push_back({pos});
            } else {
                groups[firstGroup + size_t(known - forms.begin())].push_back(pos);
            }
        }
        // Names alone in their form, or that the query does not match, are no group.
        for (size_t g = groups.size(); g-- > firstGroup;) {
            if (groups[g].size() < 2 ||
                (!query.isEmpty() && !query.matches(forms[g - firstGroup]))) {
                groups.erase(groups.begin() + qsizetype(g));
            }
        }
        i = end;
    }
    std::sort(groups.begin(), groups.end());
}

void FindIndex::List::build(const NameStore& names, bool makeKeys, bool makeWords) {
    const auto count = size_t(names.size());
    if (makeWords) {
        text.clear();
        wordStart.assign(1, 0);
    }
    // Words by their hash, in open addressing; their counts and the last name holding each.
    std::vector<quint32> table(1024, kNone);
    std::vector<quint64> wordHashes;
    std::vector<quint32> counts;
    std::vector<quint32> lastName;
    std::vector<std::pair<quint32, quint16>> occurrences;  // word, name
    occurrences.reserve(makeWords ? count * 4 : 0);
    if (makeKeys) {
        keys.clear();
        keys.reserve(count);
    }

    const auto intern = [&](std::string_view w) {
        const quint64 h = hashOf(w);
        size_t slot = size_t(h) & (table.size() - 1);
        for (; table[slot] != kNone; slot = (slot + 1) & (table.size() - 1)) {
            const quint32 id = table[slot];
            if (wordHashes[id] == h && word(id) == w) {
                return id;
            }
        }
        const auto id = quint32(wordHashes.size());
        text.append(w);
        wordStart.push_back(quint32(text.size()));
        wordHashes.push_back(h);
        counts.push_back(0);
        lastName.push_back(kNone);
        table[slot] = id;
        if (wordHashes.size() * 2 > table.size()) {  // grow, keeping it half empty
            table.assign(table.size() * 2, kNone);
            for (quint32 w2 = 0; w2 < wordHashes.size(); ++w2) {
                size_t s = size_t(wordHashes[w2]) & (table.size() - 1);
                while (table[s] != kNone) {
                    s = (s + 1) & (table.size() - 1);
                }
                table[s] = w2;
            }
        }
        return id;
    };

    std::string buffer;
    for (size_t pos = 0; pos < count; ++pos) {
        const std::string_view normalized = normalizeName(names.at(qsizetype(pos)), buffer);
        if (makeKeys) {
            keys.push_back(keyOf(formHash(normalized), pos));
        }
        if (!makeWords) {
            continue;
        }
        forEachWord(normalized, [&](std::string_view w) {
            const quint32 id = intern(w);
            if (lastName[id] != pos) {
                lastName[id] = quint32(pos);
                ++counts[id];
                occurrences.emplace_back(id, quint16(pos));
            }
        });
    }

    if (makeKeys) {
        sortKeys(keys);
    }
    if (!makeWords) {
        return;
    }
    // The postings of each word in one array, names in list order.
    postingStart.assign(counts.size() + 1, 0);
    std::partial_sum(counts.begin(), counts.end(), postingStart.begin() + 1);
    postings.resize(occurrences.size());
    std::vector<quint32> next(postingStart.begin(), postingStart.end() - 1);
    for (const auto& [id, pos] : occurrences) {
        postings[next[id]++] = pos;
    }
    sortedWords.resize(counts.size());
    std::iota(sortedWords.begin(), sortedWords.end(), 0);
    std::sort(sortedWords.begin(), sortedWords.end(),
              [this](quint32 a, quint32 b) { return word(a) < word(b); });
}

void FindIndex::List::markPrefix(std::string_view prefix, Bits& bits) const {
    auto it = std::lower_bound(sortedWords.begin(), sortedWords.end(), prefix,
                               [this](quint32 w, std::string_view p) { return word(w) < p; });
    for (; it != sortedWords.end() && word(*it).substr(0, prefix.size()) == prefix; ++it) {
        for (quint32 i = postingStart[*it]; i < postingStart[*it + 1]; ++i) {
            bits[postings[i] >> 6] |= quint64(1) << (postings[i] & 63);
        }
    }
}

FindIndex::FindIndex(const Collection& collection) : collection_(collection) {}

FindIndex::~FindIndex() = default;

std::pair<int, int> FindIndex::range(int tab) {
    return tab == kAllLists ? std::pair{0, Collection::kTabCount} : std::pair{tab, tab + 1};
}

void FindIndex::refresh(Parts parts) {
    std::vector<int> stale;
    qsizetype names = 0;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (!lists_[size_t(tab)]) {
            lists_[size_t(tab)] = std::make_unique<List>();
        }
        const List& list = *lists_[size_t(tab)];
        const quint64 revision = collection_.revision(tab);
        if (((parts & Keys) && list.keysRevision != revision) ||
            ((parts & Words) && list.wordsRevision != revision)) {
            stale.push_back(tab);
            names += collection_.count(tab);
        }
    }
    forEachList(stale, names, [&](int tab) {
        List& list = *lists_[size_t(tab)];
        const quint64 revision = collection_.revision(tab);
        const bool makeKeys = (parts & Keys) && list.keysRevision != revision;
        const bool makeWords = (parts & Words) && list.wordsRevision != revision;
        list.build(collection_.list(tab).names, makeKeys, makeWords);
        list.keysRevision = makeKeys ? revision : list.keysRevision;
        list.wordsRevision = makeWords ? revision : list.wordsRevision;
    });
}

FindIndex::Hits FindIndex::find(QStringView query, int tab) {
    const NameQuery words(query);
    Hits found;
    if (words.isEmpty()) {
        for (int pos = 0; tab != kAllLists && pos < collection_.count(tab); ++pos) {
            found.push_back(hit(tab, pos));
        }
        return found;
    }
    refresh(Words);
    Bits all;
    Bits bits;
    const auto [first, last] = range(tab);
    for (int t = first; t < last; ++t) {
        const List& list = *lists_[size_t(t)];
        const int count = collection_.count(t);
        all.assign(size_t(count + 63) / 64, ~quint64(0));
        for (const std::string& word : words.words()) {
            bits.assign(all.size(), 0);
            list.markPrefix(word, bits);
            for (size_t i = 0; i < all.size(); ++i) {
                all[i] &= bits[i];
            }
        }
        for (size_t i = 0; i < all.size(); ++i) {
            for (quint64 set = all[i]; set != 0; set &= set - 1) {
                const int pos = int(i * 64) + __builtin_ctzll(set);
                if (pos < count) {
                    found.push_back(hit(t, pos));
                }
            }
        }
    }
    return found;
}

FindIndex::Hits FindIndex::duplicates(QStringView query, int tab, std::vector<size_t>* groupEnds) {
    refresh(Keys);
    const NameQuery words(query);
    // Each list's groups, as their names' positions in list order, found on several cores.
    std::array<std::vector<std::vector<quint16>>, Collection::kTabCount> groups;
    const auto [first, last] = range(tab);
    std::vector<int> tabs;
    qsizetype names = 0;
    for (int t = first; t < last; ++t) {
        tabs.push_back(t);
        names += collection_.count(t);
    }
    forEachList(tabs, names, [&](int t) {
        lists_[size_t(t)]->findDuplicates(collection_.list(t).names, words, groups[size_t(t)]);
    });
    Hits found;
    groupEnds->clear();
    for (int t = first; t < last; ++t) {
        for (const std::vector<quint16>& group : groups[size_t(t)]) {
            for (const quint16 pos : group) {
                found.push_back(hit(t, pos));
            }
            groupEnds->push_back(found.size());
        }
    }
    return found;
}

FindIndex::Hits FindIndex::sameAs(QStringView text) {
    const std::string wanted = normalizedName(text);
    Hits found;
    if (wanted.empty()) {
        return found;
    }
    refresh(Keys);
    const quint64 hash = formHash(wanted);
    std::string buffer;
    for (int t = 0; t < Collection::kTabCount; ++t) {
        const List& list = *lists_[size_t(t)];
        // The keys of one hash lie together, in list order.
        for (auto it = std::lower_bound(list.keys.begin(), list.keys.end(), keyOf(hash, 0));
             it != list.keys.end() && hashOfKey(*it) == hash; ++it) {
            if (normalizeName(collection_.list(t).names.at(positionOf(*it)), buffer) == wanted) {
                found.push_back(hit(t, positionOf(*it)));
            }
        }
    }
    return found;
}

}  // namespace ludora
