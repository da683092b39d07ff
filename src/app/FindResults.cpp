#include "app/FindResults.h"

namespace ludora {

FindResults::FindResults(const Collection& collection, QObject* parent)
    : QAbstractListModel(parent), collection_(collection) {}

void FindResults::setHits(FindIndex::Hits hits) {
    beginResetModel();
    hits_ = std::move(hits);
    endResetModel();
}

int FindResults::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(hits_.size());
}

QModelIndex FindResults::index(int row, int column, const QModelIndex& parent) const {
    return row >= 0 && size_t(row) < hits_.size() && column == 0 && !parent.isValid()
               ? createIndex(row, column)
               : QModelIndex();
}

QVariant FindResults::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || size_t(index.row()) >= hits_.size()) {
        return QVariant();
    }
    const FindIndex::Hit hit = hits_[size_t(index.row())];
    const int tab = FindIndex::tabOf(hit);
    const int pos = FindIndex::posOf(hit);
    // Between a change of the collection and the search that follows it, a position may
    // lie past the end of its list.
    if (pos >= collection_.count(tab)) {
        return QVariant();
    }
    return collection_.caption(tab) + QStringLiteral(": ") + collection_.nameAt(tab, pos);
}

}  // namespace ludora
