#include "app/MainWindowHost.h"

#include "app/frmMain.h"
#include "platform/SingleWindow.h"

namespace ludora {

namespace {

platform::SingleWindow<frmMain>& theWindow() {
    static platform::SingleWindow<frmMain> window;
    return window;
}

}  // namespace

frmMain* mainWindow() {
    return theWindow().open();
}

frmMain* showMainWindow() {
    return theWindow().show([] { return new frmMain; });
}

}  // namespace ludora
