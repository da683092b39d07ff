#pragma once

#include <QtGlobal>
#include <cstring>

namespace ludora {

// A 64-bit hash of bytes, eight at a time: fast, and spread well enough to tell names and
// files apart (not to stand up to someone who wants two of them alike). The seed chains the
// hashes of the pieces of a long text, read in pieces of the same sizes.
inline quint64 hashBytes(const char* bytes, size_t size, quint64 seed = 0) {
    constexpr quint64 kMultiplier = 0xbf58476d1ce4e5b9;
    quint64 h = seed ^ 0x9e3779b97f4a7c15 ^ size;
    for (; size >= 8; bytes += 8, size -= 8) {
        quint64 chunk;
        std::memcpy(&chunk, bytes, 8);
        h = (h ^ chunk) * kMultiplier;
        h ^= h >> 31;
    }
    quint64 tail = 0;
    std::memcpy(&tail, bytes, size);
    h = (h ^ tail) * 0x94d049bb133111eb;
    h ^= h >> 29;
    h *= kMultiplier;
    return h ^ (h >> 32);
}

}  // namespace ludora
