// The About box and the print dialog are modeless companions of the main window: it stays
// usable while they are open, they outlive it, and closing the print dialog brings a main
// window back.
#include <QPointer>

#include "MainWindowTest.h"
#include "about/frmAbout.h"
#include "printing/frmPrint.h"
#include "support/FakeDialogs.h"
#include "support/FakePrintService.h"

using namespace ludora;
using namespace ludora::test;

class TestModeless : public QObject {
    Q_OBJECT

private:
    FakeDialogs dialogs_;

    static frmAbout* openAboutBox() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* about = qobject_cast<frmAbout*>(top); about && about->isVisible()) {
                return about;
            }
        }
        return nullptr;
    }

private Q_SLOTS:
    void cleanup() {
        if (frmPrint* print = frmPrint::openWindow()) {
            print->close();
        }
        const auto tops = QApplication::topLevelWidgets();
        for (QWidget* top : tops) {
            if (auto* about = qobject_cast<frmAbout*>(top)) {
                about->close();
            }
        }
        while (frmMain* window = frmMain::openWindow()) {
            discardMainWindow(window);
        }
    }

    void mainWindowStaysUsable_data() {
        QTest::addColumn<bool>("about");
        QTest::newRow("About box open") << true;
        QTest::newRow("print dialog open") << false;
    }

    void mainWindowStaysUsable() {
        QFETCH(bool, about);
        FakePrintService printers;
        frmMain* window = frmMain::showWindow();
        if (about) {
            menuEntry(window, "mnuHelpAbout")->trigger();
        } else {
            menuEntry(window, "mnuFilePrint")->trigger();
        }
        QPointer<QWidget> companion = about ? static_cast<QWidget*>(openAboutBox())
                                            : static_cast<QWidget*>(frmPrint::openWindow());
        QVERIFY(companion);
        QVERIFY(companion->isVisible());
        QVERIFY(!companion->isModal());
        QCOMPARE(companion->parentWidget(), nullptr);

        // Add two names and delete one, through the controls, while the companion is open.
        auto* text = control<QLineEdit>(window, "Text1");
        for (const char* name : {"Bonk's Adventure", "Air Zonk"}) {
            text->setText(QString::fromUtf8(name));
            QTest::mouseClick(control<QPushButton>(window, "Command1"), Qt::LeftButton);
        }
        QCOMPARE(namesOf(window->collection(), 2),
                 (QStringList{QStringLiteral("Air Zonk"), QStringLiteral("Bonk's Adventure")}));
        clickRow(window->list(2), 0);
        QTest::mouseClick(control<QPushButton>(window, "Command2"), Qt::LeftButton);
        QCOMPARE(namesOf(window->collection(), 2), QStringList{QStringLiteral("Bonk's Adventure")});
        QVERIFY(window->collection().isDirty());
        QVERIFY(companion);
        QVERIFY(companion->isVisible());
    }

    void companionsOutliveTheMainWindow() {
        FakePrintService printers;
        frmMain* window = frmMain::showWindow();
        menuEntry(window, "mnuHelpAbout")->trigger();
        menuEntry(window, "mnuFilePrint")->trigger();
        QPointer<frmPrint> print = frmPrint::openWindow();
        QVERIFY(print);
        QPointer<frmMain> closed = window;
        QVERIFY(window->close());
        QTRY_VERIFY(closed.isNull());
        QVERIFY(print && print->isVisible());

        // Closing the print dialog brings a fresh main window, started as at program start.
        print->close();
        QTRY_VERIFY(print.isNull());
        frmMain* fresh = frmMain::openWindow();
        QVERIFY(fresh);
        QVERIFY(fresh->isVisible());
        QCOMPARE(fresh->collection().currentTab(), 2);
        QCOMPARE(fresh->collection().count(2), 0);
        QVERIFY(!fresh->collection().isAvailable(3));
    }
};

QTEST_MAIN(TestModeless)
#include "tst_modeless.moc"
