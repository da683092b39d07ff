// The recovery copy: what it holds, when it goes, which copy the next start offers, and a
// folder that cannot be written.
#include <QApplication>
#include <QDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "CommandFixture.h"
#include "collection/RecoveryFile.h"
#include "commands/FileCommands.h"
#include "commands/RecoveryCopy.h"
#include "support/FakeDialogs.h"

using namespace ludora;
using namespace ludora::test;

namespace {

enum class After { Waiting, SessionEnd, SavedIntoItsFile };

QString inFolder(const QString& name) {
    return QDir(RecoveryCopy::folder()).filePath(name);
}

// This program's copies.
QStringList ownCopies() {
    const QString mine = QStringLiteral("Ludora-%1-*.LDX").arg(QCoreApplication::applicationPid());
    return QDir(RecoveryCopy::folder()).entryList({mine}, QDir::Files);
}

// What a copy gives back: the file name, then the names of TG16.
QStringList holds(const QString& copy) {
    Collection read;
    return ReadRecoveryFile(read, inFolder(copy)).ok
               ? QStringList{read.fileName()} + namesOf(read, 2)
               : QStringList{"<unreadable>"};
}

}  // namespace

Q_DECLARE_METATYPE(After)

class TestRecoveryCopy : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QWidget window_;

private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", QFile::encodeName(home_.path()));
        window_.show();
        window_.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window_));
    }
    void init() {
        QDir(RecoveryCopy::folder()).removeRecursively();
        QVERIFY(QDir().mkpath(RecoveryCopy::folder()));
    }

    // A change is in the copy within its delay, or at once when the session ends; a save into
    // the current file removes it. The next start offers the newest copy a Ludora left.
    void copyFollowsTheChanges_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<After>("after");
        QTest::newRow("a new collection") << QString() << After::Waiting;
        QTest::newRow("a file name beyond ASCII") << u"Pokémon ゼルダ.LDX"_qs << After::Waiting;
        QTest::newRow("the session ends") << "games.LDX" << After::SessionEnd;
        QTest::newRow("saved into its file") << "games.LDX" << After::SavedIntoItsFile;
    }
    void copyFollowsTheChanges() {
        QFETCH(QString, fileName);
        QFETCH(After, after);
        const QString file = fileName.isEmpty() ? QString() : home_.filePath(fileName);
        Collection older;  // left a day ago by a Ludora that ended
        older.addName(2, QStringLiteral("Older"));
        older.setFileName(home_.filePath("older.LDX"));
        QVERIFY(WriteRecoveryFile(older, inFolder("Ludora-1-1.LDX")).ok);
        QFile left(inFolder("Ludora-1-1.LDX"));
        QVERIFY(left.open(QIODevice::ReadWrite) &&
                left.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                 QFileDevice::FileModificationTime));
        FakeDialogs dialogs;
        Collection c;
        c.setFileName(file);
        auto keeper = std::make_unique<RecoveryCopy>(c, &window_);
        keeper->setDelay(RecoveryCopy::kDelay / 10);
        c.addName(2, QStringLiteral("Bonk"));
        c.setDirty(true);
        const QStringList expected{file, QStringLiteral("Bonk")};
        if (after == After::SessionEnd) {
            keeper->writeNow();  // no event is handled before the session ends
        } else {
            QTRY_COMPARE(holds(ownCopies().value(0)), expected);
        }
        if (after == After::SavedIntoItsFile) {
            dialogs.answerNext(platform::Button::Yes);
            QCOMPARE(closeCollection(c, &window_), Outcome::Done);
            QTRY_COMPARE(ownCopies(), QStringList());
        } else {  // killed now: the copy stays behind
            QCOMPARE(holds(ownCopies().value(0)), expected);
            QVERIFY(QFile::copy(inFolder(ownCopies().value(0)), inFolder("Ludora-2-2.LDX")));
        }
        keeper.reset();
        QCOMPARE(ownCopies(), QStringList());  // an orderly end takes the copy along

        Collection next;
        RecoveryCopy nextStart(next, &window_);
        dialogs.answerNext(platform::Button::Yes);
        nextStart.offerLeftCopy();
        QCOMPARE(QStringList{next.fileName()} + namesOf(next, 2),
                 after == After::SavedIntoItsFile ? holds("Ludora-1-1.LDX") : expected);
        QVERIFY(dialogs.allAnswersUsed() && next.isDirty());
        next.setDirty(false);
    }

    // A folder that cannot be written: told once, with the system's reason, when no dialog
    // is open; each change tries again, and the copy is back once it can be written.
    void failedWriteIsToldOnceAndTriedAgain() {
        FakeDialogs dialogs;
        const auto blockFolder = [] {
            QDir(RecoveryCopy::folder()).removeRecursively();
            return writeBytes(RecoveryCopy::folder(), "a file where the folder should be");
        };
        QVERIFY(blockFolder());
        Collection c;
        RecoveryCopy keeper(c, &window_);
        keeper.setDelay(RecoveryCopy::kDelay / 10);
        QDialog modal(&window_);  // the Save As dialog the user is typing into
        modal.setModal(true);
        modal.show();
        c.addName(2, QStringLiteral("First"));
        c.setDirty(true);
        QTest::qWait(RecoveryCopy::kDelay);
        QCOMPARE(dialogs.count(), 0);
        modal.close();
        window_.activateWindow();
        QTRY_COMPARE(dialogs.count(), 1);
        QVERIFY(dialogs.shown().at(0).message.prompt.contains(QStringLiteral("Not a directory")));

        QVERIFY(QFile::remove(RecoveryCopy::folder()));
        c.addName(2, QStringLiteral("Second"));
        QTRY_COMPARE(holds(ownCopies().value(0)), (QStringList{"", "First", "Second"}));

        QVERIFY(blockFolder());  // the lock file goes with the folder
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Could not remove our own lock"));
        c.addName(2, QStringLiteral("Third"));
        QTest::qWait(RecoveryCopy::kDelay);
        QCOMPARE(dialogs.count(), 1);
        c.setDirty(false);
    }
};

QTEST_MAIN(TestRecoveryCopy)
#include "tst_recoverycopy.moc"
