#include <QApplication>

#include "app/AppLook.h"
#include "app/MainWindowHost.h"
#include "platform/AppIdentity.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ludora::AppIdentity::titleText());
    QApplication::setApplicationVersion(ludora::AppIdentity::versionText());
    QApplication::setWindowIcon(ludora::ludoraIcon());
    // The program ends when its last window closes.
    ludora::showMainWindow();
    return QApplication::exec();
}
