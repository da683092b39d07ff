// The floor of any Qt Widgets start-up: an empty main window, shown, then closed.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include "StartupClock.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        ludora::bench::reportShown();
        window.close();
    });
    return QApplication::exec();
}
