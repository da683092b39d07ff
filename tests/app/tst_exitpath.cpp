// Closing the main window, the toolbar's keyed buttons, Help Contents, and the one main
// window that can be shown again after it closed.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "MainWindowTest.h"
#include "app/HelpContents.h"
#include "fixtures/TestData.h"
#include "printing/frmPrint.h"
#include "support/FakeDialogs.h"
#include "support/FakeLauncher.h"
#include "support/ModalBoxes.h"

using namespace ludora;
using namespace ludora::test;

Q_DECLARE_METATYPE(platform::Button)

namespace {

// The real message boxes and dialogs for a while, in place of the test's answers.
struct RealDialogs {
    RealDialogs() { platform::Replaceable<platform::Dialogs>::replace(nullptr); }
    ~RealDialogs() { platform::Replaceable<platform::Dialogs>::replace(&installed); }
    platform::Dialogs& installed = platform::dialogs();
};

// Counts the runs of the commands behind the menu entries.
struct CommandSpies {
    explicit CommandSpies(QObject* window) {
        for (const char* name : {"mnuFileOpen", "mnuFileClose", "mnuFileSaveAs", "mnuFilePrint",
                                 "mnuFileExit", "mnuHelpContents", "mnuHelpAbout"}) {
            spies.emplace_back(
                QString::fromLatin1(name),
                std::make_unique<QSignalSpy>(menuEntry(window, name), &QAction::triggered));
        }
    }
    // The entries that ran, with how often: "mnuFileSaveAs:1".
    QStringList ran() const {
        QStringList result;
        for (const auto& [name, spy] : spies) {
            if (spy->count() > 0) {
                result << QStringLiteral("%1:%2").arg(name).arg(spy->count());
            }
        }
        return result;
    }
    std::vector<std::pair<QString, std::unique_ptr<QSignalSpy>>> spies;
};

}  // namespace

