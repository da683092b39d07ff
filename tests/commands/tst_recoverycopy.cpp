// The recovery copy: what it holds, when it goes, which copy the next start offers, and a
// folder that cannot be written.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "CommandFixture.h"
#include "collection/Collection.h"
#include "collection/RecoveryFile.h"
#include "commands/FileCommands.h"
#include "commands/RecoveryCopy.h"
#include "support/FakeDialogs.h"

using ludora::Collection;
using ludora::RecoveryCopy;
using ludora::platform::Button;
using namespace ludora::test;

namespace {

enum class After { Waiting, SessionEnd, SavedIntoItsFile };

// This program's copies in the folder.
QStringList ownCopies() {
    return QDir(RecoveryCopy::folder())
        .entryList({QStringLiteral("Ludora-%1-*.LDX").arg(QCoreApplication::applicationPid())},
                   QDir::Files);
}

// The copy as the next start reads it: the file name, then the names of TG16.
QStringList copyHolds(const QString& file) {
    Collection read;
    if (!ludora::ReadRecoveryFile(read, QDir(RecoveryCopy::folder()).filePath(file)).ok) {
        return {QStringLiteral("<unreadable>")};
    }
    return QStringList{read.fileName()} + namesOf(read, 2);
}

}  // namespace

Q_DECLARE_METATYPE(After)

