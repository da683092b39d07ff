#pragma once

#include <QAbstractListModel>

#include "collection/FindIndex.h"

namespace ludora {

// The names a search found, as list items reading "CAPTION: NAME". The names are read from
// the collection when shown; the finder sets new results whenever the collection changes.
class FindResults final : public QAbstractListModel {
    Q_OBJECT

public:
    explicit FindResults(const Collection& collection, QObject* parent = nullptr);

    void setHits(FindIndex::Hits hits);
    const FindIndex::Hits& hits() const { return hits_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The view asks for an index of every row whenever it lays them out: hundreds of
    // thousands after a short query. Made without the checks of the base class.
    QModelIndex index(int row, int column = 0,
                      const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const Collection& collection_;
    FindIndex::Hits hits_;
};

}  // namespace ludora
