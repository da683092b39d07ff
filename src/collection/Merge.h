#pragma once

#include <QString>
#include <array>

#include "collection/Collection.h"

namespace ludora {

// What a merge did to each list.
struct MergeResult {
    std::array<qsizetype, Collection::kTabCount> added{};
    std::array<qsizetype, Collection::kTabCount> deleted{};
    // Names the list could not take: it would have held more than Collection::kMaxNames.
    std::array<qsizetype, Collection::kTabCount> leftOut{};
};

// Merges the lists of `theirs` into `mine`, name for name (names compare exactly, as typed).
//
// Two ways (no base): each list keeps every name either side holds, each as many times as
// the side that holds it more often; the captions stay mine.
// Three ways, with the base both sides started from: a name that one side deleted and the
// other left alone is deleted, names added on either side are kept (a name both sides added
// once is added once), and a caption changed on one side only takes that change.
//
// A list that would pass Collection::kMaxNames keeps its first names in list order. Leaves
// the file name and the dirty flag alone.
MergeResult mergeCollections(Collection& mine, const Collection& theirs,
                             const Collection* base = nullptr);

// What a merge did, a line for each tab that changed, in words a person reads; "No names
// were added or deleted." when none did.
QString mergeSummary(const Collection& merged, const MergeResult& result);

}  // namespace ludora
