#include "app/VisibleFocusStyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace ludora {
namespace {

void drawFocusFrame(QPainter* painter, const QRect& rect, const QColor& colour) {
    if (rect.width() < 3 || rect.height() < 3) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(colour, 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

}  // namespace

void VisibleFocusStyle::drawControl(ControlElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (!(option->state & State_HasFocus)) {
        return;
    }
    if (element == CE_PushButton) {
        const QRect caption = subElementRect(SE_PushButtonFocusRect, option, widget);
        drawFocusFrame(painter, caption.adjusted(1, 1, -1, -1),
                       option->palette.color(QPalette::ButtonText));
    } else if (element == CE_ShapedFrame && qobject_cast<const QAbstractItemView*>(widget)) {
        // The rows cover everything inside the border: the frame goes on its inner edge.
        const int inset = qMax(0, pixelMetric(PM_DefaultFrameWidth, option, widget) - 1);
        drawFocusFrame(painter, option->rect.adjusted(inset, inset, -inset, -inset),
                       option->palette.color(QPalette::Text));
    }
}

void useVisibleFocusStyle() {
    if (qobject_cast<VisibleFocusStyle*>(QApplication::style())) {
        return;
    }
    // The application takes ownership.
    QApplication::setStyle(new VisibleFocusStyle);
}

}  // namespace ludora
