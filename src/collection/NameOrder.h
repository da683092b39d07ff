#pragma once

#include <QStringView>

namespace ludora {

// The order of the game lists: by character, letter case ignored. Names that differ only
// in letter case compare equal. Every list, whether filled one name at a time or from a
// file, uses this one order.
int compareNames(QStringView a, QStringView b) noexcept;

inline bool nameLess(QStringView a, QStringView b) noexcept {
    return compareNames(a, b) < 0;
}

// A number that orders names by their first four characters as compareNames() does: names
// whose numbers differ compare the same way; equal numbers settle nothing.
quint64 namePrefixKey(QStringView name) noexcept;

}  // namespace ludora
