// Feeds arbitrary bytes to the collection file reader, as if a user opened them, and checks
// that what was read survives being written and read again: the same captions always, and
// the same lists, name for name, wherever the file format can keep them apart.

#include <QBuffer>
#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "collection/CaptionKeys.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"

using ludora::CaptionKeys;
using ludora::Collection;

namespace {

// Prints what broke and stops the fuzzer, which keeps the input.
void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_read_collection: %s\n", what);
        __builtin_trap();
    }
}

ludora::ReadResult readBytes(Collection& collection, const QByteArray& bytes) {
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    return ludora::ReadCollectionFile(collection, device, QStringLiteral("input"));
}

QByteArray writeBytes(const Collection& collection) {
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    require(ludora::WriteCollectionFile(collection, device, QStringLiteral("output")).ok,
            "a collection that was read cannot be written");
    return bytes;
}

// Whether the tab holds the same names in the same order in both collections.
bool sameList(const Collection& a, const Collection& b, int tab) {
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

QStringList sortedNames(const Collection& collection, int tab) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    Collection first;
    const ludora::ReadResult read1 = readBytes(first, bytes);
    if (!read1.ok) {
        require(!read1.error.isEmpty(), "a refused file has no reason");
        return 0;
    }

    const QByteArray written = writeBytes(first);
    Collection second;
    const ludora::ReadResult read2 = readBytes(second, written);
    require(read2.ok, "a written collection cannot be read");
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        require(second.caption(tab) == first.caption(tab), "a caption changed");
    }
    const Keys keys(first);
    if (keys.listsComeBack(first)) {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            require(sameList(first, second, tab), "a list changed");
        }
        return 0;
    }
    // Where names move between tabs, a tab that owns its key keeps every name it had, unless
    // names that moved in filled it.
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (!keys.takenEarlier(tab) && read2.refused[size_t(tab)] == 0) {
            const QStringList before = sortedNames(first, tab);
            const QStringList after = sortedNames(second, tab);
            require(std::includes(after.begin(), after.end(), before.begin(), before.end()),
                    "a list lost names");
        }
    }
    return 0;
}
