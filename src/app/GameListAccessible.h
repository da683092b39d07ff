#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <memory>
#include <vector>

class QAbstractItemModel;

namespace ludora {

class GameListView;

// What assistive technology sees of a GameListView, as it sees Qt's own list view: a list
// named by the view's accessible name whose children are its rows, all of them, as list
// items named by their text, that select with a "Toggle" action; and a table of one column
// through which rows are selected.
//
// A row's item is made when first asked for and kept until its row goes away or the model
// is reset: the items follow the model's changes themselves, whether or not assistive
// technology is active, so an item never stands for a row other than its own.
class GameListAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GameListAccessible(QWidget* widget);
    ~GameListAccessible() override;

    bool isValid() const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // The table: one column, a row per name; rows are selected as the view selects them.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return int(selectedColumns().size()); }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }  // a list selects rows
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    GameListView* view() const;
    // Starts following the view's model when it is another than the one followed, and
    // files the items again under their rows when the model has changed.
    void follow() const;
    void watch(QAbstractItemModel* model) const;
    // Files every item under the row its model index has now; drops the items whose row is
    // gone.
    void refile() const;

    // The id of each row's item, 0 for none yet; as long as the highest row asked for.
    mutable std::vector<QAccessible::Id> items_;
    // The model changes: the items may be filed under rows they no longer have.
    mutable bool stale_ = false;
    mutable QPointer<QAbstractItemModel> followed_;
    mutable std::unique_ptr<QObject> watcher_;
};

}  // namespace ludora