class TestExitPath : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        dialogs_.clear();
        window_ = openMainWindow();
    }
    void cleanup() {
        // The toolbar's Print opens the print dialog; closing it shows a main window, which
        // goes below with the others.
        if (frmPrint* print = frmPrint::openWindow()) {
            print->close();
        }
        discardMainWindow(window_);
        if (frmMain* host = frmMain::openWindow()) {
            discardMainWindow(host);
        }
    }

    void closingAsksOnlyWhenDirty_data() {
        QTest::addColumn<bool>("addName");
        QTest::addColumn<bool>("byExit");
        QTest::addColumn<platform::Button>("answer");
        QTest::addColumn<QStringList>("ran");
        const QStringList exitRan{"mnuFileExit:1"};
        QTest::newRow("clean, close box")
            << false << false << platform::Button::Ok << QStringList{};
        QTest::newRow("clean, exit") << false << true << platform::Button::Ok << exitRan;
        QTest::newRow("dirty, no") << true << false << platform::Button::No << QStringList{};
        QTest::newRow("dirty, exit, no") << true << true << platform::Button::No << exitRan;
        QTest::newRow("dirty, yes") << true << false << platform::Button::Yes << QStringList{};
        QTest::newRow("dirty, exit, yes") << true << true << platform::Button::Yes << exitRan;
    }
    void closingAsksOnlyWhenDirty() {
        QFETCH(bool, addName);
        QFETCH(bool, byExit);
        QFETCH(platform::Button, answer);
        QFETCH(QStringList, ran);
        if (addName) {
            control<QLineEdit>(window_, "Text1")->setText(QStringLiteral("Bonk"));
            control<QPushButton>(window_, "Command1")->click();
            QVERIFY(window_->collection().isDirty());
            dialogs_.answerNext(answer);
            // Save As asks for a path; cancelling it still closes the window.
            dialogs_.cancelNextFile();
        }
        CommandSpies spies(window_);
        if (byExit) {
            menuEntry(window_, "mnuFileExit")->trigger();
        } else {
            QVERIFY(window_->close());
        }
        QVERIFY(!window_->isVisible());
        QTRY_VERIFY(window_.isNull());

        const QList<FakeDialogs::Shown> messages = dialogs_.messages();
        QCOMPARE(messages.size(), addName ? 1 : 0);
        if (addName) {
            const platform::MessageRequest& question = messages[0].message;
            QCOMPARE(question.prompt, QStringLiteral("Save changes?"));
            QCOMPARE(question.title, QStringLiteral("Exit Ludora"));
            QCOMPARE(question.buttons, platform::ButtonSet::YesNo);
            QCOMPARE(question.icon, platform::Icon::None);
        }
        // Yes runs Save As, whose dialog was cancelled.
        QCOMPARE(dialogs_.shown().size() - messages.size(),
                 qsizetype(answer == platform::Button::Yes ? 1 : 0));
        QCOMPARE(spies.ran(), ran);
    }

    void yesSavesBeforeTheWindowCloses_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("closes");
        QTest::newRow("saved") << "games.LDX" << true;
        // The window stays open with every name, the file name and the unsaved mark.
        QTest::newRow("missing folder") << "missing/games.LDX" << false;
        QTest::newRow("a folder in the way") << "folder" << false;
    }
    void yesSavesBeforeTheWindowCloses() {
        QFETCH(QString, target);
        QFETCH(bool, closes);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString path = dir.filePath(target);
        Collection& c = window_->collection();
        c.setFileName(dir.filePath(QStringLiteral("earlier.LDX")));
        control<QLineEdit>(window_, "Text1")->setText(QStringLiteral("Bonk's Revenge"));
        control<QPushButton>(window_, "Command1")->click();
        dialogs_.answerNext(platform::Button::Yes);
        dialogs_.chooseNextFile(path);
        QCOMPARE(window_->close(), closes);
        QVERIFY(dialogs_.allAnswersUsed());
        if (closes) {
            QTRY_VERIFY(window_.isNull());
            QFile saved(path);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QVERIFY(saved.readAll().contains("Bonk's Revenge"));
            return;
        }
        QCOMPARE(dialogs_.messages().size(), 2);  // the question, then the failure
        QVERIFY(window_->isVisible());
        QCOMPARE(namesOf(c, 2), QStringList{"Bonk's Revenge"});
        QCOMPARE(c.fileName(), dir.filePath(QStringLiteral("earlier.LDX")));
        QVERIFY(c.isDirty());
        // Closing again asks again.
        dialogs_.answerNext(platform::Button::No);
        QVERIFY(window_->close());
        QCOMPARE(dialogs_.messages().size(), 3);
    }

    // A close request that arrives while File > Close asks its question (assistive
    // technology ignores modality) is refused: the command waiting for the answer still
    // needs the window and its names.
    void closeWaitsForAnOpenBox() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Collection& c = window_->collection();
        c.setFileName(dir.filePath(QStringLiteral("games.LDX")));
        c.addName(2, QStringLiteral("Bonk"));
        c.setDirty(true);
        bool refused = false;
        whenModalBoxOpens([&](QWidget* box) {
            // Were the close taken, the exit question would open inside: answer it.
            QPointer<QTimer> exitQuestion = whenModalBoxOpens(
                [](QWidget* inner) {
                    qobject_cast<QMessageBox*>(inner)->button(QMessageBox::No)->click();
                },
                box);
            refused = !window_->close() && box->isVisible();
            delete exitQuestion.data();
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click();
        });
        {
            const RealDialogs real;
            menuEntry(window_, "mnuFileClose")->trigger();
        }
        QVERIFY(refused);
        QVERIFY(window_->isVisible());
        QCOMPARE(namesOf(c, 2), QStringList{"Bonk"});
        QVERIFY(c.isDirty());
    }

    void closingTwiceAsksOnce() {
        window_->collection().setDirty(true);
        dialogs_.answerNext(platform::Button::No);
        QVERIFY(window_->close());
        window_->close();
        QCOMPARE(dialogs_.messages().size(), 1);
        QTRY_VERIFY(window_.isNull());
    }

    void toolbarDispatchesOnTheExactKey_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("ran");
        QTest::newRow("Open") << "Open" << QStringList{"mnuFileOpen:1"};
        QTest::newRow("Save") << "Save" << QStringList{"mnuFileSaveAs:1"};
        QTest::newRow("Print") << "Print" << QStringList{"mnuFilePrint:1"};
        QTest::newRow("open") << "open" << QStringList{};
        QTest::newRow("SAVE") << "SAVE" << QStringList{};
        QTest::newRow("Print with blank") << "Print " << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("Exit") << "Exit" << QStringList{};
        QTest::newRow("SaveAs") << "SaveAs" << QStringList{};
    }
    void toolbarDispatchesOnTheExactKey() {
        QFETCH(QString, key);
        QFETCH(QStringList, ran);
        // Open and Save As ask for a file: cancelled.
        dialogs_.cancelNextFile();
        CommandSpies spies(window_);
        window_->tbToolBar_ButtonClick(key);
        QCOMPARE(spies.ran(), ran);
        QVERIFY(window_->isVisible());
    }

    void toolbarButtonsRunTheirCommands() {
        auto* bar = control<QToolBar>(window_, "tbToolBar");
        QStringList ran;
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            dialogs_.cancelNextFile();
            CommandSpies spies(window_);
            QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
            ran << spies.ran();
        }
        QCOMPARE(ran, (QStringList{"mnuFileOpen:1", "mnuFileSaveAs:1", "mnuFilePrint:1"}));
    }

    void helpContentsOpensTheHelpDocument_data() {
        QTest::addColumn<QList<int>>("existing");  // which candidates exist
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("opened");  // the candidate opened, or -1
        QTest::addColumn<bool>("message");
        QTest::newRow("beside the program") << QList<int>{0, 1} << true << 0 << false;
        QTest::newRow("installed") << QList<int>{1} << true << 1 << false;
        QTest::newRow("missing") << QList<int>{} << true << -1 << true;
        QTest::newRow("no viewer") << QList<int>{0} << false << 0 << true;
    }
    void helpContentsOpensTheHelpDocument() {
        QFETCH(QList<int>, existing);
        QFETCH(bool, opens);
        QFETCH(int, opened);
        QFETCH(bool, message);
        FakeLauncher launcher;
        launcher.openSucceeds = opens;
        const QStringList candidates = helpFileCandidates(QCoreApplication::applicationDirPath());
        QCOMPARE(candidates.size(), 2);
        QCOMPARE(QFileInfo(candidates[0]).fileName(), QStringLiteral("Ldhelp.html"));
        QCOMPARE(candidates[1], QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                "/../share/ludora/help/Ldhelp.html"));
        for (int i : existing) {
            launcher.existingFiles << candidates[i];
        }
        menuEntry(window_, "mnuHelpContents")->trigger();
        if (opened >= 0) {
            QCOMPARE(launcher.openedUrls, QList<QUrl>{QUrl::fromLocalFile(candidates[opened])});
        } else {
            QVERIFY(launcher.openedUrls.isEmpty());
        }
        QVERIFY(launcher.started.isEmpty());
        const QList<FakeDialogs::Shown> messages = dialogs_.messages();
        QCOMPARE(messages.size(), message ? 1 : 0);
        if (message) {
            QCOMPARE(messages[0].message.buttons, platform::ButtonSet::Ok);
            QVERIFY(messages[0].message.prompt.contains(QStringLiteral("Ldhelp.html")));
        }
    }

    void helpDocumentIsBuiltBesideTheProgram() {
        const QString buildDir = QStringLiteral(LUDORA_BUILD_DIR);
        QCOMPARE(findHelpFile(buildDir), QDir::cleanPath(buildDir + "/Ldhelp.html"));
        QFile help(buildDir + "/Ldhelp.html");
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QByteArray text = help.readAll();
        // The guide shipped in the source tree, whole.
        QFile source(QStringLiteral(LUDORA_SOURCE_DIR "/docs/help/Ldhelp.html"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(text, source.readAll());
        QVERIFY(text.contains("</html>"));
    }

    void showMainWindowKeepsOneWindow() {
        discardMainWindow(window_);
        QVERIFY(!frmMain::openWindow());
        QPointer<frmMain> first = frmMain::showWindow();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(frmMain::showWindow(), first.data());
        QCOMPARE(frmMain::openWindow(), first.data());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(
            std::count_if(windows.begin(), windows.end(),
                          [](QWidget* w) { return qobject_cast<frmMain*>(w) && w->isVisible(); }),
            1);
    }

    void showMainWindowCreatesAFreshWindowAfterClose() {
        discardMainWindow(window_);
        QPointer<frmMain> first = frmMain::showWindow();
        first->collection().addName(0, QStringLiteral("Kept nowhere"));
        first->collection().setAvailable(5, true);
        first->collection().setCaption(5, QStringLiteral("PSX"));
        QVERIFY(first->tabs()->setCurrentIndex(0));
        QVERIFY(first->close());
        // Asked at once, before the closed window is gone.
        QVERIFY(!frmMain::openWindow());
        QPointer<frmMain> second = frmMain::showWindow();
        QVERIFY(second != first);
        QVERIFY(second->isVisible());
        QCOMPARE(second->collection().count(0), 0);
        QCOMPARE(second->collection().currentTab(), 2);
        QCOMPARE(second->tabs()->currentIndex(), 2);
        QCOMPARE(second->tabs()->tabText(5), QStringLiteral("UserDef5"));
        QVERIFY(!second->tabs()->isTabEnabled(5));
        QVERIFY(!second->collection().isDirty());
        QTRY_VERIFY(first.isNull());
        QCOMPARE(frmMain::openWindow(), second.data());
        QVERIFY(dialogs_.shown().isEmpty());
    }

private:
    FakeDialogs dialogs_;
    QPointer<frmMain> window_;
};

QTEST_MAIN(TestExitPath)
#include "tst_exitpath.moc"
