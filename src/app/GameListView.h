#pragma once

#include <QAbstractItemView>

namespace ludora {

// A list view for long lists of one-line names, all rows the same height.
//
// A row's place is computed from its number, so adding or removing a name costs the same in
// a list of 32,767 names as in a short one: nothing is laid out again. Selection, the
// keyboard, the mouse and editing come from QAbstractItemView; assistive technology sees a
// list of list items (GameListAccessible).
class GameListView final : public QAbstractItemView {
    Q_OBJECT

public:
    explicit GameListView(QWidget* parent = nullptr);

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void setModel(QAbstractItemModel* model) override;

    // The height of every row.
    int rowHeight() const;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int first, int last) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    int rowCount() const;
    // The row at a height in the viewport, not limited to the rows there are.
    int rowAtY(int y) const;
    QRect rowsRect(int first, int last) const;
    // Rows from first on have come or gone: the scroll range changes, and the view shows
    // something else where those rows are in view.
    void rowsMoved(int first);

    mutable int rowHeight_ = 0;
};

}  // namespace ludora
