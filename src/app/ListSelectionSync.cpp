#include "app/ListSelectionSync.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include "collection/Collection.h"

namespace ludora {

ListSelectionSync::ListSelectionSync(Collection& collection, int tab, QAbstractItemView* view)
    : QObject(view), collection_(collection), tab_(tab), view_(view) {
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListSelectionSync::writeViewSelection);
    connect(&collection, &Collection::selectionChanged, this,
            &ListSelectionSync::showCollectionSelection);
    // A reset empties the view's selection without a signal; the flags may have survived.
    connect(view->model(), &QAbstractItemModel::modelReset, this, &ListSelectionSync::showAllFlags);
    showAllFlags();
}

void ListSelectionSync::writeViewSelection(const QItemSelection& selected,
                                           const QItemSelection& deselected) {
    if (busy_) {
        return;
    }
    busy_ = true;
    const int count = collection_.count(tab_);
    auto write = [&](const QItemSelection& ranges, bool flag) {
        for (const QItemSelectionRange& range : ranges) {
            const int first = qMax(range.top(), 0);
            const int last = qMin(range.bottom(), count - 1);
            if (range.isValid() && first <= last) {
                collection_.setSelectedRange(tab_, first, last, flag);
            }
        }
    };
    write(deselected, false);
    write(selected, true);
    busy_ = false;
}

void ListSelectionSync::showCollectionSelection(int tab, int first, int last) {
    if (tab != tab_ || busy_) {
        return;
    }
    first = qMax(first, 0);
    last = qMin(last, collection_.count(tab_) - 1);
    if (first > last) {
        return;
    }
    const QAbstractItemModel* model = view_->model();
    QItemSelection toSelect;
    int runStart = -1;
    for (int row = first; row <= last + 1; ++row) {
        const bool flag = row <= last && collection_.isSelected(tab_, row);
        if (flag && runStart < 0) {
            runStart = row;
        } else if (!flag && runStart >= 0) {
            toSelect.select(model->index(runStart, 0), model->index(row - 1, 0));
            runStart = -1;
        }
    }
    busy_ = true;
    QItemSelectionModel* selection = view_->selectionModel();
    selection->select(QItemSelection(model->index(first, 0), model->index(last, 0)),
                      QItemSelectionModel::Deselect);
    selection->select(toSelect, QItemSelectionModel::Select);
    busy_ = false;
}

void ListSelectionSync::showAllFlags() {
    showCollectionSelection(tab_, 0, collection_.count(tab_) - 1);
}

}  // namespace ludora
