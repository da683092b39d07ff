#pragma once

namespace ludora {

class frmMain;

// The program's one main window, or nullptr while there is none (once closed, it is gone,
// even while it lingers until the event loop deletes it).
frmMain* mainWindow();
// Shows and activates the main window, creating it afresh, with an empty collection, when
// it has been closed.
frmMain* showMainWindow();

}  // namespace ludora
