#include <QApplication>
#include <QTimer>
#include <csignal>

#include "app/CommandLine.h"
#include "app/VisibleFocusStyle.h"
#include "app/frmMain.h"
#include "commands/RecoveryCopy.h"
#include "identity/AppIdentity.h"
#include "identity/Artwork.h"

namespace {

void nameTheApplication() {
    QCoreApplication::setApplicationName(ludora::AppIdentity::titleText());
    QCoreApplication::setApplicationVersion(ludora::AppIdentity::versionText());
}

}  // namespace

// ludora [FILE]: starts with the main window and, when a collection file is given, opens it
// as File > Open would once its dialog had returned that path.
int main(int argc, char* argv[]) {
    // The help and the version need no display: they are answered before the window system
    // is asked for. Beside Qt's own options they are left to the full start below.
    if (ludora::asksForHelpOrVersion(argc, argv)) {
        QCoreApplication core(argc, argv);
        nameTheApplication();
        const ludora::CommandLine asked = ludora::parseCommandLine(QCoreApplication::arguments());
        if (asked.action == ludora::CommandLine::Action::ShowHelp ||
            asked.action == ludora::CommandLine::Action::ShowVersion) {
            return ludora::answerCommandLine(asked);
        }
    }

#ifdef SIGXFSZ
    // A write past the file-size limit fails with "File too large", which Ludora reports
    // with the names kept, instead of ending the program with every unsaved name.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // QApplication takes its own options (-platform, -style, ...) out of the arguments.
    QApplication app(argc, argv);
    nameTheApplication();
    const ludora::CommandLine commandLine = ludora::parseCommandLine(QCoreApplication::arguments());
    if (commandLine.action != ludora::CommandLine::Action::Start) {
        return ludora::answerCommandLine(commandLine);
    }
    QApplication::setWindowIcon(ludora::ludoraIcon());
    ludora::useVisibleFocusStyle();
    // The program ends when its last window closes.
    ludora::frmMain* window = ludora::frmMain::showWindow();
    // Once the event loop runs, so that the questions belong to a shown window: the changes a
    // Ludora that ended without saving left, then the file given.
    QTimer::singleShot(0, window, [window, file = commandLine.file] {
        window->recoveryCopy().offerLeftCopy();
        if (!file.isEmpty()) {
            window->openGivenFile(file);
        }
    });
    return QApplication::exec();
}
