#include "app/MainWindowHost.h"

#include <QPointer>

#include "app/frmMain.h"

namespace ludora {

namespace {

QPointer<frmMain>& instance() {
    static QPointer<frmMain> window;
    return window;
}

}  // namespace

frmMain* mainWindow() {
    frmMain* window = instance();
    // A closed window lingers until the event loop deletes it.
    return window && !window->isUnloaded() ? window : nullptr;
}

frmMain* showMainWindow() {
    frmMain* window = mainWindow();
    if (!window) {
        window = new frmMain;
        instance() = window;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace ludora
