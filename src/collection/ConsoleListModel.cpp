#include "collection/ConsoleListModel.h"

#include "collection/Collection.h"

namespace ludora {

ConsoleListModel::ConsoleListModel(const Collection& collection, int tab)
    : collection_(collection), tab_(tab) {}

int ConsoleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : collection_.count(tab_);
}

QVariant ConsoleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= collection_.count(tab_)) {
        return QVariant();
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return collection_.nameAt(tab_, index.row());
        default:
            return QVariant();
    }
}

Qt::ItemFlags ConsoleListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace ludora
