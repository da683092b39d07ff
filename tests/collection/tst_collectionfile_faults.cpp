#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "CollectionTestSupport.h"
#include "collection/CollectionFile.h"
#include "collection/NameStore.h"

using ludora::Collection;
using ludora::ReadResult;
using ludora::WriteResult;
using namespace ludora::test;

namespace {

struct ChildWrite {
    int exitCode = -1;  // 0: written, 1: failed, anything else: the child went wrong
    QString error;
};

// Writes the collection in a child process whose files may not grow past `limit` bytes;
// SIGXFSZ is ignored there, so the write fails with EFBIG instead of killing it. Root is
// bound by this limit as much as anybody.
ChildWrite writeUnderSizeLimit(const Collection& collection, const QString& path, rlim_t limit) {
    ChildWrite outcome;
    int fds[2];
    if (pipe(fds) != 0) {
        return outcome;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        ::close(fds[0]);
        const rlimit rl{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &rl) != 0) {
            _exit(3);
        }
        signal(SIGXFSZ, SIG_IGN);
        const WriteResult result = ludora::WriteCollectionFile(collection, path);
        const QByteArray error = result.error.toUtf8();
        const bool sent =
            ::write(fds[1], error.constData(), size_t(error.size())) == ssize_t(error.size());
        _exit(!sent ? 4 : result.ok ? 0 : 1);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return outcome;
    }
    QByteArray error;
    char chunk[4096];
    ssize_t got;
    while ((got = ::read(fds[0], chunk, sizeof chunk)) > 0) {
        error.append(chunk, got);
    }
    ::close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
    outcome.error = QString::fromUtf8(error);
    return outcome;
}

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

        const ChildWrite outcome = writeUnderSizeLimit(c, path, rlim_t(limit));
        QCOMPARE(folderEntries(dir.path()), QStringList{"games.LDX"});
        if (!fails) {
            QCOMPARE(outcome.exitCode, 0);
            QCOMPARE(fileBytes(path), newBytes);
            return;
        }
        QCOMPARE(outcome.exitCode, 1);
        QCOMPARE(fileBytes(path), previous);
        QVERIFY2(outcome.error.contains(QDir::toNativeSeparators(path)), qPrintable(outcome.error));
        QVERIFY2(outcome.error.contains(systemReason(EFBIG)), qPrintable(outcome.error));
    }
};

QTEST_GUILESS_MAIN(TestCollectionFileFaults)
#include "tst_collectionfile_faults.moc"
