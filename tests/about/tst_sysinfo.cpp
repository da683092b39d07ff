#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "about/SysInfo.h"
#include "support/FakeDialogs.h"
#include "support/FakeLauncher.h"
#include "support/FakeRegistry.h"

using ludora::platform::Registry;
using ludora::test::FakeDialogs;
using ludora::test::FakeLauncher;
using ludora::test::FakeRegistry;
namespace sysinfo = ludora::sysinfo;

namespace {

constexpr quint32 kRoot = Registry::HKeyLocalMachine;
const QByteArray kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");
constexpr quint32 kBinary = 3;      // REG_BINARY
constexpr quint32 kExpandText = 2;  // REG_EXPAND_SZ
constexpr quint32 kMultiText = 7;   // REG_MULTI_SZ

// One registry value as a test row sets it up.
struct Entry {
    enum Kind { NoKey, KeyWithoutValue, Value, RefusesWriteAccess } kind = NoKey;
    quint32 type = 0;
    QByteArray data;
};

Entry noKey() {
    return {};
}
Entry keyWithoutValue() {
    return {Entry::KeyWithoutValue, 0, {}};
}
Entry raw(quint32 type, const QByteArray& data) {
    return {Entry::Value, type, data};
}
Entry text(const QByteArray& s) {
    return raw(Registry::TypeString, s + '\0');
}
Entry refused(const QByteArray& s) {
    return {Entry::RefusesWriteAccess, Registry::TypeString, s + '\0'};
}

void install(FakeRegistry& registry, const QByteArray& key, const QByteArray& valueName,
             const Entry& entry) {
    switch (entry.kind) {
        case Entry::NoKey:
            return;
        case Entry::KeyWithoutValue:
            registry.addKey(kRoot, key);
            return;
        case Entry::RefusesWriteAccess:
            registry.restrictAccess(kRoot, key);
            [[fallthrough]];
        case Entry::Value:
            registry.setValue(kRoot, key, valueName, entry.type, entry.data);
            return;
    }
}

}  // namespace

Q_DECLARE_METATYPE(Entry)

class TestSysInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startSysInfo_data() {
        QTest::addColumn<Entry>("first");   // MSINFO \ PATH
        QTest::addColumn<Entry>("second");  // Shared Tools Location \ MSINFO
        QTest::addColumn<QStringList>("existingFiles");
        QTest::addColumn<QStringList>("startable");
        QTest::addColumn<QStringList>("expectedTested");
        QTest::addColumn<QStringList>("expectedStarted");
        QTest::addColumn<bool>("secondTried");
        QTest::addColumn<int>("messages");

        const QString installed = QStringLiteral(
            "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe");
        const QString inTools = QStringLiteral("C:\\Tools\\MSINFO32.EXE");
        const QByteArray longText(1024, 'a');  // 1025 bytes with the closing zero

