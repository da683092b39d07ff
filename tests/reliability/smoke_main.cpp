// A short whole-program run for memory checkers (scripts/valgrind-smoke): the main window
// starts, a name is added, the collection is saved, opened and closed, another name is
// added and the window is closed through the exit path, which saves it. The file dialogs
// and message boxes are answered by the test doubles. Exits with the number of failed
// checks.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/frmMain.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "identity/AppIdentity.h"
#include "identity/Artwork.h"
#include "support/FakeDialogs.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    std::fprintf(stderr, "%s: %s\n", ok ? "ok" : "FAILED", what);
    failures += ok ? 0 : 1;
}

void trigger(ludora::frmMain* window, const char* action) {
    if (auto* entry = window->findChild<QAction*>(QString::fromLatin1(action))) {
        entry->trigger();
    } else {
        check(false, action);
    }
}

void addName(ludora::frmMain* window, const QString& name) {
    auto* text = window->findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* add = window->findChild<QPushButton*>(QStringLiteral("Command1"));
    if (!text || !add) {
        check(false, "Text1 and Command1 exist");
        return;
    }
    text->setText(name);
    add->click();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ludora::AppIdentity::titleText());
    QApplication::setWindowIcon(ludora::ludoraIcon());
    ludora::test::FakeDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("smoke.LDX"));

    QTimer::singleShot(0, [&] {
        ludora::frmMain* window = ludora::frmMain::showWindow();
        ludora::Collection& c = window->collection();
        const int tab = c.currentTab();

        addName(window, QStringLiteral("Smoke Test"));
        check(c.count(tab) == 1 && c.isDirty(), "a name is added");

        dialogs.chooseNextFile(file);
        trigger(window, "mnuFileSaveAs");
        check(!c.isDirty() && c.fileName() == file, "Save As writes the file");

        dialogs.chooseNextFile(file);
        trigger(window, "mnuFileOpen");
        check(c.count(tab) == 1 && c.nameAt(tab, 0) == QLatin1String("Smoke Test"),
              "Open reads it back");

        trigger(window, "mnuFileClose");
        check(c.count(tab) == 0, "Close empties the lists");

        addName(window, QStringLiteral("Second"));
        dialogs.answerNext(ludora::platform::Button::Yes);  // "Save changes?"
        dialogs.chooseNextFile(file);
        trigger(window, "mnuFileExit");
    });
    const int code = QApplication::exec();
    check(code == 0, "the event loop ends normally");
    // The closed window deletes itself; let that happen here, under the memory checker.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    check(ludora::frmMain::openWindow() == nullptr && QApplication::topLevelWidgets().isEmpty(),
          "the window is gone");
    check(dialogs.allAnswersUsed(), "every dialog was shown");
    check(dialogs.messages().size() == 1, "one question and no failure message");

    ludora::Collection saved;
    const ludora::ReadResult read = ludora::ReadCollectionFile(saved, file);
    check(read.ok && saved.count(ludora::Collection::kInitialTab) == 1 &&
              saved.nameAt(ludora::Collection::kInitialTab, 0) == QLatin1String("Second"),
          "the exit path saved the second name");
    return failures;
}
