// Feeds arbitrary bytes to the collection file reader, as if a user opened them, and checks
// that what was read survives being written and read again: the same captions always, and
// the same lists, name for name, wherever the file format can keep them apart.

#include <cstddef>
#include <cstdint>

#include "RoundTrip.h"

using namespace ludora::fuzz;

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
