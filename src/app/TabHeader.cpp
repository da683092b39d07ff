#include "app/TabHeader.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace ludora {

TabHeaderButton::TabHeaderButton(int index, QWidget* parent)
    : QAbstractButton(parent), index_(index) {
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
