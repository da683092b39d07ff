#pragma once

#include <QProxyStyle>

namespace ludora {

// The desktop's style, with a focus that can always be seen. Some styles show the focus of a
// push button only by the outline they also give the default button, so the focus on Add
// Name or OK would not show at all, and show nothing on an empty list. Here a focused push
// button gets a dotted frame round its caption and a focused list a dotted frame inside its
// border, as the tab headers have.
class VisibleFocusStyle final : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

// Makes VisibleFocusStyle the style of every window of the program. Safe to call more than
// once.
void useVisibleFocusStyle();

}  // namespace ludora
