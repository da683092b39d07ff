#include "commands/FileCommands.h"

#include "collection/Collection.h"

namespace ludora {

// Filled in by the file commands work.
bool mnuFileSaveAs_Click(Collection&, QWidget*) { return false; }
void mnuFileClose_Click(Collection&, QWidget*) {}
void mnuFileOpen_Click(Collection&, QWidget*) {}

}  // namespace ludora
