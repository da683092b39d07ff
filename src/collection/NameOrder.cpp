#include "collection/NameOrder.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <cstring>

namespace ludora {
namespace {

constexpr std::array<char16_t, 128> makeAsciiFold() {
    std::array<char16_t, 128> table{};
    for (char16_t c = 0; c < 128; ++c) {
        table[c] = (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
    }
    return table;
}

constexpr std::array<char16_t, 128> kAsciiFold = makeAsciiFold();

inline char16_t fold(char16_t c) noexcept {
    return c < 128 ? kAsciiFold[c] : QChar::toCaseFolded(c);
}

}  // namespace

int compareNames(QStringView a, QStringView b) noexcept {
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    // Neighbours in a list share their first characters: pass over equal ones four at a time.
    while (i + 4 <= n && std::memcmp(pa + i, pb + i, 4 * sizeof(char16_t)) == 0) {
        i += 4;
    }
    for (; i < n; ++i) {
        if (pa[i] == pb[i]) {
            continue;
        }
        const char16_t fa = fold(pa[i]);
        const char16_t fb = fold(pb[i]);
        if (fa != fb) {
            return fa < fb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

quint64 namePrefixKey(QStringView name) noexcept {
    // Four folded characters, 16 bits each; a name shorter than four leaves zeros, which
    // sort it before its longer equals as the character-by-character order does.
    quint64 key = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        key = (key << 16) | (i < name.size() ? fold(name.utf16()[i]) : 0u);
    }
    return key;
}

}  // namespace ludora
