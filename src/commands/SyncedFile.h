#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

namespace ludora {

class Collection;

// One collection on two machines, its file in a folder that a service (Syncthing, Nextcloud,
// Dropbox) keeps in step: such services never merge a file, they let the last save win and
// leave the other as a conflict copy beside it. Ludora merges instead of overwriting.

// Remembers what the current file held when the collection was read from it or written to
// it: the collection's content, and (on a worker) a fingerprint of the file's bytes, taken
// from `held` (holdFile(): opened just before the file was read, or just after it was
// written). Forgets when `held` is null.
void rememberFile(Collection& collection, std::shared_ptr<QFile> held);

// What a save into the current file without a dialog (Close's Yes) does first.
enum class BeforeSave { Write, Merged, Cancelled, Failed };
// When another program changed the current file since Ludora last read or wrote it, asks
// whether to merge its games into the collection. Yes merges (three ways: Ludora knows what
// both sides started from), leaves the collection unsaved and answers Merged: nothing is to
// be written yet. No answers Write, as does a file nobody changed; Cancel, Cancelled. A file
// that cannot be read for the merge is told: Failed.
BeforeSave checkBeforeSave(Collection& collection, QWidget* window);

// The copies of a collection file that a synchronisation service left beside it, in the
// order of their names: Syncthing's NAME.sync-conflict-*.LDX, Dropbox's
// NAME (... conflicted copy ...).LDX, Nextcloud's NAME (conflicted copy ...).LDX, the
// extension in any letter case.
QStringList conflictCopies(const QString& path);

// Once a collection file is open: offers to merge each conflict copy beside it (two ways),
// leaving the collection unsaved. The copies themselves are only read.
void offerConflictCopies(Collection& collection, QWidget* window);

}  // namespace ludora
