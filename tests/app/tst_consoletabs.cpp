// The console tabs of the main window: only available tabs can become current, whatever
// the user or assistive technology does.
#include <QAccessible>
#include <QPointer>

#include "MainWindowTest.h"
#include "support/FakeDialogs.h"

using namespace ludora;
using namespace ludora::test;

class TestConsoleTabs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { window_ = openMainWindow(); }
    void cleanup() { discardMainWindow(window_); }

    void mouseClickSelectsOnlyAvailableTabs_data() {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("expected");
        // From JAGUAR, so that a refused click shows.
        QTest::newRow("N64") << 0 << 0;
        QTest::newRow("JAGUAR") << 1 << 1;
        QTest::newRow("TG16") << 2 << 2;
        QTest::newRow("UserDef3") << 3 << 1;
        QTest::newRow("UserDef11") << 11 << 1;
        QTest::newRow("UserDef24") << 24 << 1;
    }
    void mouseClickSelectsOnlyAvailableTabs() {
        QFETCH(int, clicked);
        QFETCH(int, expected);
        ConsoleTabs* tabs = window_->tabs();
        QTest::mouseClick(tabs->tabHeader(1), Qt::LeftButton);
        QCOMPARE(tabs->currentIndex(), 1);
        QTest::mouseClick(tabs->tabHeader(clicked), Qt::LeftButton);
        QCOMPARE(tabs->currentIndex(), expected);
        QCOMPARE(window_->collection().currentTab(), expected);
        QVERIFY(window_->list(expected)->isVisible());
        for (int tab = 0; tab < tabs->count(); ++tab) {
            QCOMPARE(tabs->tabHeader(tab)->isChecked(), tab == expected);
        }
    }

    void arrowKeysMoveAmongAvailableTabs_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("right from TG16 wraps to N64") << 2 << int(Qt::Key_Right) << 0;
        QTest::newRow("down from TG16 wraps to N64") << 2 << int(Qt::Key_Down) << 0;
        QTest::newRow("left from N64 wraps to TG16") << 0 << int(Qt::Key_Left) << 2;
        QTest::newRow("up from JAGUAR") << 1 << int(Qt::Key_Up) << 0;
        QTest::newRow("right from N64") << 0 << int(Qt::Key_Right) << 1;
        QTest::newRow("home") << 2 << int(Qt::Key_Home) << 0;
        QTest::newRow("end skips the unavailable") << 0 << int(Qt::Key_End) << 2;
    }
    void arrowKeysMoveAmongAvailableTabs() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, expected);
        ConsoleTabs* tabs = window_->tabs();
        QVERIFY(tabs->setCurrentIndex(start));
        tabs->tabHeader(start)->setFocus();
        QTRY_VERIFY(tabs->tabHeader(start)->hasFocus());
        QTest::keyClick(tabs->tabHeader(start), Qt::Key(key));
        QCOMPARE(tabs->currentIndex(), expected);
        QCOMPARE(window_->collection().currentTab(), expected);
        // The focus moves along with the current header.
        QVERIFY(tabs->tabHeader(expected)->hasFocus());
    }

    void ctrlTabMovesAmongAvailableTabs_data() {
        QTest::addColumn<bool>("fromList");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("expected");
        const int ctrl = int(Qt::ControlModifier);
        const int ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
        for (bool fromList : {false, true}) {
            const char* where = fromList ? "list" : "header";
            QTest::addRow("%s: ctrl+tab from TG16", where)
                << fromList << 2 << int(Qt::Key_Tab) << ctrl << 0;
            QTest::addRow("%s: ctrl+tab from JAGUAR", where)
                << fromList << 1 << int(Qt::Key_Tab) << ctrl << 2;
            QTest::addRow("%s: ctrl+shift+tab from N64", where)
                << fromList << 0 << int(Qt::Key_Tab) << ctrlShift << 2;
            QTest::addRow("%s: ctrl+backtab from N64", where)
                << fromList << 0 << int(Qt::Key_Backtab) << ctrlShift << 2;
        }
    }
    void ctrlTabMovesAmongAvailableTabs() {
        QFETCH(bool, fromList);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, expected);
        ConsoleTabs* tabs = window_->tabs();
        QVERIFY(tabs->setCurrentIndex(start));
        QWidget* focus =
            fromList ? static_cast<QWidget*>(window_->list(start)) : tabs->tabHeader(start);
        focus->setFocus();
        QTRY_VERIFY(focus->hasFocus());
        QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(tabs->currentIndex(), expected);
        QCOMPARE(window_->collection().currentTab(), expected);
    }

    void headersAreOneTabStopAfterTheButtons() {
        ConsoleTabs* tabs = window_->tabs();
        auto* text1 = control<QLineEdit>(window_, "Text1");
        text1->setFocus();
        QTRY_VERIFY(text1->hasFocus());
        QStringList order;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName() +
                         (qobject_cast<TabHeaderButton*>(QApplication::focusWidget())
                              ? QStringLiteral(":") + tabs->tabText(tabs->currentIndex())
                              : QString());
        }
        QCOMPARE(order, (QStringList{"Command1", "Command2", ":TG16", "List3", "Text1"}));
        QCOMPARE(QApplication::focusWidget(), text1);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            QCOMPARE(tabs->tabHeader(tab)->focusPolicy() == Qt::NoFocus, tab != 2);
        }
    }

    void accessibilityReportsUnavailableTabs() {
        ConsoleTabs* tabs = window_->tabs();
        QAccessibleInterface* list =
            QAccessible::queryAccessibleInterface(tabs->tabHeader(0)->parentWidget());
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::PageTabList);
        QCOMPARE(list->childCount(), 25);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            QAccessibleInterface* header = list->child(tab);
            QVERIFY(header);
            QCOMPARE(header->role(), QAccessible::PageTab);
            QCOMPARE(header->text(QAccessible::Name), tabs->tabText(tab));
            QCOMPARE(bool(header->state().disabled), tab > 2);
            QCOMPARE(bool(header->state().selected), tab == 2);
            QAccessibleActionInterface* actions = header->actionInterface();
            QVERIFY(actions);
            QCOMPARE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()),
                     tab <= 2);
        }
    }

    void accessibilityCannotSelectUnavailableTabs_data() {
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("expected");
        QTest::newRow("N64") << 0 << 0;
        QTest::newRow("JAGUAR") << 1 << 1;
        QTest::newRow("UserDef3") << 3 << 2;
        QTest::newRow("UserDef24") << 24 << 2;
    }
    void accessibilityCannotSelectUnavailableTabs() {
        QFETCH(int, pressed);
        QFETCH(int, expected);
        QAccessibleInterface* header =
            QAccessible::queryAccessibleInterface(window_->tabs()->tabHeader(pressed));
        QVERIFY(header);
        for (const QString& action : {QAccessibleActionInterface::pressAction(),
                                      QAccessibleActionInterface::setFocusAction()}) {
            header->actionInterface()->doAction(action);
        }
        QCOMPARE(window_->tabs()->currentIndex(), expected);
        QCOMPARE(window_->collection().currentTab(), expected);
        QCOMPARE(window_->tabs()->tabHeader(pressed)->hasFocus(), pressed == expected);
    }

    void availabilityAndCaptionsFollowTheCollection() {
        ConsoleTabs* tabs = window_->tabs();
        Collection& c = window_->collection();
        c.setAvailable(5, true);
        QTest::mouseClick(tabs->tabHeader(5), Qt::LeftButton);
        QCOMPARE(c.currentTab(), 5);
        c.setAvailable(6, true);
        c.setAvailable(6, false);
        QTest::mouseClick(tabs->tabHeader(6), Qt::LeftButton);
        QCOMPARE(c.currentTab(), 5);
        c.setCaption(0, QStringLiteral("N64 PAL"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("N64 PAL"));
        QCOMPARE(QAccessible::queryAccessibleInterface(tabs->tabHeader(0))->text(QAccessible::Name),
                 QStringLiteral("N64 PAL"));
    }

    void programCannotMakeAnUnavailableTabCurrent() {
        QVERIFY(!window_->tabs()->setCurrentIndex(3));
        QVERIFY(!window_->tabs()->setCurrentIndex(25));
        QVERIFY(!window_->tabs()->setCurrentIndex(-1));
        QCOMPARE(window_->tabs()->currentIndex(), 2);
    }

private:
    FakeDialogs dialogs_;
    QPointer<frmMain> window_;
};

QTEST_MAIN(TestConsoleTabs)
#include "tst_consoletabs.moc"
