// Opening a document with the desktop's program: an opener that starts but finds no program
// to show the document is a failure the caller hears of.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Launcher.h"

using namespace ludora;

class TestLauncher : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

private Q_SLOTS:
    void openUrlTellsFailures_data() {
        QTest::addColumn<QString>("opener");  // xdg-open's script; empty: none on PATH
        QTest::addColumn<bool>("failed");
        QTest::newRow("shown") << "#!/bin/sh\nprintf %s \"$1\" >\"$0.log\"\n" << false;
        QTest::newRow("no program for it (xdg-open's status 3)")
            << "#!/bin/sh\nprintf %s \"$1\" >\"$0.log\"\nexit 3\n"
            << true;
        QTest::newRow("no xdg-open") << QString() << true;
    }

    void openUrlTellsFailures() {
        QFETCH(QString, opener);
        QFETCH(bool, failed);
        QVERIFY(dir_.isValid());
        const QString bin = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(bin));
        const QString script = bin + QStringLiteral("/xdg-open");
        if (!opener.isEmpty()) {
            QFile file(script);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(opener.toUtf8());
            file.close();
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin));
        const QString document = dir_.filePath(QStringLiteral("Ldhelp.html"));
        bool told = false;
        platform::launcher().openUrl(QUrl::fromLocalFile(document), [&told] { told = true; });
        qputenv("PATH", path);
        // The opener has ended once its process is gone.
        QTRY_VERIFY(QCoreApplication::instance()->findChildren<QProcess*>().isEmpty());
        QCOMPARE(told, failed);
        if (!opener.isEmpty()) {
            QFile log(script + QStringLiteral(".log"));
            QVERIFY(log.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromLocal8Bit(log.readAll()), document);
        }
    }
};

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
