// What assistive technology and keyboard users meet in the program's windows: a name for
// every control, and a focus that can be seen wherever it lands.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include "MainWindowTest.h"
#include "about/frmAbout.h"
#include "app/VisibleFocusStyle.h"
#include "printing/frmPrint.h"
#include "support/AccessibleTree.h"
#include "support/FakePrintService.h"

using namespace ludora;
using namespace ludora::test;

namespace {

// Tabs round the window's focus chain from `start` until `target` has the focus. Returns
// the pictures of `target` just before and just after it took the focus.
std::pair<QImage, QImage> picturesAroundFocus(QWidget* start, QWidget* target) {
    start->setFocus();
    if (!QTest::qWaitFor([start] { return start->hasFocus(); })) {
        return {};
    }
    QImage without;
    for (int i = 0; i < 8 && !target->hasFocus(); ++i) {
        without = target->grab().toImage();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    if (!target->hasFocus()) {
        return {};
    }
    return {without, target->grab().toImage()};
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useVisibleFocusStyle(); }
    void init() { window_ = openMainWindow(); }
    void cleanup() {
        delete frmAbout::openWindow();
        if (frmPrint* dialog = frmPrint::openWindow()) {
            dialog->close();
            QTest::qWait(0);
        }
        discardMainWindow(window_);
    }

    void everyControlHasAName_data() {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("empty lists") << QStringList();
        QTest::newRow("names in the list") << QStringList{"Alien Crush", "Neutopia"};
    }
    void everyControlHasAName() {
        QFETCH(QStringList, names);
        fillList(window_->collection(), 2, names);
        const QStringList unnamed = unnamedControls(window_);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }

    void countIsReadWithItsCaption() {
        Collection& c = window_->collection();
        fillList(c, 2, {"Alien Crush", "Neutopia"});
        window_->tmrNumGames_Timer();
        QAccessibleInterface* count =
            QAccessible::queryAccessibleInterface(control<QLabel>(window_, "lblNumGames"));
        QVERIFY(count);
        QCOMPARE(count->text(QAccessible::Name), QStringLiteral("Total games in list: 2"));
        QVERIFY(window_->tabs()->setCurrentIndex(0));
        window_->tmrNumGames_Timer();
        QCOMPARE(count->text(QAccessible::Name), QStringLiteral("Total games in list: 0"));
    }

    // The control with the focus looks different from the same control without it, in the
    // main window and in the windows it opens.
    void focusIsVisible_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("names");
        const QStringList none;
        QTest::newRow("Text1") << "main"
                               << "Text1" << none;
        QTest::newRow("Add Name, the default button") << "main"
                                                      << "Command1" << none;
        QTest::newRow("Delete Name(s)") << "main"
                                        << "Command2" << none;
        QTest::newRow("tab header") << "main"
                                    << "current tab" << none;
        QTest::newRow("empty list") << "main"
                                    << "List3" << none;
        QTest::newRow("list with names") << "main"
                                         << "List3" << QStringList{"Alien Crush"};
        QTest::newRow("About: OK, the default button") << "about"
                                                       << "cmdOK" << none;
        QTest::newRow("About: System Info") << "about"
                                            << "cmdSysInfo" << none;
        QTest::newRow("About: home page link") << "about"
                                               << "Label3" << none;
        QTest::newRow("Print: printers") << "print"
                                         << "cboPrinters" << none;
        QTest::newRow("Print: Print") << "print"
                                      << "Command1" << none;
        QTest::newRow("Print: Cancel") << "print"
                                       << "Command2" << none;
    }
    void focusIsVisible() {
        QFETCH(QString, window);
        QFETCH(QString, target);
        QFETCH(QStringList, names);
        FakePrintService printers;
        printers.printers = QStringList{"LudoraPDF", "LudoraPDF2"};
        printers.defaultPrinter = QStringLiteral("LudoraPDF");
        fillList(window_->collection(), 2, names);

        QWidget* top = window_;
        if (window == QLatin1String("about")) {
            window_->mnuHelpAbout_Click();
            top = frmAbout::openWindow();
        } else if (window == QLatin1String("print")) {
            window_->mnuFilePrint_Click();
            top = frmPrint::openWindow();
        }
        QVERIFY(top);
        top->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(top));
        QWidget* widget = target == QLatin1String("current tab")
                              ? window_->tabs()->tabHeader(window_->tabs()->currentIndex())
                              : top->findChild<QWidget*>(target);
        QVERIFY(widget);
        QWidget* start = widget->nextInFocusChain();
        while (start->focusPolicy() == Qt::NoFocus || !start->isVisibleTo(top)) {
            start = start->nextInFocusChain();
        }
        QVERIFY(start != widget);

        const auto [without, with] = picturesAroundFocus(start, widget);
        QVERIFY2(!with.isNull(), "the keyboard does not reach the control");
        QVERIFY2(with != without, "the focus does not show");
    }

private:
    frmMain* window_ = nullptr;
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
