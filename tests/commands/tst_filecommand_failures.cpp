#include <QDir>
#include <QTest>

#include "CommandFixture.h"
#include "collection/Collection.h"
#include "commands/FileCommands.h"
#include "support/ChildProcess.h"
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
            failed += ludora::mnuFileSaveAs_Click(c, nullptr) ? 1 : 0;
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

    void closeWriteFailureKeepsTheNames_data() { saveAsFailure_data(); }

    void closeWriteFailureKeepsTheNames() {
        QFETCH(Target, target);
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
            ludora::mnuFileClose_Click(c, nullptr);
            int failed = 0;
            // The question, then the failure.
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
        QByteArray tenLines;
        for (int i = 0; i < 10; ++i) {
            tenLines += "line " + QByteArray::number(i) + "\r\n";
        }
        QTest::newRow("missing file") << QByteArray() << QString();
        QTest::newRow("ten lines") << tenLines << QStringLiteral("fewer than the 25");
        QTest::newRow("empty file") << QByteArray("") << QStringLiteral("fewer than the 25");
    }

    void openFailureKeepsTheCollection() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        FakeDialogs dialogs;
        const QString file = path(QStringLiteral("bad.LDX"));
        if (!content.isNull()) {
            QVERIFY(writeBytes(file, content));
        }
        Collection c;
        fillSample(c);
        const QString current = path(QStringLiteral("current.LDX"));
        c.setFileName(current);
        dialogs.chooseNextFile(file);

        ludora::mnuFileOpen_Click(c, nullptr);

        // As the dialog left it: captions back to the defaults, the names kept.
        Collection expected;
        fillSample(expected);
        expected.resetCaptions();
        QCOMPARE(snapshot(c), snapshot(expected));
        QCOMPARE(c.fileName(), current);
        QVERIFY(!c.isDirty());
        verifyFailureMessage(dialogs, file);
        QVERIFY(dialogs.messages().at(0).message.prompt.contains(reason));
    }
};

QTEST_GUILESS_MAIN(TestFileCommandFailures)
#include "tst_filecommand_failures.moc"
