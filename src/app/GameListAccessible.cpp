#include "app/GameListAccessible.h"

#include <QItemSelectionModel>
#include <QPersistentModelIndex>

#include "app/GameListView.h"

namespace ludora {
namespace {

bool selectsSeveral(const QAbstractItemView& view) {
    return view.selectionMode() == QAbstractItemView::ExtendedSelection ||
           view.selectionMode() == QAbstractItemView::MultiSelection;
}

// One row of the list: a list item named by the row's text.
class GameListItemAccessible final : public QAccessibleInterface,
                                     public QAccessibleTableCellInterface,
                                     public QAccessibleActionInterface {
public:
    GameListItemAccessible(GameListView* view, const QModelIndex& index)
        : view_(view), index_(index) {}

    const QPersistentModelIndex& index() const { return index_; }

    bool isValid() const override {
        const GameListView* list = view();
        return list && index_.isValid() && index_.model() == list->model();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        const QAccessibleInterface* list = parent();
        return list ? list->window() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return view_ ? QAccessible::queryAccessibleInterface(view_) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) {
            return {};
        }
        if (t == QAccessible::Name) {
            const QString name = index_.data(Qt::AccessibleTextRole).toString();
            return name.isEmpty() ? index_.data(Qt::DisplayRole).toString() : name;
        }
        if (t == QAccessible::Description) {
            return index_.data(Qt::AccessibleDescriptionRole).toString();
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        const GameListView* list = view();
        if (!isValid()) {
            return {};
        }
        const QRect r = list->visualRect(index_);
        return QRect(list->viewport()->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        const GameListView* list = view();
        if (!isValid()) {
            return s;
        }
        const Qt::ItemFlags flags = index_.flags();
        s.selectable = s.focusable = bool(flags & Qt::ItemIsSelectable);
        s.extSelectable = s.selectable && selectsSeveral(*list);
        s.selected = isSelected();
        s.focused = list->hasFocus() && list->currentIndex() == index_;
        s.disabled = !list->isEnabled() || !(flags & Qt::ItemIsEnabled);
        s.invisible = !list->isVisible();
        // Scrolled out of the view: still a row of the list, but not on the screen.
        s.offscreen = !list->viewport()->rect().intersects(list->visualRect(index_));
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        if (type == QAccessible::ActionInterface) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        return nullptr;
    }

    bool isSelected() const override {
        const GameListView* list = view();
        return isValid() && list->selectionModel() && list->selectionModel()->isSelected(index_);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return isValid() ? 0 : -1; }
    int rowIndex() const override { return isValid() ? index_.row() : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // Toggle selects the row, or unselects it, as the list's table selects rows.
    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        QAccessibleInterface* list = parent();
        if (name != toggleAction() || !isValid() || !list || !list->tableInterface()) {
            return;
        }
        if (isSelected()) {
            list->tableInterface()->unselectRow(index_.row());
        } else {
            list->tableInterface()->selectRow(index_.row());
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    // Null once the view is being destroyed.
    GameListView* view() const { return qobject_cast<GameListView*>(view_.data()); }

    QPointer<QAbstractItemView> view_;
    QPersistentModelIndex index_;
};

const GameListItemAccessible* itemOf(const QAccessibleInterface* iface) {
    return dynamic_cast<const GameListItemAccessible*>(iface);
}

}  // namespace

GameListAccessible::GameListAccessible(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::List) {}

GameListAccessible::~GameListAccessible() {
    for (const QAccessible::Id id : items_) {
        if (id) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
}

GameListView* GameListAccessible::view() const {
    return qobject_cast<GameListView*>(object());
}

bool GameListAccessible::isValid() const {
    return view() != nullptr;
}

QAccessible::State GameListAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    if (const GameListView* list = view()) {
        s.multiSelectable = selectsSeveral(*list);
    }
    return s;
}

int GameListAccessible::columnCount() const {
    const GameListView* list = view();
    const QAbstractItemModel* model = list ? list->model() : nullptr;
    return model && model->columnCount(list->rootIndex()) > 0 ? 1 : 0;
}

int GameListAccessible::rowCount() const {
    return columnCount() > 0 ? view()->model()->rowCount(view()->rootIndex()) : 0;
}

int GameListAccessible::childCount() const {
    if (view()) {
        follow();
    }
    return rowCount();
}

QAccessibleInterface* GameListAccessible::child(int index) const {
    if (index < 0 || index >= rowCount()) {
        return nullptr;
    }
    follow();
    const size_t row = size_t(index);
    if (row < items_.size() && items_[row]) {
        if (QAccessibleInterface* item = QAccessible::accessibleInterface(items_[row])) {
            return item;
        }
    }
    GameListView* list = view();
    auto* item =
        new GameListItemAccessible(list, list->model()->index(index, 0, list->rootIndex()));
    if (row >= items_.size()) {
        items_.resize(row + 1, 0);
    }
    items_[row] = QAccessible::registerAccessibleInterface(item);
    return item;
}

int GameListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const GameListItemAccessible* item = itemOf(child);
    return item && item->isValid() && item->parent() == this ? item->rowIndex() : -1;
}

QAccessibleInterface* GameListAccessible::childAt(int x, int y) const {
    const GameListView* list = view();
    if (!list) {
        return nullptr;
    }
    const QPoint point = list->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index =
        list->viewport()->rect().contains(point) ? list->indexAt(point) : QModelIndex();
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface* GameListAccessible::focusChild() const {
    const GameListView* list = view();
    if (!list || !list->hasFocus()) {
        return nullptr;
    }
    const QModelIndex current = list->currentIndex();
    QAccessibleInterface* item = current.isValid() ? child(current.row()) : nullptr;
    return item ? item : const_cast<GameListAccessible*>(this);
}

void* GameListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* GameListAccessible::cellAt(int row, int column) const {
    return column == 0 ? child(row) : nullptr;
}

QList<QAccessibleInterface*> GameListAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows()) {
        cells << child(row);
    }
    return cells;
}

QString GameListAccessible::columnDescription(int column) const {
    const GameListView* list = view();
    return list && list->model() ? list->model()->headerData(column, Qt::Horizontal).toString()
                                 : QString();
}

QString GameListAccessible::rowDescription(int row) const {
    const GameListView* list = view();
    return list && list->model() ? list->model()->headerData(row, Qt::Vertical).toString()
                                 : QString();
}

QList<int> GameListAccessible::selectedColumns() const {
    const GameListView* list = view();
    QList<int> columns;
    if (list && list->selectionModel() && rowCount() > 0) {
        if (list->selectionModel()->isColumnSelected(0, list->rootIndex())) {
            columns << 0;
        }
    }
    return columns;
}

QList<int> GameListAccessible::selectedRows() const {
    const GameListView* list = view();
    QList<int> rows;
    if (list && list->selectionModel()) {
        for (const QModelIndex& index : list->selectionModel()->selectedRows(0)) {
            if (index.parent() == list->rootIndex()) {
                rows << index.row();
            }
        }
    }
    return rows;
}

bool GameListAccessible::isColumnSelected(int column) const {
    return column == 0 && !selectedColumns().isEmpty();
}

bool GameListAccessible::isRowSelected(int row) const {
    const GameListView* list = view();
    return list && list->selectionModel() &&
           list->selectionModel()->isRowSelected(row, list->rootIndex());
}

// As a click would: in a list of one selected name the row replaces the selection, in a
// list of several it joins it.
bool GameListAccessible::selectRow(int row) {
    GameListView* list = view();
    if (row < 0 || row >= rowCount() || !list->selectionModel() ||
        list->selectionMode() == QAbstractItemView::NoSelection) {
        return false;
    }
    if (!selectsSeveral(*list)) {
        list->clearSelection();
    }
    list->selectionModel()->select(list->model()->index(row, 0, list->rootIndex()),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return true;
}

// A list of one selected name keeps its selected row, as Qt's own lists do.
bool GameListAccessible::unselectRow(int row) {
    GameListView* list = view();
    if (row < 0 || row >= rowCount() || !list->selectionModel() ||
        (!selectsSeveral(*list) && selectedRowCount() == 1)) {
        return false;
    }
    list->selectionModel()->select(list->model()->index(row, 0, list->rootIndex()),
                                   QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    return true;
}

// Sent by the view when rows have come or gone or the model was reset: the items are filed
// again at once, and those of rows that are gone are deleted.
void GameListAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
    if (!view() || event->modelChangeType() == QAccessibleTableModelChangeEvent::DataChanged) {
        return;
    }
    follow();
    refile();
    stale_ = false;
}

void GameListAccessible::follow() const {
    QAbstractItemModel* model = view()->model();
    if (!watcher_ || followed_ != model) {
        watch(model);
    } else if (stale_) {
        // Asked in the middle of a change: the model's indexes tell where the rows are now.
        refile();
    }
}

void GameListAccessible::watch(QAbstractItemModel* model) const {
    watcher_ = std::make_unique<QObject>();
    followed_ = model;
    refile();  // drops the items of the model followed until now
    stale_ = false;
    if (!model) {
        return;
    }
    QObject* watcher = watcher_.get();
    const auto change = [this, model, watcher](auto before, auto after) {
        QObject::connect(model, before, watcher, [this] { stale_ = true; });
        QObject::connect(model, after, watcher, [this] {
            // When assistive technology is active, modelChange() has come first.
            if (stale_) {
                refile();
                stale_ = false;
            }
        });
    };
    change(&QAbstractItemModel::rowsAboutToBeInserted, &QAbstractItemModel::rowsInserted);
    change(&QAbstractItemModel::rowsAboutToBeRemoved, &QAbstractItemModel::rowsRemoved);
    change(&QAbstractItemModel::rowsAboutToBeMoved, &QAbstractItemModel::rowsMoved);
    change(&QAbstractItemModel::columnsAboutToBeInserted, &QAbstractItemModel::columnsInserted);
    change(&QAbstractItemModel::columnsAboutToBeRemoved, &QAbstractItemModel::columnsRemoved);
    change(&QAbstractItemModel::columnsAboutToBeMoved, &QAbstractItemModel::columnsMoved);
    change(&QAbstractItemModel::modelAboutToBeReset, &QAbstractItemModel::modelReset);
    change(&QAbstractItemModel::layoutAboutToBeChanged, &QAbstractItemModel::layoutChanged);
}

void GameListAccessible::refile() const {
    const GameListView* list = view();
    std::vector<QAccessible::Id> items;
    for (const QAccessible::Id id : items_) {
        const GameListItemAccessible* item =
            id ? itemOf(QAccessible::accessibleInterface(id)) : nullptr;
        if (!item) {
            continue;
        }
        const QModelIndex index = item->index();
        if (!list || !item->isValid() || index.column() != 0 ||
            index.parent() != list->rootIndex()) {
            QAccessible::deleteAccessibleInterface(id);
            continue;
        }
        const size_t row = size_t(index.row());
        if (row >= items.size()) {
            items.resize(row + 1, 0);
        }
        items[row] = id;
    }
    items_.swap(items);
}

}  // namespace ludora
