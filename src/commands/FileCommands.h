#pragma once

class QWidget;

namespace ludora {

class Collection;

// The File menu's collection commands. Each works on the collection directly; its dialogs
// and message boxes belong to the given window. Failures are reported to the user in a
// message and leave nothing the user had lost.

// Save As: asks for a path, writes the collection there and clears the dirty flag.
// Returns true when the file was written.
bool mnuFileSaveAs_Click(Collection& collection, QWidget* window);
// Close: empties the lists of the current file, offering first to save unsaved changes into
// it. Does nothing while there is no current file.
void mnuFileClose_Click(Collection& collection, QWidget* window);
// Open: offers Close first when there are unsaved changes, then replaces the collection by
// a file's content.
void mnuFileOpen_Click(Collection& collection, QWidget* window);

}  // namespace ludora
