#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace ludora {
class Collection;
}

namespace ludora::bench {

// The heaviest collection the program has to carry: 25 full lists of realistic names
// (3 to 60 characters, blanks, digits, some Windows-1252 letters, names equal but for
// letter case). The same seed always gives the same collection.
struct LargestCollection {
    static constexpr int kNamesPerList = 32767;

    // Names in the order a file written by the program would hold them, list by list.
    static QStringList names(uint32_t seed, int namesPerList = kNamesPerList);
    static void fill(Collection& collection, uint32_t seed, int namesPerList = kNamesPerList);
};

}  // namespace ludora::bench
