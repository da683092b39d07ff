#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#include "CollectionTestSupport.h"
#include "collection/CollectionFile.h"
#include "collection/NameStore.h"
#include "fixtures/ChildProcess.h"

using ludora::Collection;
using ludora::ReadResult;
using ludora::WriteResult;
using namespace ludora::test;

namespace {

// Every list filled with `perList` names of about 30 characters.
void fillBig(Collection& collection, int perList) {
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        ludora::NameStore batch;
        for (int i = 0; i < perList; ++i) {
            batch.append(QStringLiteral("Game number %1 of list %2 \u00e9").arg(i).arg(tab));
        }
        collection.addNames(tab, std::move(batch));
    }
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes the collection in a child process whose files may not grow past `limit` bytes.
// Returns 0 when it was written, 1 when it failed with a message that names the file and the
// system's reason (told on standard error when it does not), anything else otherwise.
int writeUnderSizeLimit(const Collection& collection, const QString& path, qint64 limit) {
    return runInChild(limit, [&] {
        const WriteResult result = ludora::WriteCollectionFile(collection, path);
        const bool told = result.error.contains(QDir::toNativeSeparators(path)) &&
                          result.error.contains(systemReason(EFBIG));
        if (!result.ok && !told) {
            qWarning("%s", qPrintable(result.error));
        }
        return result.ok ? 0 : told ? 1 : 2;
    });
}

}  // namespace

// Failures to read and write: each is reported with the file's name and the system's
// reason, and none harms the previous file.
class TestCollectionFileFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readMissingFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing.LDX"));
        Collection c;
        c.addName(0, QStringLiteral("kept"));
        const ReadResult result = ludora::ReadCollectionFile(c, path);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
        QVERIFY2(result.error.contains(systemReason(ENOENT)), qPrintable(result.error));
        QCOMPARE(namesOf(c, 0), QStringList{"kept"});
        QCOMPARE(captionsOf(c), captionsOf(Collection()));
    }

    void readFolder() {
        QTemporaryDir dir;
        Collection c;
        const ReadResult result = ludora::ReadCollectionFile(c, dir.path());
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(dir.path()), qPrintable(result.error));
    }

    void readFailingDevice_data() {
        QTest::addColumn<qint64>("limit");
        QTest::newRow("in the captions") << qint64(50);
        QTest::newRow("in the names") << qint64(270);
    }
    void readFailingDevice() {
        QFETCH(qint64, limit);
        QByteArray bytes = fileBytes(dataFile(QStringLiteral("example.LDX")));
        FailingBuffer device(&bytes, limit);
        QVERIFY(device.open(QIODevice::ReadOnly));
        Collection c;
        const ReadResult result = ludora::ReadCollectionFile(c, device, QStringLiteral("disk.LDX"));
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("\"disk.LDX\"")), qPrintable(result.error));
        QVERIFY2(result.error.contains(QLatin1String(kFailingBufferReason)),
                 qPrintable(result.error));
    }

    void writeFailingDevice_data() {
        QTest::addColumn<int>("perList");
        QTest::addColumn<qint64>("limit");
        QTest::newRow("at once") << 0 << qint64(0);
        QTest::newRow("in the captions") << 0 << qint64(100);
        QTest::newRow("midway") << 3000 << qint64(1 << 20);
        QTest::newRow("at the end mark") << 3000 << qint64(-3);  // counted from the end
    }
    void writeFailingDevice() {
        QFETCH(int, perList);
        QFETCH(qint64, limit);
        Collection c;
        fillBig(c, perList);
        if (limit < 0) {
            limit += writeToBytes(c).size();
        }
        QByteArray bytes;
        FailingBuffer device(&bytes, limit);
        QVERIFY(device.open(QIODevice::WriteOnly));
        const WriteResult result = ludora::WriteCollectionFile(c, device, QStringLiteral("x.LDX"));
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("\"x.LDX\"")), qPrintable(result.error));
        QVERIFY2(result.error.contains(QLatin1String(kFailingBufferReason)),
                 qPrintable(result.error));
    }

    void writeIntoMissingFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("no such folder/games.LDX"));
        Collection c;
        const WriteResult result = ludora::WriteCollectionFile(c, path);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
        QVERIFY2(result.error.contains(systemReason(ENOENT)), qPrintable(result.error));
        QVERIFY(folderEntries(dir.path()).isEmpty());
    }

    void writeOverAFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("games.LDX"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("games.LDX")));
        putFile(path + QStringLiteral("/inside.txt"), "still here");
        Collection c;
        const WriteResult result = ludora::WriteCollectionFile(c, path);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
        QVERIFY(result.error.size() > path.size() + 20);  // a reason follows the name
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(fileBytes(path + QStringLiteral("/inside.txt")), QByteArray("still here"));
        QCOMPARE(folderEntries(dir.path()), QStringList{"games.LDX"});
    }

    // A file-size limit stops the write somewhere: the previous file stays byte for byte,
    // no temporary file is left, and the reason is the system's.
    void writeStoppedBySizeLimit_data() {
        QTest::addColumn<int>("perList");
        QTest::addColumn<qint64>("limit");  // negative: counted from the end of the file
        QTest::addColumn<bool>("fails");
        QTest::newRow("nothing may be written") << 0 << qint64(0) << true;
        QTest::newRow("small file, in the captions") << 0 << qint64(100) << true;
        QTest::newRow("small file, at the end mark") << 0 << qint64(-1) << true;
        QTest::newRow("big file, midway") << 4000 << qint64(3 << 20) << true;
        QTest::newRow("big file, at the end mark") << 4000 << qint64(-2) << true;
        QTest::newRow("limit above the size") << 4000 << (qint64(64) << 20) << false;
    }
    void writeStoppedBySizeLimit() {
        QFETCH(int, perList);
        QFETCH(qint64, limit);
        QFETCH(bool, fails);
        Collection c;
        fillBig(c, perList);
        const QByteArray newBytes = writeToBytes(c);
        if (limit < 0) {
            limit += newBytes.size();
        }
        QVERIFY(limit < newBytes.size() || !fails);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("games.LDX"));
        const QByteArray previous = fileBytes(dataFile(QStringLiteral("example.LDX")));
        putFile(path, previous);

        const int written = writeUnderSizeLimit(c, path, limit);
        QCOMPARE(folderEntries(dir.path()), QStringList{"games.LDX"});
        QCOMPARE(written, fails ? 1 : 0);
        QCOMPARE(fileBytes(path), fails ? previous : newBytes);
    }
};

QTEST_GUILESS_MAIN(TestCollectionFileFaults)
#include "tst_collectionfile_faults.moc"
