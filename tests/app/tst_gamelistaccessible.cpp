// What assistive technology reads of a game list: a list of its rows as list items named by
// their text, selected through the table of rows or an item's Toggle, and items that stay
// those of their rows while rows come and go.
#include <QAccessible>
#include <QApplication>
#include <QStringListModel>
#include <QTest>

#include "app/GameListView.h"

using ludora::GameListView;

namespace {

QStringList numbered(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << QStringLiteral("Game %1").arg(i, 3, 10, QLatin1Char('0'));
    }
    return names;
}

}  // namespace

class TestGameListAccessible : public QObject {
    Q_OBJECT

private:
    QStringListModel model_;
    std::unique_ptr<GameListView> view_;
    QAccessibleInterface* list_ = nullptr;

    QList<int> selectedRows() const {
        QList<int> rows;
        for (int row = 0; row < model_.rowCount(); ++row) {
            if (view_->selectionModel()->isSelected(model_.index(row))) {
                rows << row;
            }
        }
        return rows;
    }

private Q_SLOTS:
    void init() {
        model_.setStringList(numbered(100));
        view_ = std::make_unique<GameListView>();
        view_->setModel(&model_);
        view_->setAccessibleName(QStringLiteral("TG16"));
        view_->resize(300, 200);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
        list_ = QAccessible::queryAccessibleInterface(view_.get());
        QVERIFY(list_);
    }
    void cleanup() { view_.reset(); }

