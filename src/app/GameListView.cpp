#include "app/GameListView.h"

#include <QAccessible>
#include <QEvent>
#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <optional>

#include "app/GameListAccessible.h"
#include "platform/Accessibility.h"

namespace ludora {
namespace {

// A scroll bar that repaints when what it shows changes. QScrollBar repaints at every change
// of its range, which in a long list is every name added or removed, though its handle stays
// where it was: that repaint would cost more than the rest of adding the name.
class RowScrollBar final : public QScrollBar {
public:
    explicit RowScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {}

protected:
    void sliderChange(SliderChange change) override {
        if ((change == SliderRangeChange || change == SliderStepsChange) && painted_ == look()) {
            return;
        }
        QScrollBar::sliderChange(change);
    }

    void paintEvent(QPaintEvent* event) override {
        painted_ = look();
        QScrollBar::paintEvent(event);
    }

private:
    // What the range and the steps decide of the picture.
    struct Look {
        QRect handle;
        bool scrolls = false;
        bool atStart = false;
        bool atEnd = false;
        bool operator==(const Look&) const = default;
    };

    Look look() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                        this),
                minimum() < maximum(), value() == minimum(), value() == maximum()};
    }

    std::optional<Look> painted_;
};

}  // namespace

GameListView::GameListView(QWidget* parent) : QAbstractItemView(parent) {
    platform::useAccessible<GameListView, GameListAccessible>();
    setSelectionMode(SingleSelection);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_MacShowFocusRect);
    auto* bar = new RowScrollBar(this);
    setVerticalScrollBar(bar);
    // QAbstractItemView follows the scroll bar it made; this one it must be told to follow.
    connect(bar, &QScrollBar::valueChanged, this, &GameListView::verticalScrollbarValueChanged);
    connect(bar, &QScrollBar::actionTriggered, this, &GameListView::verticalScrollbarAction);
}

int GameListView::rowCount() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int GameListView::rowHeight() const {
    if (rowHeight_ <= 0) {
        // Every row is one line of text in the view's font, whatever its name holds: the
        // height depends on the font and the style only, so the 25 lists measure it once.
        static QHash<QString, int> measured;
        const QString key = font().key() + QLatin1Char('|') + style()->name();
        auto known = measured.constFind(key);
        if (known == measured.constEnd()) {
            QStyleOptionViewItem option;
            initViewItemOption(&option);
            option.text = QStringLiteral("Xg");
            option.features |= QStyleOptionViewItem::HasDisplay;
            const int hint =
                itemDelegate() ? itemDelegate()->sizeHint(option, QModelIndex()).height() : 0;
            known = measured.insert(key, qMax(hint, fontMetrics().height() + 2));
        }
        rowHeight_ = *known;
    }
    return rowHeight_;
}

int GameListView::verticalOffset() const {
    return verticalScrollBar()->value();
}

int GameListView::rowAtY(int y) const {
    const int contentY = y + verticalOffset();
    return contentY < 0 ? -1 : contentY / rowHeight();
}

QRect GameListView::rowsRect(int first, int last) const {
    const int h = rowHeight();
    return QRect(0, first * h - verticalOffset(), viewport()->width(), (last - first + 1) * h);
}

QRect GameListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex()) {
        return QRect();
    }
    return rowsRect(index.row(), index.row());
}

QModelIndex GameListView::indexAt(const QPoint& point) const {
    const int row = rowAtY(point.y());
    if (row < 0 || row >= rowCount() || point.x() < 0 || point.x() >= viewport()->width()) {
        return QModelIndex();
    }
    return model()->index(row, 0, rootIndex());
}

void GameListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) {
        return;
    }
    const int h = rowHeight();
    const int top = index.row() * h;
    const int height = viewport()->height();
    int value = verticalOffset();
    switch (hint) {
        case PositionAtTop:
            value = top;
            break;
        case PositionAtBottom:
            value = top + h - height;
            break;
        case PositionAtCenter:
            value = top - (height - h) / 2;
            break;
        case EnsureVisible:
            if (top < value) {
                value = top;
            } else if (top + h > value + height) {
                value = top + h - height;
            }
            break;
    }
    verticalScrollBar()->setValue(value);
}

