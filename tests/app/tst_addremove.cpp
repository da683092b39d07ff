// Adding and deleting names in the main window, and the game count that follows them.
#include <QPointer>
#include <QTimer>

#include "MainWindowTest.h"
#include "platform/widgets/Twips.h"
#include "support/FakeDialogs.h"

using namespace ludora;
using namespace ludora::test;

class TestAddRemove : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        dialogs_.clear();
        window_ = openMainWindow();
        text1_ = control<QLineEdit>(window_, "Text1");
        add_ = control<QPushButton>(window_, "Command1");
        delete_ = control<QPushButton>(window_, "Command2");
        count_ = control<QLabel>(window_, "lblNumGames");
    }
    void cleanup() { discardMainWindow(window_); }

    void addPutsTheTypedNameInItsPlace_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QStringList>("after");
        for (bool byEnter : {false, true}) {
            const char* how = byEnter ? "enter" : "click";
            QTest::addRow("%s: empty name sorts first", how)
                << QStringList{"Alpha"} << QStringList{""} << byEnter << QStringList{"", "Alpha"};
            QTest::addRow("%s: duplicate kept", how) << QStringList{"Mario"} << QStringList{"Mario"}
                                                     << byEnter << QStringList{"Mario", "Mario"};
            QTest::addRow("%s: blanks kept", how)
                << QStringList{} << QStringList{"  Zelda "} << byEnter << QStringList{"  Zelda "};
            QTest::addRow("%s: letter case ignored", how)
                << QStringList{} << QStringList{"beta", "Alpha", "alpha2"} << byEnter
                << QStringList{"Alpha", "alpha2", "beta"};
            QTest::addRow("%s: between two", how)
                << QStringList{"Echo", "Charlie"} << QStringList{"delta"} << byEnter
                << QStringList{"Charlie", "delta", "Echo"};
            QTest::addRow("%s: line breaks become blanks", how)
                << QStringList{} << QStringList{"Sonic\r\n2", QStringLiteral("Ys") + QChar(26)}
                << byEnter << QStringList{"Sonic  2", "Ys "};
        }
    }
    void addPutsTheTypedNameInItsPlace() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, typed);
        QFETCH(bool, byEnter);
        QFETCH(QStringList, after);
        Collection& c = window_->collection();
        for (const QString& name : before) {
            c.addName(2, name);
        }
        text1_->setFocus();
        QTRY_VERIFY(text1_->hasFocus());
        for (const QString& name : typed) {
            // setText: a pasted name may hold line breaks that keys cannot type.
            text1_->setText(name);
            if (byEnter) {
                QTest::keyClick(text1_, Qt::Key_Return);
            } else {
                add_->click();
            }
            QVERIFY(text1_->text().isEmpty());
        }
        QCOMPARE(namesOf(c, 2), after);
        QCOMPARE(rowsOf(window_->list(2)), after);
        QVERIFY(c.isDirty());
        // Neither way moves the focus away from the name box.
        QVERIFY(text1_->hasFocus());
        QVERIFY(dialogs_.shown().isEmpty());
        for (int tab : {0, 1}) {
            QCOMPARE(c.count(tab), 0);
        }
    }

    void typedKeysReachTheCurrentList() {
        QTest::mouseClick(window_->tabs()->tabHeader(0), Qt::LeftButton);
        QTest::keyClicks(text1_, QStringLiteral("Star Fox 64"));
        QTest::keyClick(text1_, Qt::Key_Enter);  // the keypad's Enter
        QTest::keyClicks(text1_, QStringLiteral("F-Zero X"));
        QTest::keyClick(text1_, Qt::Key_Return);
        QCOMPARE(namesOf(window_->collection(), 0), (QStringList{"F-Zero X", "Star Fox 64"}));
        QCOMPARE(window_->collection().count(2), 0);
    }

    void enterOnTheListAddsEnterOnDeleteDeletes() {
        Collection& c = window_->collection();
        c.addName(2, QStringLiteral("Bonk"));
        window_->list(2)->setFocus();
        QTRY_VERIFY(window_->list(2)->hasFocus());
        text1_->setText(QStringLiteral("Gate of Thunder"));
        QTest::keyClick(window_->list(2), Qt::Key_Return);
        QCOMPARE(namesOf(c, 2), (QStringList{"Bonk", "Gate of Thunder"}));
        // Enter on a focused button presses that button, not the default one.
        c.setSelected(2, 0, true);
        text1_->setText(QStringLiteral("Not added"));
        delete_->setFocus();
        QTRY_VERIFY(delete_->hasFocus());
        QTest::keyClick(delete_, Qt::Key_Return);
        QCOMPARE(namesOf(c, 2), (QStringList{"Gate of Thunder"}));
        QCOMPARE(text1_->text(), QStringLiteral("Not added"));
        // Add Name stays the window's default button, also once it has had the focus.
        for (QWidget* next : {static_cast<QWidget*>(add_), static_cast<QWidget*>(text1_)}) {
            next->setFocus();
            QTRY_VERIFY(next->hasFocus());
        }
        QVERIFY(add_->isDefault());
    }

    void deleteRemovesTheSelectedNames_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("dirtyBefore");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("dirtyAfter");
        const QStringList six{"a1", "a2", "a3", "a4", "a5", "a6"};
        QTest::newRow("scattered 1, 2, 5 of six")
            << six << QList<int>{1, 2, 5} << false << QStringList{"a1", "a4", "a5"} << true;
        QTest::newRow("the first only")
            << six << QList<int>{0} << false << QStringList{"a2", "a3", "a4", "a5", "a6"} << true;
        QTest::newRow("nothing selected, clean") << six << QList<int>{} << false << six << false;
        QTest::newRow("nothing selected, dirty") << six << QList<int>{} << true << six << true;
        QTest::newRow("empty list, clean")
            << QStringList{} << QList<int>{} << false << QStringList{} << false;
        QTest::newRow("all selected")
            << six << QList<int>{0, 1, 2, 3, 4, 5} << false << QStringList{} << true;
        QTest::newRow("equal names, the second selected")
            << QStringList{"Same", "same", "Same"} << QList<int>{1} << false
            << QStringList{"Same", "Same"} << true;
    }
    void deleteRemovesTheSelectedNames() {
        QFETCH(QStringList, names);
        QFETCH(QList<int>, selected);
        QFETCH(bool, dirtyBefore);
        QFETCH(QStringList, after);
        QFETCH(bool, dirtyAfter);
        Collection& c = window_->collection();
        for (const QString& name : names) {
            c.addName(2, name);
        }
        c.setDirty(dirtyBefore);
        // The user selects with Ctrl+click in the list.
        for (int row : selected) {
            clickRow(window_->list(2), row, Qt::ControlModifier);
        }
        for (int row = 0; row < names.size(); ++row) {
            QCOMPARE(c.isSelected(2, row), selected.contains(row));
        }
        QTest::mouseClick(delete_, Qt::LeftButton);
        QCOMPARE(namesOf(c, 2), after);
        QCOMPARE(rowsOf(window_->list(2)), after);
        QCOMPARE(c.isDirty(), dirtyAfter);
        for (int row = 0; row < c.count(2); ++row) {
            QVERIFY(!c.isSelected(2, row));
        }
        QVERIFY(window_->list(2)->selectionModel()->selectedIndexes().isEmpty());
        QVERIFY(dialogs_.shown().isEmpty());
    }

    void deleteAfterAShiftClickRange() {
        Collection& c = window_->collection();
        fillList(c, 0, {"n1", "n2", "n3", "n4", "n5"});
        QTest::mouseClick(window_->tabs()->tabHeader(0), Qt::LeftButton);
        clickRow(window_->list(0), 1);
        clickRow(window_->list(0), 3, Qt::ShiftModifier);
        add_->setFocus();
        QTest::mouseClick(delete_, Qt::LeftButton);
        QCOMPARE(namesOf(c, 0), (QStringList{"n1", "n5"}));
        QTRY_COMPARE(count_->text(), QStringLiteral("2"));
    }

    // Shift+click and drags select from row to row, whichever pixel of a row they end on; a
    // delete leaves the cursor, and the anchor of the next Shift+click, at the first name
    // after those deleted (or the last name).
    void mouseSelectionAndDeleteKeepTheListsPlace_data() {
        QTest::addColumn<bool>("drag");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");  // ended on the row's lowest pixel
        QTest::addColumn<int>("cursorAfter");
        QTest::newRow("shift+click upward") << false << 6 << 2 << 2;
        QTest::newRow("shift+click downward") << false << 2 << 6 << 2;
        QTest::newRow("drag upward") << true << 8 << 4 << 4;
        QTest::newRow("up to the last name") << false << 9 << 7 << 6;
    }
    void mouseSelectionAndDeleteKeepTheListsPlace() {
        QFETCH(bool, drag);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, cursorAfter);
        Collection& c = window_->collection();
        QStringList names;
        for (int i = 0; i < 10; ++i) {
            names << QStringLiteral("n%1").arg(i);
        }
        fillList(c, 2, names);
        QAbstractItemView* list = window_->list(2);
        const auto at = [list](int row, bool lowest) {
            const QRect rect = list->visualRect(list->model()->index(row, 0));
            return lowest ? QPoint(rect.center().x(), rect.bottom()) : rect.center();
        };
        if (drag) {
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at(from, false));
            QTest::mouseMove(list->viewport(), at(to, true));
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at(to, true));
        } else {
            clickRow(list, from);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(to, true));
        }
        const QStringList kept = names.mid(0, qMin(from, to)) + names.mid(qMax(from, to) + 1);
        QCOMPARE(list->selectionModel()->selectedRows().size(), qAbs(from - to) + 1);
        QTest::mouseClick(delete_, Qt::LeftButton);
        QCOMPARE(namesOf(c, 2), kept);
        QCOMPARE(list->currentIndex().row(), cursorAfter);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(0, false));
        QCOMPARE(list->selectionModel()->selectedRows().size(), cursorAfter + 1);
    }

    void selectionsSetByTheCollectionShowInTheList() {
        Collection& c = window_->collection();
        fillList(c, 2, {"a", "b", "c", "d"});
        c.setSelectedRange(2, 1, 2, true);
        QItemSelectionModel* selection = window_->list(2)->selectionModel();
        QVERIFY(!selection->isRowSelected(0, {}));
        QVERIFY(selection->isRowSelected(1, {}));
        QVERIFY(selection->isRowSelected(2, {}));
        c.setSelected(2, 1, false);
        QVERIFY(!selection->isRowSelected(1, {}));
        // Names added in bulk keep the flags of those already there.
        fillList(c, 2, {"aa"});
        QCOMPARE(namesOf(c, 2), (QStringList{"a", "aa", "b", "c", "d"}));
        QVERIFY(selection->isRowSelected(3, {}));
        QCOMPARE(selection->selectedRows().size(), 1);
    }

    void aFullListRefusesTheName_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("click") << false;
        QTest::newRow("enter") << true;
    }
    void aFullListRefusesTheName() {
        QFETCH(bool, byEnter);
        Collection& c = window_->collection();
        QStringList names;
        for (int i = 0; i < Collection::kMaxNames - 1; ++i) {
            names << QStringLiteral("Game %1").arg(i, 5, 10, QLatin1Char('0'));
        }
        fillList(c, 2, names);
        // The last free place still takes a name.
        text1_->setText(QStringLiteral("Last one"));
        add_->click();
        QCOMPARE(c.count(2), Collection::kMaxNames);
        QVERIFY(dialogs_.shown().isEmpty());
        c.setDirty(false);

        text1_->setFocus();
        text1_->setText(QStringLiteral("One too many"));
        if (byEnter) {
            QTest::keyClick(text1_, Qt::Key_Return);
        } else {
            QTest::mouseClick(add_, Qt::LeftButton);
        }
        QCOMPARE(c.count(2), Collection::kMaxNames);
        QCOMPARE(text1_->text(), QStringLiteral("One too many"));
        QVERIFY(!c.isDirty());
        const QList<FakeDialogs::Shown> messages = dialogs_.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].message.buttons, platform::ButtonSet::Ok);
        QCOMPARE(messages[0].message.prompt,
                 QStringLiteral("The list \"TG16\" is full: a list holds at most 32767 names."));
        // Other lists still take names.
        QTest::mouseClick(window_->tabs()->tabHeader(1), Qt::LeftButton);
        add_->click();
        QCOMPARE(namesOf(c, 1), (QStringList{"One too many"}));
        QTRY_COMPARE(count_->text(), QStringLiteral("1"));
        QTest::mouseClick(window_->tabs()->tabHeader(2), Qt::LeftButton);
        QTRY_COMPARE(count_->text(), QStringLiteral("32767"));
        QCOMPARE(count_->accessibleName(), QStringLiteral("Total games in list: 32767"));
    }

    void countFollowsAddsDeletesAndTabs() {
        Collection& c = window_->collection();
        QCOMPARE(count_->text(), QStringLiteral("0"));
        for (const char* name : {"One", "Two", "Three"}) {
            text1_->setText(QString::fromLatin1(name));
            add_->click();
        }
        QTRY_COMPARE(count_->text(), QStringLiteral("3"));
        QCOMPARE(count_->accessibleName(), QStringLiteral("Total games in list: 3"));

        fillList(c, 0, {"a", "b", "c", "d", "e"});
        QTest::mouseClick(window_->tabs()->tabHeader(0), Qt::LeftButton);
        QTRY_COMPARE(count_->text(), QStringLiteral("5"));
        QTest::mouseClick(window_->tabs()->tabHeader(1), Qt::LeftButton);
        QTRY_COMPARE(count_->text(), QStringLiteral("0"));

        QTest::mouseClick(window_->tabs()->tabHeader(0), Qt::LeftButton);
        clickRow(window_->list(0), 1);
        clickRow(window_->list(0), 4, Qt::ControlModifier);
        delete_->click();
        QTRY_COMPARE(count_->text(), QStringLiteral("3"));

        // A list filled without any command (as Open does) shows without help.
        fillList(c, 0, {"x", "y", "z", "w", "v", "u", "t", "s", "r", "q"});
        QTRY_COMPARE(count_->text(), QStringLiteral("13"));
        // The count keeps its right edge and fits its width to the text.
        const QRect at(count_->mapTo(window_->centralWidget(), QPoint(0, 0)), count_->size());
        QCOMPARE(at.x() + at.width(), twipsToPixels(8160 + 105));
        QVERIFY(at.width() >= count_->fontMetrics().horizontalAdvance(QStringLiteral("13")));
        QVERIFY(at.width() <= count_->fontMetrics().horizontalAdvance(QStringLiteral("13")) + 1);
    }

    void countTimerRunsEveryTenthOfASecond() {
        auto* timer = control<QTimer>(window_, "tmrNumGames");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 100);
        QVERIFY(!timer->isSingleShot());
    }

private:
    FakeDialogs dialogs_;
    QPointer<frmMain> window_;
    QLineEdit* text1_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QLabel* count_ = nullptr;
};

QTEST_MAIN(TestAddRemove)
#include "tst_addremove.moc"
