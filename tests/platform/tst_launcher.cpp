// Opening a document with the desktop's program: an opener that starts but finds no program
// to show the document is a failure the caller hears of.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Launcher.h"

class TestLauncher : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void openUrlTellsFailures_data() {
        QTest::addColumn<QString>("opener");  // xdg-open's script; empty: none on PATH
        QTest::addColumn<bool>("failed");
        QTest::newRow("shown") << "#!/bin/sh\nprintf %s \"$1\" >\"$0.log\"\n" << false;
        QTest::newRow("no program for it (status 3)")
            << "#!/bin/sh\nprintf %s \"$1\" >\"$0.log\"\nexit 3\n"
            << true;
        QTest::newRow("no xdg-open") << QString() << true;
    }
    void openUrlTellsFailures() {
        QFETCH(QString, opener);
        QFETCH(bool, failed);
        const QString bin = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QFile script(bin + QStringLiteral("/xdg-open"));
        QVERIFY(QDir().mkpath(bin));
        if (!opener.isEmpty()) {
            QVERIFY(script.open(QIODevice::WriteOnly) && script.write(opener.toUtf8()) > 0);
            script.close();
            QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin));
        const QString document = dir_.filePath(QStringLiteral("Ldhelp.html"));
        bool told = false;
        ludora::platform::launcher().openUrl(QUrl::fromLocalFile(document), [&] { told = true; });
        qputenv("PATH", path);
        // The opener has ended once its process is gone.
        QTRY_VERIFY(qApp->findChildren<QProcess*>().isEmpty());
        QCOMPARE(told, failed);
        QFile log(script.fileName() + QStringLiteral(".log"));
        QCOMPARE(log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray(),
                 opener.isEmpty() ? QByteArray() : QFile::encodeName(document));
    }
};

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
