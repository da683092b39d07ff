#include "platform/widgets/SingleWindow.h"

namespace ludora::platform {

void bringToFront(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace ludora::platform
