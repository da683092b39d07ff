#pragma once

#include <QString>

class QWidget;

namespace ludora {

class Collection;

// The File menu's collection commands. Each works on the collection directly; its dialogs
// and message boxes belong to the given window. Failures are reported to the user in a
// message and leave nothing the user had lost.

// How a command ended: it did its work (or had none to do), the user cancelled it, a file
// could not be written or read, or it stopped so that the user sees what it did first (it
// merged another machine's changes into the collection instead of saving over them).
enum class Outcome { Done, Cancelled, Failed, Stopped };

// Save As: asks for a path, writes the collection there and clears the dirty flag.
Outcome saveCollectionAs(Collection& collection, QWidget* window);
// Close: empties the lists of the current file, offering first to save unsaved changes into
// it. Does nothing while there is no current file. Failed when the changes could not be
// saved: the names are then kept, still unsaved. Before saving, a file that another program
// changed meanwhile is offered for a merge (checkBeforeSave()): Stopped when it was merged.
Outcome closeCollection(Collection& collection, QWidget* window);
// Open: offers Close first when there are unsaved changes, then replaces the collection by
// the content of the file chosen in the Open dialog, and offers to merge the conflict copies
// a synchronisation service left beside it. A file of another collection program
// (Tellico, GCstar, a spreadsheet) or ldxtool's JSON or CSV is imported: its games become
// an unsaved collection with no file name, and a message says where they went.
Outcome openCollection(Collection& collection, QWidget* window);
// Open's steps with a given file in place of the dialog's answer: for a file given on the
// command line or dropped on the window. There is no dialog in which to back out, so unsaved
// changes go only on the user's word: Close's question comes first, also when the collection
// has no file yet (Yes then saves it with Save As), and Cancel, or a save that did not
// happen, leaves everything as it was. Other formats are imported as Open imports them.
Outcome openCollectionFile(Collection& collection, QWidget* window, const QString& path);

}  // namespace ludora
