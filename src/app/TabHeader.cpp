#include "app/TabHeader.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include "platform/widgets/Accessibility.h"

namespace ludora {
namespace {

class TabHeaderAccessible final : public QAccessibleWidget {
public:
    explicit TabHeaderAccessible(TabHeaderButton* button)
        : QAccessibleWidget(button, QAccessible::PageTab) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? button()->text() : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const bool available = button()->isEnabled();
        s.disabled = !available;
        s.selectable = available;
        s.selected = button()->isChecked();
        s.checkable = available;
        s.checked = button()->isChecked();
        return s;
    }

    QStringList actionNames() const override {
        if (!button()->isEnabled()) {
            return {};
        }
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override {
        if (!button()->isEnabled()) {
            return;  // an unavailable tab cannot be made current
        }
        if (actionName == pressAction()) {
            button()->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    TabHeaderButton* button() const { return static_cast<TabHeaderButton*>(widget()); }
};

}  // namespace

TabHeaderBar::TabHeaderBar(QWidget* parent) : QWidget(parent) {
    platform::useAccessible<TabHeaderBar, platform::AccessibleAs<QAccessible::PageTabList>>();
}

TabHeaderButton::TabHeaderButton(QWidget* parent) : QAbstractButton(parent) {
    platform::useAccessible<TabHeaderButton, TabHeaderAccessible>();
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

QSize TabHeaderButton::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return QSize(fm.horizontalAdvance(text()) + 16, fm.height() + 8);
}

void TabHeaderButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPalette& pal = palette();
    const bool current = isChecked();

    // A tab with rounded top corners; the current one stands out in the page colour with
    // an accent line along its top.
    const QRectF shape = QRectF(rect()).adjusted(0.5, current ? 0.5 : 2.5, -0.5, 0.5);
    QPainterPath path;
    const qreal r = 3.0;
    path.moveTo(shape.bottomLeft());
    path.lineTo(shape.left(), shape.top() + r);
    path.quadTo(shape.topLeft(), QPointF(shape.left() + r, shape.top()));
    path.lineTo(shape.right() - r, shape.top());
    path.quadTo(shape.topRight(), QPointF(shape.right(), shape.top() + r));
    path.lineTo(shape.bottomRight());

    const QColor page = pal.color(QPalette::Window);
    p.fillPath(path, current ? page.lighter(104) : page.darker(isEnabled() ? 108 : 103));
    p.setPen(QPen(pal.color(QPalette::Dark), 1.0));
    p.drawPath(path);
    if (current) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 2.0));
        p.drawLine(QPointF(shape.left() + 2, shape.top() + 1),
                   QPointF(shape.right() - 2, shape.top() + 1));
    }

    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QRect textRect = rect().adjusted(2, current ? 1 : 3, -2, 0);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text());

    if (hasFocus()) {
        // A dotted frame round the caption, whatever the style does for focus.
        const int w = qMin(textRect.width(), fontMetrics().horizontalAdvance(text()) + 6);
        QRect focus(0, 0, w, fontMetrics().height() + 2);
        focus.moveCenter(textRect.center());
        p.setPen(QPen(pal.color(QPalette::WindowText), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(focus.adjusted(0, 0, -1, -1));
    }
}

void TabHeaderButton::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            Q_EMIT stepRequested(-1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            Q_EMIT stepRequested(+1);
            break;
        case Qt::Key_Home:
            Q_EMIT stepRequested(kFirst);
            break;
        case Qt::Key_End:
            Q_EMIT stepRequested(kLast);
            break;
        default:
            QAbstractButton::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace ludora