        QTest::newRow("first lookup found: run unchecked, unquoted")
            << text(installed.toLatin1()) << text("C:\\Tools") << QStringList()
            << QStringList{installed} << QStringList() << QStringList{installed} << false << 0;
        QTest::newRow("first path missing: launch fails, no second lookup")
            << text("C:\\Nowhere\\msinfo32.exe") << text("C:\\Tools") << QStringList{inTools}
            << QStringList{inTools} << QStringList()
            << QStringList{QStringLiteral("C:\\Nowhere\\msinfo32.exe")} << false << 1;
        QTest::newRow("folder from second lookup")
            << noKey() << text("C:\\Tools") << QStringList{inTools} << QStringList{inTools}
            << QStringList{inTools} << QStringList{inTools} << true << 0;
        QTest::newRow("folder ending in a backslash doubles it")
            << noKey() << text("C:\\Tools\\")
            << QStringList{QStringLiteral("C:\\Tools\\\\MSINFO32.EXE")}
            << QStringList{QStringLiteral("C:\\Tools\\\\MSINFO32.EXE")}
            << QStringList{QStringLiteral("C:\\Tools\\\\MSINFO32.EXE")}
            << QStringList{QStringLiteral("C:\\Tools\\\\MSINFO32.EXE")} << true << 0;
        QTest::newRow("folder without the tool")
            << noKey() << text("C:\\Tools") << QStringList() << QStringList{inTools}
            << QStringList{inTools} << QStringList() << true << 1;
        QTest::newRow("tool in folder does not start")
            << noKey() << text("C:\\Tools") << QStringList{inTools} << QStringList()
            << QStringList{inTools} << QStringList{inTools} << true << 1;
        QTest::newRow("first value binary: found, empty path")
            << raw(kBinary, QByteArray("\x01\x02\x00", 3)) << text("C:\\Tools")
            << QStringList{inTools} << QStringList{inTools} << QStringList()
            << QStringList{QString()} << false << 1;
        QTest::newRow("first value expandable text: found, empty path")
            << raw(kExpandText, QByteArray("%SystemRoot%\\msinfo32.exe\0", 27)) << text("C:\\Tools")
            << QStringList{inTools} << QStringList{inTools} << QStringList()
            << QStringList{QString()} << false << 1;
        QTest::newRow("first value multi text: found, empty path")
            << raw(kMultiText, QByteArray("a\0b\0\0", 5)) << noKey() << QStringList()
            << QStringList() << QStringList() << QStringList{QString()} << false << 1;
        QTest::newRow("first value of exactly 1024 bytes is read")
            << text(QByteArray(1023, 'p')) << noKey() << QStringList()
            << QStringList{QString(1023, QLatin1Char('p'))} << QStringList()
            << QStringList{QString(1023, QLatin1Char('p'))} << false << 0;
        QTest::newRow("first value over 1024 bytes counts as missing")
            << text(longText) << text("C:\\Tools") << QStringList{inTools} << QStringList{inTools}
            << QStringList{inTools} << QStringList{inTools} << true << 0;
        QTest::newRow("second value over 1024 bytes counts as missing")
            << noKey() << text(longText) << QStringList() << QStringList() << QStringList()
            << QStringList() << true << 1;
        QTest::newRow("first value without a zero byte")
            << raw(Registry::TypeString, QByteArray(1024, 'x')) << text("C:\\Tools")
            << QStringList{inTools} << QStringList{inTools} << QStringList() << QStringList()
            << false << 1;
        QTest::newRow("second value without a zero byte")
            << noKey() << raw(Registry::TypeString, QByteArray(1024, 'x')) << QStringList()
            << QStringList() << QStringList() << QStringList() << true << 1;
        QTest::newRow("first key without the value")
            << keyWithoutValue() << text("C:\\Tools") << QStringList{inTools}
            << QStringList{inTools} << QStringList{inTools} << QStringList{inTools} << true << 0;
        QTest::newRow("neither key: one message")
            << noKey() << noKey() << QStringList() << QStringList() << QStringList()
            << QStringList() << true << 1;
        QTest::newRow("first key refuses read-write access")
            << refused(installed.toLatin1()) << text("C:\\Tools") << QStringList{inTools}
            << QStringList{installed, inTools} << QStringList{inTools} << QStringList{inTools}
            << true << 0;
        QTest::newRow("both keys refuse read-write access")
            << refused(installed.toLatin1()) << refused("C:\\Tools") << QStringList{inTools}
            << QStringList{installed, inTools} << QStringList() << QStringList() << true << 1;
    }

    void startSysInfo() {
        QFETCH(Entry, first);
        QFETCH(Entry, second);
        QFETCH(QStringList, existingFiles);
        QFETCH(QStringList, startable);
        QFETCH(QStringList, expectedTested);
        QFETCH(QStringList, expectedStarted);
        QFETCH(bool, secondTried);
        QFETCH(int, messages);

        FakeRegistry registry;
        FakeLauncher launcher;
        FakeDialogs dialogs;
        install(registry, kPathKey, "PATH", first);
        install(registry, kFolderKey, "MSINFO", second);
        launcher.existingFiles = QSet<QString>(existingFiles.begin(), existingFiles.end());
        launcher.startSucceeds = QSet<QString>(startable.begin(), startable.end());

        sysinfo::StartSysInfo(nullptr);

        QCOMPARE(launcher.testedFiles, expectedTested);
        QCOMPARE(launcher.started, expectedStarted);
        for (bool hidden : launcher.startedHidden) {
            QVERIFY(!hidden);  // the tool opens in a normal window
        }
        QList<QByteArray> attempts{kPathKey};
        if (secondTried) {
            attempts << kFolderKey;
        }
        QCOMPARE(registry.openAttempts(), attempts);
        for (quint32 access : registry.accessMasks()) {
            QCOMPARE(access, 0x2003Fu);
        }
        QCOMPARE(registry.openHandles(), 0);
        QCOMPARE(registry.closedCount(), registry.openedCount());

        QCOMPARE(dialogs.count(), messages);
        for (const FakeDialogs::Shown& shown : dialogs.shown()) {
            QCOMPARE(shown.kind, FakeDialogs::Shown::Message);
            QCOMPARE(shown.message.prompt, kUnavailable);
            QVERIFY(shown.message.title.isEmpty());  // the application title
            QCOMPARE(shown.message.buttons, ludora::platform::ButtonSet::Ok);
        }
    }

    void getKeyValue_data() {
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<bool>("expectedResult");
        QTest::addColumn<QString>("expectedValue");

        QTest::newRow("text") << text("C:\\Tools") << true << QStringLiteral("C:\\Tools");
        QTest::newRow("empty text") << text("") << true << QString();
        QTest::newRow("text cut at its first zero byte")
            << raw(Registry::TypeString, QByteArray("abc\0def\0", 8)) << true
            << QStringLiteral("abc");
        QTest::newRow("text without closing zero, shorter than the buffer")
            << raw(Registry::TypeString, QByteArray("abc")) << true << QStringLiteral("abc");
        QTest::newRow("number 42") << raw(Registry::TypeDword, QByteArray("\x2a\0\0\0", 4)) << true
                                   << QStringLiteral("42");
        QTest::newRow("number, bytes least significant first")
            << raw(Registry::TypeDword, QByteArray("\x04\x03\x02\x01", 4)) << true
            << QStringLiteral("16909060");
        QTest::newRow("largest number")
            << raw(Registry::TypeDword, QByteArray("\xff\xff\xff\xff", 4)) << true
            << QStringLiteral("4294967295");
        QTest::newRow("number zero")
            << raw(Registry::TypeDword, QByteArray(4, '\0')) << true << QStringLiteral("0");
        QTest::newRow("binary keeps the old text")
            << raw(kBinary, QByteArray("\x01\0", 2)) << true << QStringLiteral("old");
        QTest::newRow("over 1024 bytes") << text(QByteArray(1024, 'a')) << false << QString();
        QTest::newRow("no key") << noKey() << false << QString();
        QTest::newRow("no value") << keyWithoutValue() << false << QString();
        QTest::newRow("key refuses read-write access") << refused("x") << false << QString();
    }

    void getKeyValue() {
        QFETCH(Entry, entry);
        QFETCH(bool, expectedResult);
        QFETCH(QString, expectedValue);

        FakeRegistry registry;
        install(registry, "Software\\Test", "Value", entry);
        QString value = QStringLiteral("old");
        QCOMPARE(sysinfo::GetKeyValue(kRoot, QStringLiteral("Software\\Test"),
                                      QStringLiteral("Value"), value),
                 expectedResult);
        QCOMPARE(value, expectedValue);
        QCOMPARE(registry.openHandles(), 0);
    }

    void getKeyValueWithoutZeroByteRaisesAndClosesTheKey() {
        FakeRegistry registry;
        registry.setValue(kRoot, "Software\\Test", "Value", Registry::TypeString,
                          QByteArray(1024, 'x'));
        QString value = QStringLiteral("old");
        QVERIFY_THROWS_EXCEPTION(sysinfo::KeyValueError,
                                 sysinfo::GetKeyValue(kRoot, QStringLiteral("Software\\Test"),
                                                      QStringLiteral("Value"), value));
        QCOMPARE(value, QStringLiteral("old"));
        QCOMPARE(registry.openedCount(), 1);
        QCOMPARE(registry.openHandles(), 0);
    }

    void pressingAgainAsksAgain() {
        FakeRegistry registry;
        FakeLauncher launcher;
        FakeDialogs dialogs;
        sysinfo::StartSysInfo(nullptr);
        sysinfo::StartSysInfo(nullptr);
        QCOMPARE(dialogs.count(), 2);
        QCOMPARE(registry.openAttempts().size(), 4);
    }