class TestRecoveryCopy : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    QWidget window_;

    QString path(const QString& name) const { return home_.filePath(name); }

    // A copy that a Ludora which has ended left, with the time of its last change.
    static void leaveCopy(const QString& name, const QString& fileName, const QDateTime& time) {
        Collection left;
        left.addName(2, QStringLiteral("Left behind"));
        left.setFileName(fileName);
        const QString copy = QDir(RecoveryCopy::folder()).filePath(name);
        QVERIFY(ludora::WriteRecoveryFile(left, copy).ok);
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(home_.path()));
        window_.show();
        window_.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window_));
    }

    void init() {
        QDir(RecoveryCopy::folder()).removeRecursively();
        QVERIFY(QDir().mkpath(RecoveryCopy::folder()));
    }

    // A change is in the copy within its delay, or at once when the session ends; a save
    // into the current file removes it. The next start offers the newest copy left, file
    // name and names as they were.
    void copyFollowsTheChanges_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<After>("after");
        QTest::addColumn<bool>("copyLeft");
        QTest::newRow("a new collection") << QString() << After::Waiting << true;
        QTest::newRow("letters beyond ASCII in the file name")
            << QStringLiteral(u"Spiele/Pokémon ゼルダ.LDX") << After::Waiting << true;
        QTest::newRow("the session ends")
            << QStringLiteral("games.LDX") << After::SessionEnd << true;
        QTest::newRow("saved into its file")
            << QStringLiteral("games.LDX") << After::SavedIntoItsFile << false;
    }

    void copyFollowsTheChanges() {
        QFETCH(QString, fileName);
        QFETCH(After, after);
        QFETCH(bool, copyLeft);
        const QString file = fileName.isEmpty() ? QString() : path(fileName);
        leaveCopy(QStringLiteral("Ludora-1-1.LDX"), path("older.LDX"),
                  QDateTime::currentDateTime().addDays(-1));
        FakeDialogs dialogs;
        Collection c;
        c.setFileName(file);
        auto keeper = std::make_unique<RecoveryCopy>(c, &window_);
        keeper->setDelay(RecoveryCopy::kDelay / 10);
        c.addName(2, QStringLiteral("Bonk's Adventure"));
        c.setDirty(true);
        const QStringList holds{file, QStringLiteral("Bonk's Adventure")};
        if (after == After::SessionEnd) {
            keeper->writeNow();  // no event is handled before the session ends
        } else {
            QTRY_COMPARE(ownCopies().size(), 1);
            QTRY_COMPARE(copyHolds(ownCopies().constFirst()), holds);
        }
        if (after == After::SavedIntoItsFile) {
            QDir().mkpath(QFileInfo(file).path());
            dialogs.answerNext(Button::Yes);
            QCOMPARE(ludora::closeCollection(c, &window_), ludora::Outcome::Done);
            QTRY_COMPARE(ownCopies(), QStringList());
        } else {
            QCOMPARE(copyHolds(ownCopies().value(0)), holds);
            // Killed now: its copy stays, newer than the one left before.
            QVERIFY(QFile::copy(QDir(RecoveryCopy::folder()).filePath(ownCopies().constFirst()),
                                QDir(RecoveryCopy::folder()).filePath("Ludora-2-2.LDX")));
        }
        keeper.reset();
        QCOMPARE(ownCopies(), QStringList());  // an orderly end takes the copy along

        // The next start: the newest copy of an ended Ludora comes back, still unsaved.
        Collection next;
        RecoveryCopy nextKeeper(next, &window_);
        dialogs.clear();
        dialogs.answerNext(Button::Yes);
        nextKeeper.offerLeftCopy();
        QCOMPARE(dialogs.count(), 1);
        const QString expected = copyLeft ? (file.isEmpty() ? QStringLiteral("a new collection")
                                                            : QDir::toNativeSeparators(file))
                                          : QDir::toNativeSeparators(path("older.LDX"));
        QVERIFY2(dialogs.shown().at(0).message.prompt.contains(expected),
                 qPrintable(dialogs.shown().at(0).message.prompt));
        const QStringList older{path("older.LDX"), QStringLiteral("Left behind")};
        QCOMPARE(QStringList{next.fileName()} + namesOf(next, 2), copyLeft ? holds : older);
        QVERIFY(next.isDirty());
        next.setDirty(false);
    }

    // A folder that cannot be written: the user is told once, with the system's reason, when
    // nothing else is open; each change tries again, and the copy is back once it can be.
    void failedWriteIsToldOnceAndTriedAgain() {
        FakeDialogs dialogs;
        QVERIFY(QDir(RecoveryCopy::folder()).removeRecursively());
        QVERIFY(writeBytes(RecoveryCopy::folder(), "a file where the folder should be"));
        Collection c;
        RecoveryCopy keeper(c, &window_);
        keeper.setDelay(RecoveryCopy::kDelay / 10);

        // While a dialog is open, the notice waits: the keys typed there stay there.
        QDialog modal(&window_);
        modal.setModal(true);
        modal.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &modal);
        c.addName(2, QStringLiteral("First"));
        c.setDirty(true);
        QTest::qWait(RecoveryCopy::kDelay);
        QCOMPARE(dialogs.count(), 0);
        modal.close();
        window_.activateWindow();
        QTRY_COMPARE(dialogs.count(), 1);
        QVERIFY2(dialogs.shown().at(0).message.prompt.contains(QStringLiteral("Not a directory")),
                 qPrintable(dialogs.shown().at(0).message.prompt));

        // Once space is there, the next change brings the copy back, without a word.
        QVERIFY(QFile::remove(RecoveryCopy::folder()));
        c.addName(2, QStringLiteral("Second"));
        QTRY_COMPARE(ownCopies().size(), 1);
        QTRY_COMPARE(copyHolds(ownCopies().constFirst()),
                     (QStringList{QString(), QStringLiteral("First"), QStringLiteral("Second")}));

        // Failing again is not told again in this run. (The lock file went with the folder.)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Could not remove our own lock"));
        QVERIFY(QDir(RecoveryCopy::folder()).removeRecursively());
        QVERIFY(writeBytes(RecoveryCopy::folder(), "in the way again"));
        c.addName(2, QStringLiteral("Third"));
        QTest::qWait(RecoveryCopy::kDelay);
        QCOMPARE(dialogs.count(), 1);
        c.setDirty(false);
    }
};

QTEST_MAIN(TestRecoveryCopy)
#include "tst_recoverycopy.moc"
