#include <QApplication>

#include "app/identity/Artwork.h"
#include "app/MainWindowHost.h"
#include "app/VisibleFocusStyle.h"
#include "app/identity/AppIdentity.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ludora::AppIdentity::titleText());
    QApplication::setApplicationVersion(ludora::AppIdentity::versionText());
    QApplication::setWindowIcon(ludora::ludoraIcon());
    ludora::useVisibleFocusStyle();
    // The program ends when its last window closes.
    ludora::showMainWindow();
    return QApplication::exec();
}
