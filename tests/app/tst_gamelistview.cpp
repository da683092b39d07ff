// The list view places rows by their number; what users do with a list must still work:
// clicking, extended selection, the keyboard, scrolling to a row, and rows coming and going.
#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

#include "app/GameListView.h"

using ludora::GameListView;

namespace {

QStringList numbered(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << QStringLiteral("Game %1").arg(i, 5, 10, QLatin1Char('0'));
    }
    return names;
}

QList<int> selectedRows(const QAbstractItemView& view) {
    QList<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedIndexes()) {
        rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace

class TestGameListView : public QObject {
    Q_OBJECT

private:
    QStringListModel model_;
    std::unique_ptr<GameListView> view_;

    QPoint rowCentre(int row) const { return view_->visualRect(model_.index(row)).center(); }

private Q_SLOTS:
    void init() {
        model_.setStringList(numbered(1000));
        view_ = std::make_unique<GameListView>();
        view_->setModel(&model_);
        view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view_->resize(300, 200);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    }
    void cleanup() { view_.reset(); }

    void rowsArePlacedByNumberAndFoundAgain_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("first") << 0;
        QTest::newRow("second") << 1;
        QTest::newRow("last visible") << 5;
    }
    void rowsArePlacedByNumberAndFoundAgain() {
        QFETCH(int, row);
        const QRect rect = view_->visualRect(model_.index(row));
        QCOMPARE(rect.top(), row * view_->rowHeight());
        QCOMPARE(rect.height(), view_->rowHeight());
        QCOMPARE(view_->indexAt(rect.center()).row(), row);
        QCOMPARE(view_->indexAt(rect.topLeft()).row(), row);
        QCOMPARE(view_->indexAt(rect.bottomLeft()).row(), row);
    }

    void outsideTheRowsIsNoRow() {
        model_.setStringList(numbered(2));
        QVERIFY(!view_->indexAt(QPoint(10, 3 * view_->rowHeight())).isValid());
        QVERIFY(!view_->indexAt(QPoint(-1, 1)).isValid());
        QVERIFY(view_->indexAt(QPoint(1, 1)).isValid());
    }

    void rowsAreTallEnoughForTheirText() {
        QVERIFY(view_->rowHeight() >= view_->fontMetrics().height());
    }

    void clickShiftClickAndControlClick() {
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(3));
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(5));
        QCOMPARE(selectedRows(*view_), (QList<int>{1, 2, 3, 5}));
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(2));
        QCOMPARE(selectedRows(*view_), (QList<int>{1, 3, 5}));
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, rowCentre(4));
        QCOMPARE(selectedRows(*view_), (QList<int>{4}));
    }

    void dragSelectsTheRowsBetween() {
        QTest::mousePress(view_->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QMouseEvent move(QEvent::MouseMove, rowCentre(4),
                         view_->viewport()->mapToGlobal(rowCentre(4)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view_->viewport(), &move);
        QTest::mouseRelease(view_->viewport(), Qt::LeftButton, {}, rowCentre(4));
        QCOMPARE(selectedRows(*view_), (QList<int>{1, 2, 3, 4}));
    }

    void keyboardMovesTheCurrentRow_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("expected");
        QTest::newRow("down") << int(Qt::Key_Down) << 3 << 4;
        QTest::newRow("up") << int(Qt::Key_Up) << 3 << 2;
        QTest::newRow("up at the top") << int(Qt::Key_Up) << 0 << 0;
        QTest::newRow("down at the end") << int(Qt::Key_Down) << 999 << 999;
        QTest::newRow("home") << int(Qt::Key_Home) << 500 << 0;
        QTest::newRow("end") << int(Qt::Key_End) << 3 << 999;
    }
    void keyboardMovesTheCurrentRow() {
        QFETCH(int, key);
        QFETCH(int, from);
        QFETCH(int, expected);
        view_->setCurrentIndex(model_.index(from));
        QTest::keyClick(view_.get(), Qt::Key(key));
        QCOMPARE(view_->currentIndex().row(), expected);
        QCOMPARE(selectedRows(*view_), QList<int>{expected});
        // The current row is scrolled into view.
        QVERIFY(view_->viewport()->rect().contains(view_->visualRect(view_->currentIndex())));
    }

    void pageDownMovesAboutOneViewport() {
        view_->setCurrentIndex(model_.index(10));
        QTest::keyClick(view_.get(), Qt::Key_PageDown);
        const int rowsPerPage = view_->viewport()->height() / view_->rowHeight();
        QCOMPARE(view_->currentIndex().row(), 10 + rowsPerPage);
    }

    void scrollRangeCoversEveryRow() {
        QScrollBar* bar = view_->verticalScrollBar();
        QCOMPARE(bar->maximum(), 1000 * view_->rowHeight() - view_->viewport()->height());
        view_->scrollTo(model_.index(999));
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(view_->indexAt(QPoint(5, view_->viewport()->height() - 2)).row(), 999);
        view_->scrollTo(model_.index(400), QAbstractItemView::PositionAtTop);
        QCOMPARE(view_->indexAt(QPoint(5, 1)).row(), 400);
    }

    // The scroll bar shows a new range when its handle changes, and only then.
    void scrollBarRepaintsWhenItsHandleChanges_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("repainted");
        QTest::newRow("handle shrinks") << 20 << 30 << true;
        QTest::newRow("handle grows") << 30 << 20 << true;
        QTest::newRow("handle stays") << 1000 << 1001 << false;
    }
    void scrollBarRepaintsWhenItsHandleChanges() {
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(bool, repainted);
        model_.setStringList(numbered(before));
        QApplication::processEvents(QEventLoop::AllEvents, 1000);  // until idle
        QVERIFY(view_->verticalScrollBar()->isVisible());
        PaintCounter paints(view_->verticalScrollBar());
        if (after > before) {
            model_.insertRows(before, after - before);
        } else {
            model_.removeRows(after, before - after);
        }
        QApplication::processEvents(QEventLoop::AllEvents, 1000);
        QCOMPARE(paints.count > 0, repainted);
    }

    // The screen shows the rows where they are after scrolling, however the view scrolled:
    // the pixels moved on screen and those painted anew match a fresh picture of the rows.
    void scrolledRowsShowOnScreen_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("scroll bar") << "bar";
        QTest::newRow("wheel") << "wheel";
        QTest::newRow("keys") << "keys";
    }
    void scrolledRowsShowOnScreen() {
        QFETCH(QString, how);
        view_->setCurrentIndex(model_.index(0));
        view_->activateWindow();
        view_->setFocus();
        for (int step = 0; step < 6; ++step) {
            if (how == QLatin1String("bar")) {
                view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->value() + 37);
            } else if (how == QLatin1String("wheel")) {
                const QPoint at = view_->viewport()->rect().center();
                QWheelEvent wheel(at, view_->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(view_->viewport(), &wheel);
            } else {
                QTest::keyClick(view_.get(), step % 2 ? Qt::Key_Up : Qt::Key_PageDown);
            }
            QApplication::processEvents(QEventLoop::AllEvents, 1000);
        }
        QVERIFY(view_->verticalScrollBar()->value() > 0);
        QWidget* viewport = view_->viewport();
        const QRect area(viewport->mapTo(view_.get(), QPoint(0, 0)), viewport->size());
        const QImage onScreen = view_->screen()->grabWindow(view_->winId()).toImage();
        const QImage fresh = view_->grab().toImage();
        QCOMPARE(onScreen.copy(area).convertToFormat(QImage::Format_RGB32),
                 fresh.copy(area).convertToFormat(QImage::Format_RGB32));
    }

    void insertedAndRemovedRowsShowAtTheirPlaces() {
        view_->scrollTo(model_.index(0), QAbstractItemView::PositionAtTop);
        model_.insertRows(0, 1);
        model_.setData(model_.index(0), QStringLiteral("Aaa, first"));
        QTRY_COMPARE(view_->verticalScrollBar()->maximum(),
                     1001 * view_->rowHeight() - view_->viewport()->height());
        QCOMPARE(view_->indexAt(rowCentre(0)).data().toString(), QStringLiteral("Aaa, first"));
        QCOMPARE(view_->indexAt(rowCentre(1)).data().toString(), QStringLiteral("Game 00000"));
        model_.removeRows(0, 995);
        QTRY_COMPARE(view_->verticalScrollBar()->maximum(), 0);
        QCOMPARE(view_->indexAt(rowCentre(0)).data().toString(), QStringLiteral("Game 00994"));
        QVERIFY(!view_->indexAt(QPoint(5, 6 * view_->rowHeight() + 2)).isValid());
    }
};

QTEST_MAIN(TestGameListView)
#include "tst_gamelistview.moc"
