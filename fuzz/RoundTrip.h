#pragma once

// What both fuzz targets check of a collection they were given: that the collection file
// writer can write it, and that the reader gives it back.

#include <QBuffer>
#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdio>

#include "collection/CaptionKeys.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"

namespace ludora::fuzz {

using ludora::CaptionKeys;
using ludora::Collection;

// Prints what broke and stops the fuzzer, which keeps the input.
inline void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz: %s\n", what);
        __builtin_trap();
    }
}

inline ludora::ReadResult readBytes(Collection& collection, const QByteArray& bytes) {
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    return ludora::ReadCollectionFile(collection, device, QStringLiteral("input"));
}

inline QByteArray writeBytes(const Collection& collection) {
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    require(ludora::WriteCollectionFile(collection, device, QStringLiteral("output")).ok,
            "a collection that was read cannot be written");
    return bytes;
}

// Whether the tab holds the same names in the same order in both collections.
inline bool sameList(const Collection& a, const Collection& b, int tab) {
    const ludora::NameStore& x = a.list(tab).names;
    const ludora::NameStore& y = b.list(tab).names;
    if (x.size() != y.size()) {
        return false;
    }
    for (qsizetype pos = 0; pos < x.size(); ++pos) {
        if (x.at(pos) != y.at(pos)) {
            return false;
        }
    }
    return true;
}

inline QStringList sortedNames(const Collection& collection, int tab) {
    QStringList names;
    for (int pos = 0; pos < collection.count(tab); ++pos) {
        names << collection.nameAt(tab, pos);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The caption keys of a collection's tabs and what the file format makes of them.
class Keys {
public:
    explicit Keys(const Collection& collection) {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            keys_[size_t(tab)] = CaptionKeys::keyOf(collection.caption(tab));
        }
    }

    // Whether a tab before this one has the same key: the earlier tab takes the names of
    // both.
    bool takenEarlier(int tab) const {
        const auto first = keys_.begin();
        return std::find(first, first + tab, keys_[size_t(tab)]) != first + tab;
    }

    // Whether the file format gives every list back as it was: no two tabs share a key, and
    // no name begins with the key of a later tab (the rest of its line would go there too).
    bool listsComeBack(const Collection& collection) const {
        for (int later = 1; later < Collection::kTabCount; ++later) {
            if (takenEarlier(later)) {
                return false;
            }
            const QString& key = keys_[size_t(later)];
            for (int tab = 0; tab < later; ++tab) {
                const ludora::NameStore& names = collection.list(tab).names;
                for (qsizetype pos = 0; pos < names.size(); ++pos) {
                    if (names.at(pos).startsWith(key)) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

private:
    std::array<QString, Collection::kTabCount> keys_;
};

}  // namespace ludora::fuzz
