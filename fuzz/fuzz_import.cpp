// Feeds arbitrary bytes to the import, through the one entry point that ldxtool import and
// the window use: format detection, the zip reader, Tellico's and GCstar's XML, spreadsheets,
// Ludora's own CSV and JSON. A refusal must say why; a collection it gives must be one the
// collection file writer can write and the reader give back, list for list.

#include <cstddef>
#include <cstdint>

#include "RoundTrip.h"
#include "interchange/Interchange.h"

using namespace ludora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ludora::interchange::ImportResult imported =
        ludora::interchange::importCollection(bytes, QStringLiteral("fuzz"));
    if (!imported.ok()) {
        require(!imported.error.isEmpty() && !imported.collection, "a refusal without a reason");
        return 0;
    }
    require(bool(imported.collection), "a file read without a collection");
    const Collection& first = *imported.collection;
    Collection second;
    require(readBytes(second, writeBytes(first)).ok, "an imported collection cannot be read");
    const Keys keys(first);
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        require(second.caption(tab) == first.caption(tab), "a caption changed");
        // No list of an import goes to another tab's key.
        require(first.count(tab) == 0 || !keys.takenEarlier(tab), "two tabs share a key");
    }
    // Games placed by platform get captions that keep every list apart; Ludora's own files
    // may hold names that begin with a later tab's key, which the file format adds there too.
    require(!imported.byPlatform || keys.listsComeBack(first), "placed lists do not come back");
    if (keys.listsComeBack(first)) {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            require(sameList(first, second, tab), "a list changed");
        }
    }
    return 0;
}
