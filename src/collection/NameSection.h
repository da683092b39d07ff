#pragma once

#include <QString>

#include "collection/Collection.h"

class QIODevice;

namespace ludora {

class CaptionKeys;
class CollectionLineReader;
class ReadObserver;

// The name lines of a collection file, routed to their tabs: each tab's batch holds its
// names in file order.
struct NameSection {
    Collection::Batches batches;
    bool ok = false;
    QString errorString;  // the device's reason when it failed
};

// Reads the name lines that follow the caption lines the reader has just read from the
// device. A big file is cut at a line end into two pieces, read on two cores at once and
// joined in file order; anything else, and any file read with an observer, is read on
// through the reader.
NameSection readNameSection(CollectionLineReader& reader, QIODevice& device,
                            const CaptionKeys& keys, ReadObserver* observer = nullptr);

}  // namespace ludora
