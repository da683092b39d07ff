// Takes the picture of the print dialog shown in the user guide: screenshots/print-dialog.png
// in the build folder.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QTest>

#include "PrintTestSupport.h"
#include "collection/Collection.h"
#include "printing/CurrentPrinter.h"
#include "printing/frmPrint.h"
#include "support/FakePrintService.h"
#include "support/TestData.h"

using ludora::Collection;
using ludora::frmPrint;
using ludora::PrintContext;
using ludora::test::FakePrintService;

namespace {

QString screenshotFolder() {
    const QString buildDir = qEnvironmentVariableIsSet("LUDORA_BUILD_DIR")
                                 ? qEnvironmentVariable("LUDORA_BUILD_DIR")
                                 : QStringLiteral(LUDORA_BUILD_DIR);
    return QDir(buildDir).filePath(QStringLiteral("screenshots"));
}

// The number of different colours in the picture: a window drawn with its controls has many,
// an unpainted one a single colour.
int colourCount(const QImage& image) {
    QList<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (!seen.contains(pixel)) {
                seen << pixel;
                if (seen.size() > 16) {
                    return int(seen.size());
                }
            }
        }
    }
    return int(seen.size());
}

}  // namespace

class TestPrintScreenshot : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ludora::test::ignoreOffscreenRaiseWarnings(); }

    // Two printers, the second the system default: the dialog opens with it chosen, as the
    // guide describes, and the picture is the whole dialog.
    void printDialog() {
        FakePrintService service;
        service.printers = {QStringLiteral("Office_LaserJet"), QStringLiteral("Study_Inkjet")};
        service.defaultPrinter = QStringLiteral("Study_Inkjet");
        ludora::resetCurrentPrinter();
        Collection collection;
        int mainWindowShown = 0;

        PrintContext context;
        context.collection = [&collection]() -> const Collection& { return collection; };
        context.showMainWindow = [&mainWindowShown] { ++mainWindowShown; };
        frmPrint* dialog = frmPrint::showDialog(context);
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));

        auto* box = dialog->findChild<QComboBox*>(QStringLiteral("cboPrinters"));
        QVERIFY(box);
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->currentText(), QStringLiteral("Study_Inkjet"));

        const QImage picture = dialog->grab().toImage();
        QCOMPARE(picture.size(), dialog->size() * dialog->devicePixelRatio());
        QVERIFY2(colourCount(picture) > 16, "the dialog was grabbed before it was drawn");
        QVERIFY(QDir().mkpath(screenshotFolder()));
        const QString path = QDir(screenshotFolder()).filePath(QStringLiteral("print-dialog.png"));
        QVERIFY2(picture.save(path), qPrintable(path));
        QCOMPARE(QImage(path).size(), picture.size());

        // Taking the picture printed nothing; closing shows the main window as usual.
        dialog->close();
        QTest::qWait(0);
        QVERIFY(service.documents.isEmpty());
        QCOMPARE(mainWindowShown, 1);
        QVERIFY(!frmPrint::instance());
    }
};

QTEST_MAIN(TestPrintScreenshot)
#include "tst_printscreenshot.moc"