    void rowsAreListItems_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("onScreen");
        QTest::newRow("first") << 0 << true;
        QTest::newRow("last, scrolled away") << 99 << false;
    }
    void rowsAreListItems() {
        QFETCH(int, row);
        QFETCH(bool, onScreen);
        QCOMPARE(list_->role(), QAccessible::List);
        QCOMPARE(list_->text(QAccessible::Name), QStringLiteral("TG16"));
        QCOMPARE(list_->childCount(), 100);
        QCOMPARE(list_->tableInterface()->rowCount(), 100);
        QCOMPARE(list_->tableInterface()->columnCount(), 1);

        QAccessibleInterface* item = list_->child(row);
        QVERIFY(item && item->isValid());
        QCOMPARE(item->role(), QAccessible::ListItem);
        QCOMPARE(item->text(QAccessible::Name), numbered(100).at(row));
        QCOMPARE(item->parent(), list_);
        QCOMPARE(list_->indexOfChild(item), row);
        QCOMPARE(list_->tableInterface()->cellAt(row, 0), item);
        QCOMPARE(item->tableCellInterface()->rowIndex(), row);
        QCOMPARE(item->tableCellInterface()->table(), list_);
        QCOMPARE(item->actionInterface()->actionNames(), QStringList{QStringLiteral("Toggle")});
        const QRect rect = view_->visualRect(model_.index(row));
        QCOMPARE(item->rect(), QRect(view_->viewport()->mapToGlobal(rect.topLeft()), rect.size()));
        QCOMPARE(bool(item->state().offscreen), !onScreen);
        QVERIFY(item->state().selectable && item->state().focusable);
        const QPoint centre = item->rect().center();
        QCOMPARE(list_->childAt(centre.x(), centre.y()), onScreen ? item : nullptr);
    }

    // Each step: "select", "unselect" (the table's rows) or "toggle" (the item's action), a row.
    void selectionThroughTheTableAndToggle_data() {
        QTest::addColumn<bool>("several");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("several: rows join")
            << true << QStringList{"select 1", "select 3"} << QList<int>{1, 3};
        QTest::newRow("several: toggle in and out")
            << true << QStringList{"toggle 2", "toggle 5", "toggle 2"} << QList<int>{5};
        QTest::newRow("several: unselect")
            << true << QStringList{"select 1", "unselect 1"} << QList<int>{};
        QTest::newRow("one: a row replaces the other")
            << false << QStringList{"select 1", "toggle 4"} << QList<int>{4};
        QTest::newRow("one: the only row stays selected")
            << false << QStringList{"toggle 4", "toggle 4", "unselect 4"} << QList<int>{4};
    }
    void selectionThroughTheTableAndToggle() {
        QFETCH(bool, several);
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, selected);
        view_->setSelectionMode(several ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
        QAccessibleTableInterface* table = list_->tableInterface();
        for (const QString& step : steps) {
            const QString what = step.section(QLatin1Char(' '), 0, 0);
            const int row = step.section(QLatin1Char(' '), 1).toInt();
            if (what == QLatin1String("select")) {
                table->selectRow(row);
            } else if (what == QLatin1String("unselect")) {
                table->unselectRow(row);
            } else {
                list_->child(row)->actionInterface()->doAction(QStringLiteral("Toggle"));
            }
        }
        QCOMPARE(selectedRows(), selected);
        QList<int> told = table->selectedRows();
        std::sort(told.begin(), told.end());
        QCOMPARE(told, selected);
        QCOMPARE(table->selectedCellCount(), selected.size());
        for (const int row : {1, 2, 3, 4, 5}) {
            QCOMPARE(table->isRowSelected(row), selected.contains(row));
            QCOMPARE(bool(list_->child(row)->state().selected), selected.contains(row));
        }
        QCOMPARE(bool(list_->state().multiSelectable), several);
    }

    void theCurrentRowIsTheFocusedItem() {
        view_->activateWindow();
        view_->clearFocus();
        view_->setCurrentIndex(model_.index(3));
        QVERIFY(!list_->child(3)->state().focused);  // the list has no focus
        QCOMPARE(list_->focusChild(), nullptr);
        view_->setFocus();
        QTRY_VERIFY(view_->hasFocus());
        QVERIFY(list_->child(3)->state().focused);
        QVERIFY(!list_->child(4)->state().focused);
        QCOMPARE(list_->focusChild(), list_->child(3));
    }

    // Items are asked for, the model changes: every row's item is still named by its row, the
    // items asked for before are those of the same names, and the items of rows that went
    // are deleted.
    void itemsStayThoseOfTheirRows_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("gone");
        QTest::newRow("rows inserted above") << "insert" << QStringList{};
        QTest::newRow("rows removed")
            << "remove" << QStringList{"Game 004", "Game 005", "Game 006"};
        QTest::newRow("sorted the other way") << "sort" << QStringList{};
        QTest::newRow("model reset") << "reset" << numbered(10);
        QTest::newRow("another model") << "other model" << numbered(10);
        QTest::newRow("the view goes") << "view" << numbered(10);
    }
    void itemsStayThoseOfTheirRows() {
        QFETCH(QString, change);
        QFETCH(const QStringList, gone);
        model_.setStringList(numbered(10));
        QHash<QString, QAccessible::Id> asked;
        for (int row = 0; row < list_->childCount(); ++row) {
            asked.insert(list_->child(row)->text(QAccessible::Name),
                         QAccessible::uniqueId(list_->child(row)));
        }
        QStringListModel other(QStringList{"Other"});
        if (change == QLatin1String("insert")) {
            model_.insertRows(0, 2);
            model_.setData(model_.index(0), QStringLiteral("Aa"));
            model_.setData(model_.index(1), QStringLiteral("Ab"));
        } else if (change == QLatin1String("remove")) {
            model_.removeRows(4, 3);
        } else if (change == QLatin1String("sort")) {
            model_.sort(0, Qt::DescendingOrder);
        } else if (change == QLatin1String("reset")) {
            model_.setStringList(numbered(10));
        } else if (change == QLatin1String("other model")) {
            view_->setModel(&other);
        } else {
            view_.reset();
        }
        if (view_) {
            // Without assistive technology, the list notices another model when next asked.
            QCOMPARE(list_->childCount(), view_->model()->rowCount());
        }
        for (auto it = asked.cbegin(); it != asked.cend(); ++it) {
            QAccessibleInterface* item = QAccessible::accessibleInterface(it.value());
            QCOMPARE(item == nullptr, gone.contains(it.key()));
            if (item) {
                QCOMPARE(item->text(QAccessible::Name), it.key());
                QCOMPARE(list_->child(list_->indexOfChild(item)), item);
            }
        }
        if (view_) {
            const QAbstractItemModel* shown = view_->model();
            for (int row = 0; row < shown->rowCount(); ++row) {
                QCOMPARE(list_->child(row)->text(QAccessible::Name),
                         shown->index(row, 0).data().toString());
            }
        }
    }
};

QTEST_MAIN(TestGameListAccessible)
#include "tst_gamelistaccessible.moc"
