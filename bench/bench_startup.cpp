// Ludora's start-up, as a process: it starts as the program does, shows the main window, and
// exits as soon as the window has been shown. bench/run times whole runs of it; when it
// passes its clock reading at launch (LUDORA_BENCH_T0, CLOCK_MONOTONIC nanoseconds), the
// time from launch to the shown window is printed too.

#include <QApplication>
#include <QTimer>

#include "StartupClock.h"

#include "app/frmMain.h"
#include "commands/RecoveryCopy.h"
#include "identity/AppIdentity.h"
#include "identity/Artwork.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ludora::AppIdentity::titleText());
    QApplication::setWindowIcon(ludora::ludoraIcon());
    ludora::frmMain* window = ludora::frmMain::showWindow();
    // Runs once the events of the first show have been handled.
    QTimer::singleShot(0, window, [window] {
        // As the program does at start: here there is no copy to offer.
        window->recoveryCopy().offerLeftCopy();
        ludora::bench::reportShown();
        window->close();
    });
    return QApplication::exec();
}
