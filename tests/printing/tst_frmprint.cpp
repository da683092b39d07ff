#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <memory>

#include "PrintTestSupport.h"
#include "collection/Collection.h"
#include "platform/widgets/Twips.h"
#include "printing/CurrentPrinter.h"
#include "printing/frmPrint.h"
#include "support/FakePrintService.h"

using ludora::Collection;
using ludora::currentPrinter;
using ludora::frmPrint;
using ludora::PrintContext;
using ludora::twipsRect;
using ludora::twipsToPixels;
using ludora::test::FakePrintService;

namespace {

enum class CloseBy { PrintButton, CancelButton, CloseBox };

QComboBox* printers(QWidget* dialog) {
    return dialog->findChild<QComboBox*>(QStringLiteral("cboPrinters"));
}

QPushButton* button(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QLatin1String(name));
}

QStringList entries(QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) {
        texts << box->itemText(i);
    }
    return texts;
}

}  // namespace

Q_DECLARE_METATYPE(CloseBy)

class TestFrmPrint : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakePrintService> service_;
    std::unique_ptr<Collection> collection_;
    std::unique_ptr<QWidget> mainWindow_;  // stands in for the main window
    int mainWindowShown_ = 0;

    PrintContext context() {
        PrintContext context;
        context.collection = [this]() -> const Collection& { return *collection_; };
        context.showMainWindow = [this]() {
            ++mainWindowShown_;
            mainWindow_->show();
            mainWindow_->activateWindow();
        };
        context.documentName = QStringLiteral("ludora-dialog-test");
        return context;
    }

    void usePrinters(const QStringList& names, const QString& defaultName) {
        service_->printers = names;
        service_->defaultPrinter = defaultName;
    }

    frmPrint* openDialog() {
        frmPrint* dialog = frmPrint::showWindow(context());
        if (dialog && !QTest::qWaitForWindowExposed(dialog)) {
            qWarning("print dialog not exposed");
        }
        return dialog;
    }

    void closeBy(frmPrint* dialog, CloseBy how) {
        switch (how) {
            case CloseBy::PrintButton:
                QTest::mouseClick(button(dialog, "Command1"), Qt::LeftButton);
                break;
            case CloseBy::CancelButton:
                QTest::mouseClick(button(dialog, "Command2"), Qt::LeftButton);
                break;
            case CloseBy::CloseBox:
                dialog->windowHandle()->close();
                break;
        }
    }

    // The printer names of the documents printed so far.
    QStringList printersUsed() const {
        QStringList names;
        for (const FakePrintService::Document& document : service_->documents) {
            names << document.printer;
        }
        return names;
    }

