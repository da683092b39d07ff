#pragma once

#include <QObject>

class QAbstractItemView;
class QItemSelection;

namespace ludora {

class Collection;

// Keeps the selection of a list view and the selection flags of its list in the collection
// in step: what the user selects is written to the collection, and flags that a command
// sets are shown in the view. Owned by the view.
class ListSelectionSync final : public QObject {
    Q_OBJECT

public:
    ListSelectionSync(Collection& collection, int tab, QAbstractItemView* view);

private:
    void writeViewSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void showCollectionSelection(int tab, int first, int last);
    void showAllFlags();

    Collection& collection_;
    int tab_;
    QAbstractItemView* view_;
    bool busy_ = false;  // one direction is being copied; ignore the echo
};

}  // namespace ludora
