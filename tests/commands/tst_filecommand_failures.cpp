#include <QDir>
#include <QTest>

#include "CommandFixture.h"
#include "collection/Collection.h"
#include "commands/FileCommands.h"
#include "fixtures/ChildProcess.h"
#include "support/FakeDialogs.h"

using ludora::Collection;
using ludora::platform::Button;
using ludora::test::FakeDialogs;
using namespace ludora::test;

// Failures met on real files. Tests run as root in CI, where permission bits stop nothing,
// so writes fail through a folder in the way, a missing folder or a file-size limit.
class TestFileCommandFailures : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    // A collection big enough that its file cannot be written under a small size limit.
    static void fillLarge(Collection& c) {
        fillSample(c);
        for (int i = 0; i < 3000; ++i) {
            c.addName(1, QStringLiteral("A rather long game name, number %1").arg(i));
        }
    }

    enum class Target { Folder, MissingFolder, SizeLimit };

    // Prepares the target of a failing save; returns the path to save to.
    QString prepare(Target target, const QByteArray& previous) {
        switch (target) {
            case Target::Folder: {
                const QString p = path(QStringLiteral("folder.LDX"));
                QDir().mkpath(p);
                return p;
            }
            case Target::MissingFolder:
                return path(QStringLiteral("missing/games.LDX"));
            case Target::SizeLimit: {
                const QString p = path(QStringLiteral("limited.LDX"));
                writeBytes(p, previous);
                return p;
            }
        }
        return QString();
    }

    static void verifyFailureMessage(const FakeDialogs& dialogs, const QString& target) {
        const auto messages = dialogs.messages();
        QCOMPARE(messages.size(), 1);
        const QString text = messages.at(0).message.prompt;
        QVERIFY2(text.contains(QDir::toNativeSeparators(target)), qPrintable(text));
        QCOMPARE(messages.at(0).message.buttons, ludora::platform::ButtonSet::Ok);
    }

    // Runs the check in a child with a file-size limit when the target needs one.
    static int run(Target target, const std::function<int()>& body) {
        return runInChild(target == Target::SizeLimit ? 4096 : -1, body);
    }

