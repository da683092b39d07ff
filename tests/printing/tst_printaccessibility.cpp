// The print dialog as assistive technology reads it: a dialog whose printer box says what it
// chooses and which printer is chosen.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <memory>

#include "PrintTestSupport.h"
#include "collection/Collection.h"
#include "printing/CurrentPrinter.h"
#include "printing/frmPrint.h"
#include "support/AccessibleTree.h"
#include "support/FakePrintService.h"

using ludora::Collection;
using ludora::frmPrint;
using ludora::PrintContext;
using ludora::test::FakePrintService;

class TestPrintAccessibility : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePrintService> service_;
    Collection collection_;

    frmPrint* openDialog(const QStringList& printers, const QString& defaultPrinter) {
        service_->printers = printers;
        service_->defaultPrinter = defaultPrinter;
        PrintContext context;
        context.collection = [this]() -> const Collection& { return collection_; };
        frmPrint* dialog = frmPrint::showWindow(context);
        if (dialog && !QTest::qWaitForWindowExposed(dialog)) {
            qWarning("print dialog not exposed");
        }
        return dialog;
    }

    static QAccessibleInterface* printerBox(frmPrint* dialog) {
        return QAccessible::queryAccessibleInterface(
            dialog->findChild<QComboBox*>(QStringLiteral("cboPrinters")));
    }

private Q_SLOTS:
    void initTestCase() { ludora::test::ignoreOffscreenRaiseWarnings(); }

    void init() {
        service_ = std::make_unique<FakePrintService>();
        ludora::resetCurrentPrinter();
    }

    void cleanup() {
        if (frmPrint* open = frmPrint::openWindow()) {
            open->close();
        }
        QTest::qWait(0);
        service_.reset();
    }

    void dialogWithNamedControls() {
        frmPrint* dialog = openDialog({"A", "B"}, "A");
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(dialog);
        QVERIFY(window);
        QCOMPARE(window->role(), QAccessible::Dialog);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Print List"));
        QStringList controls;
        for (int i = 0; i < window->childCount(); ++i) {
            controls << window->child(i)->text(QAccessible::Name);
        }
        QCOMPARE(controls, (QStringList{"Printer: A", "Print", "Cancel"}));
        const QStringList unnamed = ludora::test::unnamedControls(dialog);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }

    void printerBoxName_data() {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QString>("defaultPrinter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("default first") << QStringList{"A", "B"} << "A"
                                       << "Printer: A"
                                       << "A";
        QTest::newRow("default second") << QStringList{"A", "B"} << "B"
                                        << "Printer: B"
                                        << "B";
        QTest::newRow("no printers") << QStringList{} << ""
                                     << "Printer"
                                     << "";
        QTest::newRow("default not installed") << QStringList{"A"} << "Z"
                                               << "Printer"
                                               << "";
        QTest::newRow("only letter case differs") << QStringList{"a", "A"} << "A"
                                                  << "Printer: A"
                                                  << "A";
    }
    void printerBoxName() {
        QFETCH(QStringList, printers);
        QFETCH(QString, defaultPrinter);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QAccessibleInterface* box = printerBox(openDialog(printers, defaultPrinter));
        QVERIFY(box);
        QCOMPARE(box->role(), QAccessible::ComboBox);
        QCOMPARE(box->text(QAccessible::Name), name);
        QCOMPARE(box->text(QAccessible::Value), value);
    }

    // Choosing another printer by the keyboard renames the box at once.
    void nameFollowsTheChoice() {
        frmPrint* dialog = openDialog({"A", "B", "C"}, "A");
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("cboPrinters"));
        QAccessibleInterface* box = printerBox(dialog);
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Printer: B"));
        QTest::keyClick(combo, Qt::Key_End);
        QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Printer: C"));
    }

    // The list of printers is the box's one child; the box's action opens and closes it.
    void boxOpensItsList() {
        frmPrint* dialog = openDialog({"A", "B"}, "B");
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("cboPrinters"));
        QAccessibleInterface* box = printerBox(dialog);
        QCOMPARE(box->childCount(), 1);
        QAccessibleInterface* list = box->child(0);
        QVERIFY(list);
        QCOMPARE(list->object(), combo->view());
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Printers"));
        QCOMPARE(box->indexOfChild(list), 0);
        QCOMPARE(list->parent()->object(), combo);
        QAccessibleActionInterface* actions = box->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
        QVERIFY(!box->state().expanded);
        actions->doAction(QAccessibleActionInterface::showMenuAction());
        QTRY_VERIFY(combo->view()->isVisible());
        QVERIFY(box->state().expanded);
        actions->doAction(QAccessibleActionInterface::showMenuAction());
        QTRY_VERIFY(!combo->view()->isVisible());
        QCOMPARE(combo->currentText(), QStringLiteral("B"));
    }
};

QTEST_MAIN(TestPrintAccessibility)
#include "tst_printaccessibility.moc"
