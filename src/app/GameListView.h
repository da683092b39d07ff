#pragma once

#include <QListView>

namespace ludora {

// A list view for long lists of one-line names, all rows the same height.
//
// QListView lays out every row again after each insertion or removal, which makes adding one
// name to a list of 32,767 cost milliseconds. Here a row's place is computed from its number,
// so nothing depends on the length of the list. It stays a QListView for everything else
// (selection, keyboard, accessibility).
class GameListView final : public QListView {
    Q_OBJECT

public:
    explicit GameListView(QWidget* parent = nullptr);

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;
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
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int first, int last) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) override;

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
