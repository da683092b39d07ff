// System Info: the desktop's information program, found on PATH and started for real, or
// the message when there is none or it cannot be started.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "about/SysInfo.h"
#include "support/FakeDialogs.h"
#include "support/FakeLauncher.h"

using ludora::test::FakeDialogs;
using ludora::test::FakeLauncher;

class TestSysInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each stand-in notes its name and arguments when it runs.
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
        ludora::sysinfo::StartSysInfo(nullptr);
        qputenv("PATH", path);

        if (expectedRun.isEmpty()) {
            QCOMPARE(dialogs.count(), 1);
            QCOMPARE(dialogs.shown().constFirst().message.prompt,
                     QStringLiteral("System Information Is Unavailable At This Time"));
            return;
        }
        QCOMPARE(dialogs.count(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(record).size() > 0, 20000);
        QFile ran(record);
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(ran.readAll()).trimmed(), expectedRun);
    }

    // Found, but it will not start: the message, and each press asks again.
    void toolThatDoesNotStart() {
        QTemporaryDir bin;
        QFile tool(bin.filePath(QStringLiteral("hardinfo")));
        QVERIFY(tool.open(QIODevice::WriteOnly) && tool.setPermissions(QFileDevice::ExeOwner));
        tool.close();
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        FakeLauncher launcher;  // starts nothing
        FakeDialogs dialogs;
        ludora::sysinfo::StartSysInfo(nullptr);
        ludora::sysinfo::StartSysInfo(nullptr);
        qputenv("PATH", path);
        QCOMPARE(launcher.started, QStringList(2, tool.fileName()));
        QCOMPARE(dialogs.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
