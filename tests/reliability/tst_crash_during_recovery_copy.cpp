#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "ReliabilitySupport.h"
#include "collection/Collection.h"
#include "collection/RecoveryFile.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/LargestCollection.h"

using ludora::Collection;
using namespace ludora::test;

// A recovery copy killed at any byte of its writing leaves the previous copy whole, and
// that copy reads back as it was written: its captions, names and file name. Each write runs
// in a forked child that may not make a file longer than a given number of bytes: the write
// that would pass it ends the child (SIGXFSZ), as a kill at that point would.
class TestCrashDuringRecoveryCopy : public QObject {
    Q_OBJECT

private:
    static constexpr int kKillPoints = 50;
    QTemporaryDir dir_;
    QString copy_;
    Collection largest_;
    qint64 newSize_ = 0;

    // What a recovery copy gives back: the collection's bytes and the file name.
    static QByteArray recovered(const QString& path) {
        Collection read;
        const ludora::ReadResult result = ludora::ReadRecoveryFile(read, path);
        if (!result.ok || !read.isDirty()) {
            return "<not recovered: " + result.error.toUtf8() + '>';
        }
        return read.fileName().toUtf8() + '\n' + collectionBytes(read);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        copy_ = dir_.filePath(QStringLiteral("Ludora-1-2.LDX"));
        // Lists of a tenth of the largest size: the kill points fall on as many of the
        // copy's writes, in a tenth of the time.
        ludora::bench::LargestCollection::fill(largest_, 5, Collection::kMaxNames / 10);
        largest_.setFileName(QStringLiteral("/home/me/Neue Spiele\n%41.LDX"));
        QVERIFY(ludora::WriteRecoveryFile(largest_, copy_).ok);
        newSize_ = QFileInfo(copy_).size();
    }

    void killedWriteLeavesLastWholeCopy_data() {
        QTest::addColumn<qint64>("limit");
        for (int i = 0; i < kKillPoints; ++i) {
            const qint64 limit = std::max<qint64>(1, newSize_ * i / kKillPoints);
            QTest::addRow("killed at byte %lld of %lld", limit, newSize_) << limit;
        }
        QTest::addRow("every byte written") << newSize_;
    }

    void killedWriteLeavesLastWholeCopy() {
        QFETCH(qint64, limit);
        // The last whole copy: a smaller collection under another file name.
        Collection old;
        old.addName(2, QStringLiteral("Bonk's Adventure"));
        old.setCaption(5, QStringLiteral("Saturn"));
        old.setFileName(QString());
        old.setDirty(true);
        QVERIFY(ludora::WriteRecoveryFile(old, copy_).ok);
        const QByteArray before = recovered(copy_);

        const int status = runInChild(
            limit, [this] { return ludora::WriteRecoveryFile(largest_, copy_).ok ? 0 : 1; },
            PastTheLimit::KillsChild);
        if (limit < newSize_) {
            QCOMPARE(status, 128 + SIGXFSZ);  // killed by its write
            QCOMPARE(recovered(copy_), before);
        } else {
            QCOMPARE(status, 0);
            largest_.setDirty(true);
            QCOMPARE(recovered(copy_),
                     largest_.fileName().toUtf8() + '\n' + collectionBytes(largest_));
        }
    }
};

QTEST_GUILESS_MAIN(TestCrashDuringRecoveryCopy)
#include "tst_crash_during_recovery_copy.moc"
