// Files and text dropped on the main window.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "MainWindowTest.h"
#include "collection/CollectionFile.h"
#include "fixtures/TestData.h"
#include "interchange/Interchange.h"
#include "support/FakeDialogs.h"

using namespace ludora;
using namespace ludora::test;

class TestFileDrop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const QString data = QStringLiteral(LUDORA_TEST_DATA_DIR "/");
        QVERIFY(QFile::copy(data + "example.LDX", path("games.LDX")));
        QVERIFY(QFile::copy(data + "example.LDX", path("games.ldx")));
        QVERIFY(QFile::copy(data + "example.LDX", path("games.txt")));
        QVERIFY(QFile::copy(data + "short-24-lines.LDX", path("short.LDX")));
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder.LDX")));
        Collection exported;
        exported.addName(2, QStringLiteral("Bonk's Adventure"));
        QFile json(path("own.json"));
        QVERIFY(json.open(QIODevice::WriteOnly));
        json.write(interchange::exportCollection(exported, interchange::Format::Json));
        QFile other(path("other.json"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("[1, 2]");
    }

    void drop_data() {
        QTest::addColumn<QString>("target");    // object name
        QTest::addColumn<QStringList>("urls");  // a file name alone lies in the test's folder
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("actions");
        QTest::addColumn<bool>("unsaved");  // names not yet saved to a current file
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("opened");        // empty: the collection stays
        QTest::addColumn<QStringList>("messages");  // a part of each box's text, in order
        QTest::addColumn<QString>("nameBox");       // Text1 afterwards

        const int copyOrMove = int(Qt::CopyAction | Qt::MoveAction);
        const QStringList none;
        QTest::newRow("collection file")
            << "frmMain" << QStringList{"games.LDX"} << QString() << copyOrMove << false << true
            << "games.LDX" << none << QString();
        QTest::newRow("small letters, linked")
            << "frmMain" << QStringList{"games.ldx"} << QString() << int(Qt::LinkAction) << false
            << true << "games.ldx" << none << QString();
        QTest::newRow("unsaved changes: Save changes? first")
            << "frmMain" << QStringList{"games.LDX"} << QString() << copyOrMove << true << true
            << "games.LDX" << QStringList{"Save changes?"} << QString();
        QTest::newRow("not a collection: Open's message")
            << "frmMain" << QStringList{"short.LDX"} << QString() << copyOrMove << false << true
            << QString() << QStringList{path("short.LDX")} << QString();
        // Imported as a new, unsaved collection: no file name, and a summary.
        QTest::newRow("ldxtool's JSON")
            << "frmMain" << QStringList{"own.json"} << QString() << copyOrMove << false << true
            << QString() << QStringList{"1 game read"} << QString();
        QTest::newRow("JSON that is no collection: refused, by its name")
            << "frmMain" << QStringList{"other.json"} << QString() << copyOrMove << false << true
            << QString() << QStringList{"line 1: the header must name a title column"} << QString();
        QTest::newRow("collection file over the name box")
            << "Text1" << QStringList{"games.LDX"} << path("games.LDX") << copyOrMove << false
            << true << "games.LDX" << none << QString();
        QTest::newRow("only to be moved")
            << "frmMain" << QStringList{"games.LDX"} << QString() << int(Qt::MoveAction) << false
            << false << QString() << none << QString();
        QTest::newRow("two files")
            << "frmMain" << QStringList{"games.LDX", "games.ldx"} << QString() << copyOrMove
            << false << false << QString() << none << QString();
        QTest::newRow("other file")
            << "frmMain" << QStringList{"games.txt"} << QString() << copyOrMove << false << false
            << QString() << none << QString();
        QTest::newRow("folder") << "frmMain" << QStringList{"folder.LDX"} << QString() << copyOrMove
                                << false << false << QString() << none << QString();
        QTest::newRow("remote file")
            << "frmMain" << QStringList{"https://example.org/games.LDX"} << QString() << copyOrMove
            << false << false << QString() << none << QString();
        QTest::newRow("text") << "frmMain" << QStringList() << QStringLiteral("Bonk") << copyOrMove
                              << false << false << QString() << none << QString();
        QTest::newRow("text over the name box")
            << "Text1" << QStringList() << QStringLiteral("Bonk") << copyOrMove << false << true
            << QString() << none << QStringLiteral("Bonk");
    }

    void drop() {
        QFETCH(QString, target);
        QFETCH(QStringList, urls);
        QFETCH(QString, text);
        QFETCH(int, actions);
        QFETCH(bool, unsaved);
        QFETCH(bool, accepted);
        QFETCH(QString, opened);
        QFETCH(QStringList, messages);
        QFETCH(QString, nameBox);

        FakeDialogs dialogs;
        frmMain* window = openMainWindow();
        const auto discard = qScopeGuard([window] { discardMainWindow(window); });
        Collection& collection = window->collection();
        if (unsaved) {
            collection.setFileName(path("current.LDX"));
            collection.addName(0, QStringLiteral("Unsaved"));
            collection.setDirty(true);
            dialogs.answerNext(platform::Button::No);
        }
        const QString fileBefore = collection.fileName();

        QMimeData data;
        QList<QUrl> dragged;
        for (const QString& url : urls) {
            dragged << (url.contains(QLatin1Char(':')) ? QUrl(url)
                                                       : QUrl::fromLocalFile(path(url)));
        }
        data.setUrls(dragged);
        if (!text.isEmpty()) {
            data.setText(text);
        }
        QWidget* widget =
            target == window->objectName() ? window : control<QWidget>(window, qPrintable(target));
        QVERIFY(widget);
        const QPoint at = widget->rect().center();
        const auto possible = Qt::DropActions(actions);

        QDragEnterEvent enter(at, possible, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QDragMoveEvent move(at, possible, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
        QCOMPARE(move.isAccepted(), accepted);
        QDropEvent drop(at, possible, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &drop);
        QCOMPARE(drop.isAccepted(), accepted);
        if (accepted && !urls.isEmpty()) {
            QVERIFY(drop.dropAction() != Qt::MoveAction);  // the file manager keeps its file
        }
        // Nothing opens inside the drop: the file manager's drag is over first.
        QCOMPARE(dialogs.count(), 0);
        QCOMPARE(collection.fileName(), fileBefore);

        QCoreApplication::sendPostedEvents();
        QCOMPARE(dialogs.count(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            QVERIFY2(dialogs.shown().at(i).message.prompt.contains(messages.at(i)),
                     qPrintable(dialogs.shown().at(i).message.prompt));
        }
        QCOMPARE(collection.fileName(), opened.isEmpty() ? fileBefore : path(opened));
        QCOMPARE(namesOf(collection, 0), opened.isEmpty()
                                             ? (unsaved ? QStringList{"Unsaved"} : QStringList())
                                             : QStringList({"Alpha", "Beta"}));
        QCOMPARE(control<QLineEdit>(window, "Text1")->text(), nameBox);
    }

    // The lists are emptied before a file is read into them: a long list opened after the
    // user went to the end of another shows from its first name.
    void anOpenedListShowsFromItsFirstName() {
        FakeDialogs dialogs;
        frmMain* window = openMainWindow();
        const auto discard = qScopeGuard([window] { discardMainWindow(window); });
        Collection& collection = window->collection();
        QStringList names;
        for (int i = 0; i < 2000; ++i) {
            names << QStringLiteral("Game %1").arg(i, 4, 10, QLatin1Char('0'));
        }
        fillList(collection, 2, names);
        QVERIFY(WriteCollectionFile(collection, path("long.LDX")).ok);
        QAbstractItemView* list = window->list(2);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        QVERIFY(list->indexAt(QPoint(2, 2)).row() > 1900);

        window->openGivenFile(path("long.LDX"));
        QCoreApplication::processEvents();
        QCOMPARE(list->indexAt(QPoint(2, 2)).row(), 0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex().row(), 1);
    }

private:
    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
};

QTEST_MAIN(TestFileDrop)
#include "tst_filedrop.moc"