private Q_SLOTS:
    void initTestCase() { ludora::test::ignoreOffscreenRaiseWarnings(); }

    void init() {
        service_ = std::make_unique<FakePrintService>();
        ludora::resetCurrentPrinter();
        collection_ = std::make_unique<Collection>();
        ludora::test::fillList(*collection_, 0, 3, QStringLiteral("Game"));
        mainWindow_ = std::make_unique<QWidget>();
        mainWindow_->setWindowTitle(QStringLiteral("Main"));
        mainWindowShown_ = 0;
    }

    void cleanup() {
        if (frmPrint* open = frmPrint::openWindow()) {
            open->close();
        }
        QTest::qWait(0);  // deletes the closed dialog
        QVERIFY(!frmPrint::openWindow());
        mainWindow_.reset();
        service_.reset();
    }

    void windowAndControls() {
        usePrinters({QStringLiteral("A"), QStringLiteral("B")}, QStringLiteral("A"));
        frmPrint* dialog = openDialog();
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(dialog->objectName(), QStringLiteral("frmPrint"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Print List"));
        // Its own top-level window, not owned by the main window, and modeless.
        QVERIFY(dialog->isWindow());
        QVERIFY(!dialog->parentWidget());
        QCOMPARE(dialog->windowModality(), Qt::NonModal);
        QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(dialog->size(), QSize(twipsToPixels(4680), twipsToPixels(1080)));

        QComboBox* box = printers(dialog);
        QPushButton* print = button(dialog, "Command1");
        QPushButton* cancel = button(dialog, "Command2");
        QVERIFY(box && print && cancel);
        QVERIFY(!box->isEditable());
        QCOMPARE(box->geometry(), twipsRect(120, 120, 4335, 315));
        QCOMPARE(print->geometry(), twipsRect(480, 600, 1215, 375));
        QCOMPARE(cancel->geometry(), twipsRect(2640, 600, 1215, 375));
        QCOMPARE(print->text(), QStringLiteral("Print"));
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(dialog->findChildren<QWidget*>().size(), 3 + box->findChildren<QWidget*>().size());

        // Focus starts on the printers, Tab goes on to Print, then Cancel.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
        QTest::keyClick(box, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(print));
        QTest::keyClick(print, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(cancel));

        // Centred on the screen, frame included.
        const QRect screen = dialog->screen()->geometry();
        const QPoint offset = dialog->frameGeometry().center() - screen.center();
        QVERIFY2(
            qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
            qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
    }

    // Neither button is the default or the cancel button: Escape does nothing, nor does
    // Enter on the printer box. Enter on a focused button presses that button.
    void enterAndEscape() {
        usePrinters({QStringLiteral("A")}, QStringLiteral("A"));
        QPointer<frmPrint> dialog = openDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            QVERIFY(!b->isDefault());
        }
        QTest::keyClick(printers(dialog), Qt::Key_Escape);
        QTest::keyClick(printers(dialog), Qt::Key_Return);
        QTest::keyClick(printers(dialog), Qt::Key_Enter);
        QTest::qWait(0);
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(service_->documents.isEmpty());
        QCOMPARE(mainWindowShown_, 0);
        button(dialog, "Command2")->setFocus();
        QTRY_VERIFY(button(dialog, "Command2")->hasFocus());
        QTest::keyClick(button(dialog, "Command2"), Qt::Key_Return);
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(service_->documents.isEmpty());
        QCOMPARE(mainWindowShown_, 1);
    }

    void preselection_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("defaultPrinter");
        QTest::addColumn<int>("selected");
        QTest::newRow("the default") << QStringList{"A", "B", "C"} << "B" << 1;
        QTest::newRow("names differing in letter case")
            << QStringList{"laser", "Laser", "LASER"} << "Laser" << 1;
        QTest::newRow("name listed twice: the later entry")
            << QStringList{"A", "B", "A"} << "A" << 2;
        QTest::newRow("default not listed: nothing") << QStringList{"A", "B"} << "a" << -1;
        QTest::newRow("no printers") << QStringList{} << "" << -1;
    }
    void preselection() {
        QFETCH(QStringList, installed);
        QFETCH(QString, defaultPrinter);
        QFETCH(int, selected);
        usePrinters(installed, defaultPrinter);
        frmPrint* dialog = openDialog();
        QComboBox* box = printers(dialog);
        // Every installed printer, in the order the system gives them.
        QCOMPARE(entries(box), installed);
        QCOMPARE(box->currentIndex(), selected);
        if (selected < 0) {
            QCOMPARE(box->currentText(), QString());
        }
    }

    void print_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("defaultPrinter");
        QTest::addColumn<int>("chosen");         // -1: the preselection is kept
        QTest::addColumn<QString>("printedOn");  // empty: nothing printed
        QTest::addColumn<int>("selectedOnReopening");
        QTest::newRow("the default") << QStringList{"A", "B", "C"} << "A" << -1 << "A" << 0;
        QTest::newRow("another printer") << QStringList{"A", "B", "C"} << "A" << 2 << "C" << 2;
        QTest::newRow("letter case")
            << QStringList{"laser", "Laser", "LASER"} << "Laser" << 2 << "LASER" << 2;
        QTest::newRow("name listed twice, first entry chosen")
            << QStringList{"A", "B", "A"} << "B" << 0 << "A" << 2;
        QTest::newRow("nothing selected: the current printer, not installed")
            << QStringList{"A", "B"} << "Gone" << -1 << "" << -1;
    }
    void print() {
        QFETCH(QStringList, installed);
        QFETCH(QString, defaultPrinter);
        QFETCH(int, chosen);
        QFETCH(QString, printedOn);
        QFETCH(int, selectedOnReopening);
        usePrinters(installed, defaultPrinter);

        QPointer<frmPrint> dialog = openDialog();
        if (chosen >= 0) {
            printers(dialog)->setCurrentIndex(chosen);
        }
        // The lists are read when Print is clicked.
        collection_->addName(1, QStringLiteral("Added while open"));
        closeBy(dialog, CloseBy::PrintButton);
        QTRY_VERIFY(!dialog);
        QCOMPARE(mainWindowShown_, 1);

        if (printedOn.isEmpty()) {
            QVERIFY(service_->documents.isEmpty());
            QCOMPARE(currentPrinter(), defaultPrinter);
        } else {
            QCOMPARE(printersUsed(), QStringList{printedOn});
            QCOMPARE(currentPrinter(), printedOn);
            const FakePrintService::Document& document = service_->documents.constFirst();
            QCOMPARE(document.name, QStringLiteral("ludora-dialog-test"));
            const QList<QStringList> pages = ludora::test::visibleLines(*document.surface);
            QCOMPARE(pages.size(), 2);
            QCOMPARE(pages[0].constFirst(), QStringLiteral("N64 List - Page 1"));
            QCOMPARE(pages[1],
                     (QStringList{"JAGUAR List - Page 1", "Added while open", "JAGUAR Total = 1"}));
            QCOMPARE(document.surface->endDocumentCalls(), 1);
        }

        frmPrint* again = openDialog();
        QCOMPARE(printers(again)->currentIndex(), selectedOnReopening);
    }

    void cancelAndCloseBoxChangeNothing_data() {
        QTest::addColumn<CloseBy>("how");
        QTest::newRow("Cancel") << CloseBy::CancelButton;
        QTest::newRow("close box") << CloseBy::CloseBox;
    }
    void cancelAndCloseBoxChangeNothing() {
        QFETCH(CloseBy, how);
        usePrinters({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                    QStringLiteral("B"));
        QPointer<frmPrint> dialog = openDialog();
        printers(dialog)->setCurrentIndex(2);
        closeBy(dialog, how);
        QTRY_VERIFY(!dialog);
        QVERIFY(service_->documents.isEmpty());
        QVERIFY(service_->refused.isEmpty());
        QCOMPARE(currentPrinter(), QStringLiteral("B"));
        QCOMPARE(printers(openDialog())->currentIndex(), 1);
    }

    // A printer removed while the dialog is open matches nothing at Print: the current
    // printer stays, and the printout goes there.
    void chosenPrinterGoneBeforePrint() {
        usePrinters({QStringLiteral("A"), QStringLiteral("B")}, QStringLiteral("B"));
        QPointer<frmPrint> dialog = openDialog();
        printers(dialog)->setCurrentIndex(0);
        service_->printers = QStringList{QStringLiteral("C"), QStringLiteral("B")};
        closeBy(dialog, CloseBy::PrintButton);
        QTRY_VERIFY(!dialog);
        QCOMPARE(printersUsed(), QStringList{QStringLiteral("B")});
        QCOMPARE(currentPrinter(), QStringLiteral("B"));
    }

    void showWhileOpenBringsItToFront() {
        usePrinters({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                    QStringLiteral("A"));
        frmPrint* dialog = openDialog();
        printers(dialog)->setCurrentIndex(2);
        service_->printers = QStringList{QStringLiteral("X")};

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!dialog->isActiveWindow());

        QCOMPARE(frmPrint::showWindow(context()), dialog);
        QTRY_VERIFY(dialog->isActiveWindow());
        // Not loaded again: same entries, same selection.
        QCOMPARE(entries(printers(dialog)),
                 (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
        QCOMPARE(printers(dialog)->currentIndex(), 2);
        QCOMPARE(mainWindowShown_, 0);
    }

    void mainWindowActiveAfterClosing_data() {
        QTest::addColumn<CloseBy>("how");
        QTest::newRow("Print") << CloseBy::PrintButton;
        QTest::newRow("Cancel") << CloseBy::CancelButton;
        QTest::newRow("close box") << CloseBy::CloseBox;
    }
    void mainWindowActiveAfterClosing() {
        QFETCH(CloseBy, how);
        usePrinters({QStringLiteral("A")}, QStringLiteral("A"));
        QPointer<frmPrint> dialog = openDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        closeBy(dialog, how);
        QTRY_VERIFY(!dialog);
        QVERIFY(!frmPrint::openWindow());
        QCOMPARE(mainWindowShown_, 1);
        QVERIFY(mainWindow_->isVisible());
        QTRY_VERIFY(mainWindow_->isActiveWindow());
    }

    // Without printers the box is empty and Print closes the dialog, printing nowhere. When
    // printers appear later, the system default becomes the current printer.
    void noPrinters() {
        usePrinters({}, QString());
        QPointer<frmPrint> dialog = openDialog();
        QCOMPARE(printers(dialog)->count(), 0);
        closeBy(dialog, CloseBy::PrintButton);
        QTRY_VERIFY(!dialog);
        QVERIFY(service_->documents.isEmpty());
        QCOMPARE(mainWindowShown_, 1);

        usePrinters({QStringLiteral("A"), QStringLiteral("B")}, QStringLiteral("B"));
        QCOMPARE(printers(openDialog())->currentIndex(), 1);
    }
};

QTEST_MAIN(TestFrmPrint)
#include "tst_frmprint.moc"
