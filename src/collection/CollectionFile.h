#pragma once

#include <QString>
#include <array>

#include "collection/Collection.h"

class QIODevice;

namespace ludora {

class ReadObserver;

struct ReadResult {
    bool ok = false;
    // Why the file could not be read, naming the file; empty on success.
    QString error;
    // The file ends inside the caption lines: it is no collection file at all.
    bool tooShort = false;
    // Names that were not added because their list was full, per tab.
    std::array<qsizetype, Collection::kTabCount> refused{};

    qsizetype refusedTotal() const;
    // A sentence for the user naming each tab whose list was full, or empty.
    QString refusedMessage(const Collection& collection) const;
};

struct WriteResult {
    bool ok = false;
    QString error;  // naming the file and the system's reason; empty on success
};

// Reads a collection file: sets the captions of all 25 tabs (tabs 0 to 2 always get their
// fixed captions) and adds the names found to the lists, without emptying them first. A file
// of fewer than 25 lines is refused; the collection may then hold some captions of it, so
// callers read into a collection of their own and keep it only on success. Leaves the file
// name and the dirty flag alone. An observer, when given, is told what the reading meets.
ReadResult ReadCollectionFile(Collection& collection, const QString& path,
                              ReadObserver* observer = nullptr);
ReadResult ReadCollectionFile(Collection& collection, QIODevice& device, const QString& displayName,
                              ReadObserver* observer = nullptr);

// Writes the whole collection: 25 caption lines, one keyed line per name, the end mark,
// every line ending in CR LF. The file is written beside the target and replaces it only
// when complete, so a failure leaves the previous file as it was. Windows-1252 when every
// character fits, otherwise UTF-8 behind a byte-order mark.
WriteResult WriteCollectionFile(const Collection& collection, const QString& path);
// The same bytes, to a device that is open for writing.
WriteResult WriteCollectionFile(const Collection& collection, QIODevice& device,
                                const QString& displayName);

}  // namespace ludora