QModelIndex GameListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int count = rowCount();
    if (count == 0) {
        return QModelIndex();
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return model()->index(0, 0, rootIndex());
    }
    const int pageRows = qMax(1, viewport()->height() / rowHeight());
    int row = current.row();
    switch (action) {
        case MoveUp:
        case MovePrevious:
            --row;
            break;
        case MoveDown:
        case MoveNext:
            ++row;
            break;
        case MovePageUp:
            row -= pageRows;
            break;
        case MovePageDown:
            row += pageRows;
            break;
        case MoveHome:
            row = 0;
            break;
        case MoveEnd:
            row = count - 1;
            break;
        case MoveLeft:
        case MoveRight:
            break;
    }
    return model()->index(qBound(0, row, count - 1), 0, rootIndex());
}

void GameListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const QRect r = rect.normalized();
    const int count = rowCount();
    const int first = qMax(0, rowAtY(r.top()));
    const int last = qMin(count - 1, rowAtY(r.bottom()));
    QItemSelection selection;
    if (count > 0 && first <= last && r.right() >= 0 && r.left() < viewport()->width()) {
        selection.select(model()->index(first, 0, rootIndex()),
                         model()->index(last, 0, rootIndex()));
    }
    selectionModel()->select(selection, command);
}

QRegion GameListView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect visible = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        if (range.isValid() && range.parent() == rootIndex()) {
            region += rowsRect(range.top(), range.bottom()).intersected(visible);
        }
    }
    return region;
}

void GameListView::updateGeometries() {
    const int h = rowHeight();
    const qint64 contentHeight = qint64(rowCount()) * h;
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(h);
    bar->setPageStep(viewport()->height());
    bar->setRange(0, int(qMax<qint64>(0, contentHeight - viewport()->height())));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void GameListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int count = rowCount();
    if (count == 0) {
        return;
    }
    const QRect area = event->rect();
    const int first = qMax(0, rowAtY(area.top()));
    const int last = qMin(count - 1, rowAtY(area.bottom()));
    QStyleOptionViewItem base;
    initViewItemOption(&base);
    const bool focused = hasFocus();
    const QModelIndex current = currentIndex();
    const QItemSelectionModel* selection = selectionModel();
    if (!isActiveWindow()) {
        base.palette.setCurrentColorGroup(QPalette::Inactive);
    }
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        QStyleOptionViewItem option = base;
        option.rect = rowsRect(row, row);
        if (selection && selection->isSelected(index)) {
            option.state |= QStyle::State_Selected;
        }
        if (focused && index == current) {
            option.state |= QStyle::State_HasFocus;
        }
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void GameListView::scrollContentsBy(int dx, int dy) {
    scrollDirtyRegion(dx, dy);
    viewport()->scroll(dx, dy);
}

void GameListView::resizeEvent(QResizeEvent* event) {
    QAbstractItemView::resizeEvent(event);
    updateGeometries();
}

void GameListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        rowHeight_ = 0;
        updateGeometries();
    }
    QAbstractItemView::changeEvent(event);
}

// The scroll range is all that changes, and only rows at or above the bottom of the view
// move within it.
void GameListView::rowsInserted(const QModelIndex& parent, int first, int last) {
    QAbstractItemView::rowsInserted(parent, first, last);
    rowsMoved(first);
}

void GameListView::setModel(QAbstractItemModel* model) {
    if (this->model()) {
        disconnect(this->model(), &QAbstractItemModel::rowsRemoved, this, nullptr);
    }
    QAbstractItemView::setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex&, int first, int) { rowsMoved(first); });
    }
}

// Assistive technology follows the current row and the selection as in Qt's own list view;
// rows coming and going are told by QAbstractItemView.
void GameListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

void GameListView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    if (QAccessible::isActive()) {
        const auto tell = [this](const QItemSelection& ranges, QAccessible::Event type) {
            if (!ranges.isEmpty() && ranges.first().isValid()) {
                QAccessibleEvent event(this, type);
                event.setChild(ranges.first().top());
                QAccessible::updateAccessibility(&event);
            }
        };
        tell(selected, QAccessible::SelectionAdd);
        tell(deselected, QAccessible::SelectionRemove);
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}

void GameListView::rowsMoved(int first) {
    updateGeometries();
    if (first <= rowAtY(viewport()->height())) {
        viewport()->update();
    }
}

}  // namespace ludora
