#pragma once

#include <QString>

#include "collection/CollectionFile.h"

namespace ludora {

class Collection;

// A recovery copy is a collection file (File > Open reads it as one) followed, after its end
// mark, by one line naming the file the collection belongs to, percent-encoded UTF-8, empty
// for a collection that has no file yet:
//   <collection file>
//   file:/home/me/games.LDX CR LF
// A copy exists only while its collection has unsaved changes, so it needs no mark for them.

// Writes the copy beside the path and puts it in place only when it is whole: a crash while
// writing leaves the previous copy as it was. Its data is on the disk when this returns.
WriteResult WriteRecoveryFile(const Collection& collection, const QString& path);

// Reads a copy into an empty collection: captions, names and the file name, marked unsaved.
// Anything that does not end in the line above is not a copy and is refused.
ReadResult ReadRecoveryFile(Collection& collection, const QString& path);

}  // namespace ludora