#ifndef Q_OS_WIN
    // The desktop's own program, found on PATH and started for real: each stand-in notes
    // its name and arguments.
    void desktopTool_data() {
        QTest::addColumn<QString>("folder");  // on PATH, below a temporary folder
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expectedRun");  // empty: the message instead

        QTest::newRow("none installed") << "bin" << QStringList() << QString();
        QTest::newRow("system profiler")
            << "bin" << QStringList{"hardinfo"} << QStringLiteral("hardinfo");
        QTest::newRow("GNOME settings opens its About panel")
            << "bin" << QStringList{"hardinfo", "gnome-control-center"}
            << QStringLiteral("gnome-control-center info-overview");
        QTest::newRow("KDE Info Center first")
            << "bin" << QStringList{"hardinfo", "gnome-control-center", "kinfocenter"}
            << QStringLiteral("kinfocenter");
        QTest::newRow("folder with blanks") << "my tools" << QStringList{"gnome-control-center"}
                                            << QStringLiteral("gnome-control-center info-overview");
    }

    void desktopTool() {
        QFETCH(QString, folder);
        QFETCH(QStringList, installed);
        QFETCH(QString, expectedRun);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QDir bin(home.filePath(folder));
        QVERIFY(bin.mkpath(QStringLiteral(".")));
        const QString record = home.filePath(QStringLiteral("ran"));
        for (const QString& name : installed) {
            QFile tool(bin.filePath(name));
            QVERIFY(tool.open(QIODevice::WriteOnly));
            tool.write(QStringLiteral("#!/bin/sh\necho \"%1 $*\" > '%2'\n")
                           .arg(name, record)
                           .toLocal8Bit());
            tool.close();
            QVERIFY(tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.absolutePath().toLocal8Bit());
        FakeDialogs dialogs;
        sysinfo::StartSysInfo(nullptr);
        qputenv("PATH", path);

        if (expectedRun.isEmpty()) {
            QCOMPARE(dialogs.count(), 1);
            QCOMPARE(dialogs.shown().constFirst().message.prompt, kUnavailable);
            return;
        }
        QCOMPARE(dialogs.count(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(record).size() > 0, 20000);
        QFile ran(record);
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(ran.readAll()).trimmed(), expectedRun);
    }
#endif
};

QTEST_GUILESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
