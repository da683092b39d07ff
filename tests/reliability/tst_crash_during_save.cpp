#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>

#include "ReliabilitySupport.h"
#include "collection/Collection.h"
#include "commands/CommandFixture.h"
#include "commands/FileCommands.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/LargestCollection.h"
#include "support/FakeDialogs.h"

using ludora::Collection;
using namespace ludora::test;

namespace {

// Points evenly spread over the file, the first and the last byte among them.
constexpr int kKillPoints = 48;

}  // namespace

// A save killed at any byte of its write leaves the file on disk as it was, and a save that
// writes every byte leaves it as it was going to be: never a mixture or a truncation; and
// whatever a killed save leaves behind misleads no later save or open. Each save runs in a
// forked child that holds the largest collection and may not make a file longer than a
// given number of bytes: the write that would pass it ends the child (SIGXFSZ, whose
// default action kills), so every run stops at the same points of the file.
class TestCrashDuringSave : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString target_;
    Collection largest_;
    QByteArray oldBytes_;
    QByteArray newBytes_;
    bool targetIsOld_ = false;

    // Saves the largest collection over the target through Save As in a child whose files
    // may grow to `limit` bytes. Returns how the child ended (runInChild).
    int saveInChild(qint64 limit) {
        return runInChild(
            limit,
            [&] {
                FakeDialogs dialogs;
                dialogs.chooseNextFile(target_);
                const ludora::Outcome outcome = ludora::saveCollectionAs(largest_, nullptr);
                return outcome == ludora::Outcome::Done ? 0 : 1;
            },
            PastTheLimit::KillsChild);
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

    void killedSaveLeavesOldOrNewFile_data() {
        QTest::addColumn<qint64>("limit");
        const qint64 size = newBytes_.size();
        QList<qint64> limits{1, size - 1};
        for (int i = 0; i < kKillPoints; ++i) {
            limits << size * i / kKillPoints;
        }
        std::sort(limits.begin(), limits.end());
        limits.erase(std::unique(limits.begin(), limits.end()), limits.end());
        for (const qint64 limit : limits) {
            QTest::addRow("killed at byte %lld of %lld", limit, size) << limit;
        }
        // Last, so that the save meets whatever the killed ones left beside the file.
        QTest::addRow("every byte written") << size;
    }

    void killedSaveLeavesOldOrNewFile() {
        QFETCH(qint64, limit);
        if (!targetIsOld_) {
            QVERIFY(writeBytes(target_, oldBytes_));
        }
        const int status = saveInChild(limit);
        const QByteArray bytes = readBytes(target_);
        targetIsOld_ = bytes == oldBytes_;
        if (limit < newBytes_.size()) {
            QVERIFY2(status == 128 + SIGXFSZ,
                     qPrintable(QStringLiteral("the save was not killed by its write (status %1)")
                                    .arg(status)));
            QVERIFY2(targetIsOld_, qPrintable(QStringLiteral("the file holds %1 bytes that are "
                                                             "not the old ones")
                                                  .arg(bytes.size())));
        } else {
            QCOMPARE(status, 0);
            QVERIFY2(bytes == newBytes_,
                     qPrintable(QStringLiteral("the file holds %1 bytes that are not the new ones")
                                    .arg(bytes.size())));
        }
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
        QCOMPARE(ludora::saveCollectionAs(saved, nullptr), ludora::Outcome::Done);
        QCOMPARE(readBytes(target_), sampleFileBytes());
        QVERIFY(!saved.isDirty());

        Collection opened;
        opened.addName(1, QStringLiteral("Replaced by the file"));
        dialogs.chooseNextFile(target_);
        ludora::openCollection(opened, nullptr);
        QCOMPARE(snapshot(opened), snapshot(saved));
        QCOMPARE(opened.fileName(), target_);

        // Close answered Yes writes into the same path as well.
        opened.addName(0, QStringLiteral("Beta"));
        opened.setDirty(true);
        dialogs.answerNext(ludora::platform::Button::Yes);
        ludora::closeCollection(opened, nullptr);
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
