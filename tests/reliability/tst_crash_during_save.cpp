#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <ctime>

#include "LargestCollection.h"
#include "ReliabilitySupport.h"
#include "collection/Collection.h"
#include "commands/CommandFixture.h"
#include "commands/FileCommands.h"
#include "support/FakeDialogs.h"

using ludora::Collection;
using namespace ludora::test;

namespace {

constexpr int kRuns = 50;

void sleepFor(qint64 microseconds) {
    timespec wait{time_t(microseconds / 1000000), long(microseconds % 1000000) * 1000};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

// The seed of the delays: a new one each run, or LUDORA_CRASH_SEED to repeat a run.
quint32 delaySeed() {
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("LUDORA_CRASH_SEED").toUInt(&ok);
    return ok ? seed : QRandomGenerator::system()->generate();
}

}  // namespace

// A save killed at any moment leaves the file on disk as it was or as it was going to be,
// never a mixture or a truncation, and whatever it leaves behind misleads no later save or
// open. Each save runs in a forked child that holds the largest collection and is killed
// with SIGKILL after a delay spread over the length of a whole save.
class TestCrashDuringSave : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString target_;
    Collection largest_;
    QByteArray oldBytes_;
    QByteArray newBytes_;

    struct Run {
        bool killed = false;  // false: the save ended by itself
        int exitCode = -1;
        qint64 elapsedUs = 0;
    };

    // Saves the largest collection over the target through Save As in a child, killed after
    // `killAfterUs` microseconds (never, when negative).
    Run saveInChild(qint64 killAfterUs) {
        Run run;
        QElapsedTimer clock;
        clock.start();
        const pid_t pid = fork();
        if (pid == 0) {
            FakeDialogs dialogs;
            dialogs.chooseNextFile(target_);
            _exit(ludora::mnuFileSaveAs_Click(largest_, nullptr) == ludora::Outcome::Done ? 0 : 1);
        }
        if (pid < 0) {
            return run;
        }
        if (killAfterUs >= 0) {
            sleepFor(killAfterUs);
            kill(pid, SIGKILL);
        }
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        run.elapsedUs = clock.nsecsElapsed() / 1000;
        run.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        target_ = dir_.filePath(QStringLiteral("games.LDX"));
        ludora::bench::LargestCollection::fill(largest_, 5);
        newBytes_ = collectionBytes(largest_);
        // The file that is there before: the same names under other captions, so that every
        // line from tab 3 on differs.
        for (int tab = Collection::kFirstUserTab; tab < Collection::kTabCount; ++tab) {
            largest_.setCaption(tab, QStringLiteral("Old %1").arg(tab));
        }
        oldBytes_ = collectionBytes(largest_);
        largest_.resetCaptions();
        QVERIFY(oldBytes_ != newBytes_);
    }

    void killedSaveLeavesOldOrNewFile() {
        // How long a whole save takes here, child and all.
        qint64 fullUs = 0;
        for (int i = 0; i < 2; ++i) {
            QVERIFY(writeBytes(target_, oldBytes_));
            const Run run = saveInChild(-1);
            QCOMPARE(run.exitCode, 0);
            QVERIFY(readBytes(target_) == newBytes_);
            fullUs = std::max(fullUs, run.elapsedUs);
        }
        const quint32 seed = delaySeed();
        qInfo("a whole save takes %lld ms; delays seeded with %u (LUDORA_CRASH_SEED)",
              fullUs / 1000, seed);
        QRandomGenerator rng(seed);

        int keptOld = 0;
        int tookNew = 0;
        QStringList leftovers;
        bool isOld = false;
        for (int i = 0; i < kRuns; ++i) {
            if (!isOld) {
                QVERIFY(writeBytes(target_, oldBytes_));
            }
            // One delay in each of kRuns equal slices of a quarter more than a whole save, so
            // that the last runs outlast it even when the machine is slower than measured.
            const qint64 delay = qint64((i + rng.generateDouble()) * 1.25 * double(fullUs) / kRuns);
            const Run run = saveInChild(delay);
            QVERIFY2(run.killed || run.exitCode == 0,
                     qPrintable(QStringLiteral("run %1: the save failed").arg(i)));

            const QByteArray bytes = readBytes(target_);
            isOld = bytes == oldBytes_;
            const bool isNew = bytes == newBytes_;
            QVERIFY2(isOld || isNew,
                     qPrintable(QStringLiteral("run %1, killed after %2 us: the file holds %3 "
                                               "bytes that are neither the old nor the new ones")
                                    .arg(i)
                                    .arg(delay)
                                    .arg(bytes.size())));
            keptOld += isOld ? 1 : 0;
            tookNew += isNew ? 1 : 0;
            for (const QString& entry : entriesBeside(target_)) {
                if (!leftovers.contains(entry)) {
                    leftovers << entry;
                }
            }
        }
        qInfo("%d saves killed before replacing the file, %d after; %lld files left beside it",
              keptOld, tookNew, qlonglong(leftovers.size()));
        // The kills fell both before and after the file was replaced.
        QVERIFY(keptOld > 0);
        QVERIFY(tookNew > 0);
    }

    // Files a killed save may leave beside the target, named as its temporary files are, do
    // not stop a later save into the same path, and opening the path reads the saved file.
    void leftoversConfuseNoLaterSaveOrOpen() {
        const QString stem = QFileInfo(target_).fileName();
        QVERIFY(writeBytes(dir_.filePath(stem + QStringLiteral(".Ab3xQz")),
                           newBytes_.left(newBytes_.size() / 2)));
        QVERIFY(writeBytes(dir_.filePath(stem + QStringLiteral(".k9Lm2P")), oldBytes_));
        QVERIFY(QDir(dir_.path()).mkdir(stem + QStringLiteral(".Zz0Zz0")));
        QVERIFY(writeBytes(target_, oldBytes_));
        const QStringList before = entriesBeside(target_);

        FakeDialogs dialogs;
        Collection saved;
        fillSample(saved);
        saved.setDirty(true);
        dialogs.chooseNextFile(target_);
        QCOMPARE(ludora::mnuFileSaveAs_Click(saved, nullptr), ludora::Outcome::Done);
        QCOMPARE(readBytes(target_), sampleFileBytes());
        QVERIFY(!saved.isDirty());

        Collection opened;
        opened.addName(1, QStringLiteral("Replaced by the file"));
        dialogs.chooseNextFile(target_);
        ludora::mnuFileOpen_Click(opened, nullptr);
        QCOMPARE(snapshot(opened), snapshot(saved));
        QCOMPARE(opened.fileName(), target_);

        // Close answered Yes writes into the same path as well.
        opened.addName(0, QStringLiteral("Beta"));
        opened.setDirty(true);
        dialogs.answerNext(ludora::platform::Button::Yes);
        ludora::mnuFileClose_Click(opened, nullptr);
        QVERIFY(!opened.isDirty());
        Collection reread;
        QVERIFY(ludora::ReadCollectionFile(reread, target_).ok);
        QCOMPARE(namesOf(reread, 0), (QStringList{"Alpha", "Beta"}));

        QCOMPARE(dialogs.messages().size(), 1);  // the question only: no failure
        QCOMPARE(entriesBeside(target_), before);
    }
};

QTEST_GUILESS_MAIN(TestCrashDuringSave)
#include "tst_crash_during_save.moc"
