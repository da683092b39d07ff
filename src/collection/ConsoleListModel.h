#pragma once

#include <QAbstractListModel>

namespace ludora {

class Collection;

// One list of the collection as a read-only Qt list model. The collection announces every
// change through it, so views follow at once.
class ConsoleListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    ConsoleListModel(const Collection& collection, int tab);

    int tab() const { return tab_; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    friend class Collection;

    const Collection& collection_;
    int tab_;
};

}  // namespace ludora