private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }

    void saveAsFailure_data() {
        QTest::addColumn<Target>("target");
        QTest::newRow("a folder stands at the path") << Target::Folder;
        QTest::newRow("missing folder") << Target::MissingFolder;
        QTest::newRow("file-size limit midway") << Target::SizeLimit;
    }

    void saveAsFailure() {
        QFETCH(Target, target);
        const QByteArray previous = "the previous collection file";
        const QString targetPath = prepare(target, previous);
        const QString current = path(QStringLiteral("current.LDX"));

        const int failures = run(target, [&] {
            FakeDialogs dialogs;
            Collection c;
            fillLarge(c);
            c.setFileName(current);
            c.setDirty(true);
            const QStringList before = snapshot(c);
            dialogs.chooseNextFile(targetPath);
            int failed = 0;
            failed += ludora::saveCollectionAs(c, nullptr) == ludora::Outcome::Failed ? 0 : 1;
            verifyFailureMessage(dialogs, targetPath);
            failed += QTest::currentTestFailed() ? 1 : 0;
            failed += c.fileName() == current ? 0 : 1;
            failed += c.isDirty() ? 0 : 1;
            failed += snapshot(c) == before ? 0 : 1;
            return failed;
        });
        QCOMPARE(failures, 0);
        if (target == Target::SizeLimit) {
            QCOMPARE(readBytes(targetPath), previous);
        } else if (target == Target::Folder) {
            QVERIFY(QFileInfo(targetPath).isDir());
        }
        // Nothing half-written is left beside the target.
        const QStringList left = QDir(dir_.path()).entryList(QDir::Files);
        QVERIFY2(left.isEmpty() || left == QStringList{QStringLiteral("limited.LDX")},
                 qPrintable(left.join(u',')));
    }

    void closeWriteFailureKeepsTheNames_data() {
        QTest::addColumn<Target>("target");
        QTest::addColumn<bool>("byOpen");  // Open runs Close first: it then stops at once
        for (const bool byOpen : {false, true}) {
            const char* command = byOpen ? "Open" : "Close";
            QTest::addRow("%s, a folder stands at the path", command) << Target::Folder << byOpen;
            QTest::addRow("%s, missing folder", command) << Target::MissingFolder << byOpen;
            QTest::addRow("%s, file-size limit midway", command) << Target::SizeLimit << byOpen;
        }
    }

    void closeWriteFailureKeepsTheNames() {
        QFETCH(Target, target);
        QFETCH(bool, byOpen);
        const QByteArray previous = "the previous collection file";
        const QString targetPath = prepare(target, previous);

        const int failures = run(target, [&] {
            FakeDialogs dialogs;
            Collection c;
            fillLarge(c);
            c.setFileName(targetPath);
            c.setDirty(true);
            const QStringList before = snapshot(c);
            dialogs.answerNext(Button::Yes);
            const ludora::Outcome outcome =
                byOpen ? ludora::openCollection(c, nullptr) : ludora::closeCollection(c, nullptr);
            int failed = outcome == ludora::Outcome::Failed ? 0 : 1;
            // The question, then the failure; no Open dialog.
            failed += dialogs.count() == 2 ? 0 : 1;
            failed +=
                dialogs.shown().last().message.prompt.contains(QDir::toNativeSeparators(targetPath))
                    ? 0
                    : 1;
            failed += snapshot(c) == before ? 0 : 1;
            failed += c.isDirty() ? 0 : 1;
            failed += c.fileName() == targetPath ? 0 : 1;
            return failed;
        });
        QCOMPARE(failures, 0);
        if (target == Target::SizeLimit) {
            QCOMPARE(readBytes(targetPath), previous);
        }
    }

    void openFailureKeepsTheCollection_data() {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("dirty");  // unsaved names without a file name: Close does nothing
        QByteArray tenLines;
        for (int i = 0; i < 10; ++i) {
            tenLines += "line " + QByteArray::number(i) + "\r\n";
        }
        QTest::newRow("missing file") << QByteArray() << QString() << false;
        QTest::newRow("ten lines") << tenLines << QStringLiteral("fewer than the 25") << false;
        QTest::newRow("empty file")
            << QByteArray("") << QStringLiteral("fewer than the 25") << false;
        QTest::newRow("missing file, unsaved names") << QByteArray() << QString() << true;
        QTest::newRow("folder") << QByteArray("folder") << QStringLiteral("Could not open") << true;
    }

    // A file that cannot be opened leaves the names, their captions and the unsaved mark as
    // they were: a later save keeps the captions, the exit still asks.
    void openFailureKeepsTheCollection() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QFETCH(bool, dirty);
        FakeDialogs dialogs;
        const QString file =
            path(content == "folder" ? QStringLiteral("a-folder.LDX") : QStringLiteral("bad.LDX"));
        if (content == "folder") {
            QVERIFY(QDir().mkpath(file));
        } else if (!content.isNull()) {
            QVERIFY(writeBytes(file, content));
        }
        Collection c;
        fillSample(c);
        const QString current = dirty ? QString() : path(QStringLiteral("current.LDX"));
        c.setFileName(current);
        c.setDirty(dirty);
        const QStringList before = snapshot(c);
        dialogs.chooseNextFile(file);

        QCOMPARE(ludora::openCollection(c, nullptr), ludora::Outcome::Failed);

        QCOMPARE(snapshot(c), before);
        QCOMPARE(c.fileName(), current);
        QCOMPARE(c.isDirty(), dirty);
        verifyFailureMessage(dialogs, file);
        QVERIFY(dialogs.messages().at(0).message.prompt.contains(reason));
    }
};

QTEST_GUILESS_MAIN(TestFileCommandFailures)
#include "tst_filecommand_failures.moc"
