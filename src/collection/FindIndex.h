#pragma once

#include <QStringView>
#include <array>
#include <string>
#include <vector>

#include "collection/Collection.h"

namespace ludora {

// Finds names in all 25 lists of a collection by the rules of NameMatching.h, fast enough
// to answer each keystroke: per list, the distinct words of its names with the positions of
// the names that hold each, and a hash of every name's normalised form, sorted.
//
// Each list is indexed on the first search after it changed (several lists at once on
// several cores), and only in the part the search needs; a collection that is never
// searched carries no index.
class FindIndex {
public:
    static constexpr int kAllLists = -1;

    // A name found: its tab and its position in the list, packed.
    using Hit = quint32;
    using Hits = std::vector<Hit>;
    static Hit hit(int tab, int pos) { return Hit(tab) << 16 | Hit(pos); }
    static int tabOf(Hit hit) { return int(hit >> 16); }
    static int posOf(Hit hit) { return int(hit & 0xFFFF); }

    explicit FindIndex(const Collection& collection);
    ~FindIndex();

    // The names of one list, or of all, that the query matches, in tab order and list order.
    // An empty query gives the whole list, and nothing in all lists.
    Hits find(QStringView query, int tab = kAllLists);
    // The names that share their normalised form with another name of the same list, which
    // the query (when not empty) matches: each group together in list order, the groups in
    // tab order and, within a list, by their first name. `groupEnds` receives where each
    // group ends: the number of names up to its last one.
    Hits duplicates(QStringView query, int tab, std::vector<size_t>* groupEnds);
    // The names whose normalised form is the text's, in tab order and list order; none when
    // the text has no letter or digit.
    Hits sameAs(QStringView text);

private:
    struct List;
    // The parts of a list's index: the keys of the names' forms, and their words.
    enum Parts { Keys = 1, Words = 2 };
    // Makes the parts asked for of the lists that changed since they were last made.
    void refresh(Parts parts);
    // The range of lists to search.
    static std::pair<int, int> range(int tab);

    const Collection& collection_;
    std::array<std::unique_ptr<List>, Collection::kTabCount> lists_;
};

}  // namespace ludora
