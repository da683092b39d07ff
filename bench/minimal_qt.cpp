// The floor of a Qt Widgets start-up: a main window, shown, then closed. "minimal_qt label"
// shows one line of text in it, and so pays the first font lookup as every program that
// shows text does; "minimal_qt" shows it empty.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include "StartupClock.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    if (QApplication::arguments().value(1) == QLatin1String("label")) {
        window.setCentralWidget(new QLabel(QStringLiteral("Total games in list:")));
    }
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        ludora::bench::reportShown();
        window.close();
    });
    return QApplication::exec();
}
