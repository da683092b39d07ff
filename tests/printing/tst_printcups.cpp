// Prints through the real dialog and the system's printing service onto the CUPS PDF
// queues that scripts/test-printers.sh sets up, and reads the PDF that comes out.
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "PrintTestSupport.h"
#include "collection/Collection.h"
#include "fixtures/TestData.h"
#include "printing/CurrentPrinter.h"
#include "printing/PrintService.h"
#include "printing/frmPrint.h"
#include "printing/printout/ListPrintout.h"

using ludora::Collection;
using ludora::frmPrint;
using ludora::PrintContext;
using ludora::printService;
using namespace ludora::test;

namespace {

const QString kDefaultQueue = QStringLiteral("LudoraPDF");
const QString kOtherQueue = QStringLiteral("LudoraPDF2");

QString outputFolder(const QString& queue) {
    const QString root =
        qEnvironmentVariable("LUDORA_PRINT_OUT", QStringLiteral("/var/spool/cups-pdf/ludora-test"));
    return root + (queue == kDefaultQueue ? QStringLiteral("/q1") : QStringLiteral("/q2"));
}

QStringList jobFiles(const QString& queue, const QString& title) {
    QDir folder(outputFolder(queue));
    QStringList paths;
    for (const QString& name :
         folder.entryList({QStringLiteral("*-") + title + QStringLiteral(".pdf")}, QDir::Files)) {
        paths << folder.filePath(name);
    }
    return paths;
}

bool queueIsEmpty(const QString& queue) {
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
    return lpstat.waitForFinished(30000) && lpstat.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

class TestPrintCups : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        ignoreOffscreenRaiseWarnings();
        const QStringList installed = printService().printerNames();
        if (!installed.contains(kDefaultQueue) || !installed.contains(kOtherQueue)) {
            if (qEnvironmentVariable("LUDORA_REQUIRE_PRINTERS") == QLatin1String("1")) {
                QFAIL("the test printers LudoraPDF and LudoraPDF2 are not installed");
            }
            QSKIP("no test printers: source scripts/test-printers.sh and run start_test_printers");
        }
    }

    void systemServiceKnowsThePrinters() {
        QCOMPARE(printService().defaultPrinterName(), kDefaultQueue);
        QVERIFY(printService().beginDocument(kOtherQueue, QStringLiteral("ludora-unused")));
        // CUPS finds its queues whatever the letter case; the program does not.
        QVERIFY(!printService().beginDocument(kOtherQueue.toLower(), QStringLiteral("x")));
        QVERIFY(!printService().beginDocument(QStringLiteral("LudoraPDF3"), QStringLiteral("x")));
    }

    void printThroughTheDialog() {
        ludora::resetCurrentPrinter();
        Collection collection;
        fillList(collection, 0, 150, QStringLiteral("Nintendo game"));
        fillList(collection, 1, 80, QStringLiteral("Jaguar game"));
        fillList(collection, 2, 110, QStringLiteral("TurboGrafx game"));
        fillList(collection, 3, 20, QStringLiteral("Never printed"));

        // The layout on a recording surface with the metrics of the queue printed on.
        SurfaceSettings metrics;
        {
            auto probe = printService().beginDocument(kOtherQueue, QStringLiteral("ludora-probe"));
            QVERIFY(probe);
            metrics = measureSurface(*probe);
        }
        QVERIFY(metrics.lineHeight > 0 && metrics.boldLineHeight > 0);
        QVERIFY(metrics.printableHeight > 0);
        RecordingSurface expected(metrics);
        ludora::printLists(collection, expected);
        QVERIFY(expected.pageCount() >= 6);

        const QString title =
            QStringLiteral("ludora-test-%1").arg(QCoreApplication::applicationPid());
        for (const QString& queue : {kDefaultQueue, kOtherQueue}) {
            for (const QString& old : jobFiles(queue, title)) {
                QFile::remove(old);
            }
        }

        int mainWindowShown = 0;
        PrintContext context;
        context.collection = [&collection]() -> const Collection& { return collection; };
        context.showMainWindow = [&mainWindowShown]() { ++mainWindowShown; };
        context.documentName = title;

        QPointer<frmPrint> dialog = frmPrint::showWindow(context);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        auto* box = dialog->findChild<QComboBox*>(QStringLiteral("cboPrinters"));
        QCOMPARE(box->currentText(), kDefaultQueue);
        box->setCurrentIndex(box->findText(kOtherQueue, Qt::MatchExactly | Qt::MatchCaseSensitive));
        QCOMPARE(box->currentText(), kOtherQueue);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QTRY_VERIFY(!dialog);
        QCOMPARE(mainWindowShown, 1);
        QCOMPARE(ludora::currentPrinter(), kOtherQueue);

        // Qt gives no job id: wait for the file named after the title and an empty queue.
        QStringList files;
        QDeadlineTimer deadline(120000);
        while (!deadline.hasExpired()) {
            files = jobFiles(kOtherQueue, title);
            if (!files.isEmpty() && queueIsEmpty(kOtherQueue)) {
                break;
            }
            QTest::qWait(100);
        }
        QCOMPARE(files.size(), 1);
        QVERIFY(jobFiles(kDefaultQueue, title).isEmpty());
        const QString pdf = files.constFirst();

        // Kept in the build folder for a look.
        const QString shots = QStringLiteral(LUDORA_BUILD_DIR "/screenshots");
        QVERIFY(QDir().mkpath(shots));
        QFile::remove(shots + QStringLiteral("/printout.pdf"));
        QVERIFY(QFile::copy(pdf, shots + QStringLiteral("/printout.pdf")));
        QString error;
        QVERIFY2(renderFirstPage(pdf, shots + QStringLiteral("/printout-page1.png"), &error),
                 qPrintable(error));

        // Headers with their page numbers, every entry in order and the three totals, page
        // by page.
        QVERIFY2(pdfShowsPrintout(pdf, expected, &error), qPrintable(error));
        QVERIFY(visibleLines(expected).constLast().contains(QStringLiteral("TG16 Total = 110")));
        QFile::remove(pdf);
    }
};

QTEST_MAIN(TestPrintCups)
#include "tst_printcups.moc"
