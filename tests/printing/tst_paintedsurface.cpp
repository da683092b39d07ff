#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "PrintTestSupport.h"
#include "collection/Collection.h"
#include "printing/PrintService.h"
#include "printing/printout/ListPrintout.h"
#include "printing/printout/PaintedSurface.h"

using ludora::Collection;
using ludora::makePdfSurface;
using ludora::PaintedSurface;
using ludora::printLists;
using namespace ludora::test;

namespace {

// A PDF printer whose document starts only when something is printed.
std::unique_ptr<PaintedSurface> lazyPdfSurface(const QString& path, const QPageSize& size) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(size);
    return std::make_unique<PaintedSurface>(std::move(printer));
}

}  // namespace

class TestPaintedSurface : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // The real surface gives the pages the layout computes on a recording surface with the
    // same metrics: same lines, same breaks, and no blank page at the end.
    void pdfMatchesLayout_data() {
        QTest::addColumn<QPageSize::PageSizeId>("sizeId");
        QTest::addColumn<QList<int>>("counts");
        QTest::newRow("A4, three lists over several pages")
            << QPageSize::A4 << QList<int>{130, 45, 70};
        QTest::newRow("Letter, second list only") << QPageSize::Letter << QList<int>{0, 75, 0};
    }
    void pdfMatchesLayout() {
        QFETCH(QPageSize::PageSizeId, sizeId);
        QFETCH(QList<int>, counts);
        const QPageSize size(sizeId);
        Collection collection;
        fillList(collection, 0, counts[0], QStringLiteral("Nintendo game"));
        fillList(collection, 1, counts[1], QStringLiteral("Atari game"));
        fillList(collection, 2, counts[2], QStringLiteral("NEC game"));

        const QString probePath = dir_.filePath(QStringLiteral("probe.pdf"));
        SurfaceSettings metrics;
        {
            auto probe = lazyPdfSurface(probePath, size);
            metrics = measureSurface(*probe);
        }
        QVERIFY2(!QFileInfo::exists(probePath), "a surface with nothing printed wrote a file");
        QVERIFY(metrics.lineHeight > 100 && metrics.lineHeight < 400);
        QVERIFY(metrics.boldLineHeight > 100 && metrics.boldLineHeight < 400);
        QVERIFY(metrics.printableHeight > 10000);

        RecordingSurface expected(metrics);
        printLists(collection, expected);
        QVERIFY(expected.pageCount() >= 2);

        const QString pdf = dir_.filePath(QStringLiteral("lists.pdf"));
        QString error;
        {
            auto surface = makePdfSurface(pdf, size, &error);
            QVERIFY2(surface, qPrintable(error));
            printLists(collection, *surface);
        }
        QVERIFY2(pdfShowsPrintout(pdf, expected, &error), qPrintable(error));
    }

    // Each line moves the position down by the height the surface measures for it.
    void lineAdvanceIsTheMeasuredHeight() {
        auto surface =
            lazyPdfSurface(dir_.filePath(QStringLiteral("advance.pdf")), QPageSize(QPageSize::A4));
        QVERIFY(surface->setFontSize(10));
        QVERIFY(surface->setPosition(0, 0));
        const double regular = surface->textHeight(QStringLiteral("Game")).value();
        QVERIFY(surface->printLine(QStringLiteral("Game")));
        QCOMPARE(surface->currentY().value(), regular);
        QVERIFY(surface->setBold(true));
        const double bold = surface->textHeight(QStringLiteral("Header")).value();
        QVERIFY(surface->printLine(QStringLiteral("Header")));
        QCOMPARE(surface->currentY().value(), regular + bold);
        QVERIFY(surface->newPage());
        QCOMPARE(surface->currentY().value(), 0.0);
        QVERIFY(surface->endDocument());
    }

    // Lines start half an inch right of the printable area's left edge, the first at its top.
    void marginsOnThePage() {
        const QPageSize size(QPageSize::A4);
        const QString pdf = dir_.filePath(QStringLiteral("margins.pdf"));
        QRectF paintRect;
        {
            auto surface = lazyPdfSurface(pdf, size);
            paintRect = surface->device().pageLayout().paintRect(QPageLayout::Point);
            Collection collection;
            fillList(collection, 0, 3, QStringLiteral("Game"));
            printLists(collection, *surface);
        }
        QProcess process;
        process.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY2(process.waitForFinished(60000) && process.exitCode() == 0,
                 "pdftotext -bbox failed (is poppler-utils installed?)");
        const QString html = QString::fromUtf8(process.readAllStandardOutput());
        static const QRegularExpression firstWord(QStringLiteral(
            R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">N64</word>)re"));
        const QRegularExpressionMatch match = firstWord.match(html);
        QVERIFY2(match.hasMatch(), qPrintable(html.left(2000)));
        const double left = match.captured(1).toDouble();
        const double top = match.captured(2).toDouble();
        // 720 twips are 36 points; a glyph's side bearing and the line's leading are small.
        QVERIFY2(qAbs(left - (paintRect.left() + 36)) < 2,
                 qPrintable(QStringLiteral("header starts at %1 pt").arg(left)));
        QVERIFY2(top >= paintRect.top() - 1 && top < paintRect.top() + 6,
                 qPrintable(QStringLiteral("header top at %1 pt").arg(top)));
    }

    void pdfFileThatCannotBeCreated_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing folder") << dir_.filePath(QStringLiteral("no/such/folder/out.pdf"));
        QTest::newRow("a folder") << dir_.path();
        QTest::newRow("no name") << QString();
    }
    void pdfFileThatCannotBeCreated() {
        QFETCH(QString, path);
        if (!path.isEmpty()) {
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        }
        QString error;
        auto surface = makePdfSurface(path, QPageSize(QPageSize::A4), &error);
        QVERIFY(!surface);
        QVERIFY(!error.isEmpty());
        if (!path.isEmpty()) {
            QVERIFY2(error.contains(path), qPrintable(error));
        }
        QVERIFY(!QFileInfo(path).isFile());
    }

    // The system's service never falls back to printing to a file somewhere.
    void unknownPrinterGivesNoSurface_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("not installed") << QStringLiteral("Ludora No Such Printer 7f3a");
    }
    void unknownPrinterGivesNoSurface() {
        QFETCH(QString, name);
        QVERIFY(!ludora::printService().beginDocument(name, QStringLiteral("x")));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestPaintedSurface)
#include "tst_paintedsurface.moc"
