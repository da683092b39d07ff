#pragma once

#include <QAbstractButton>
#include <QWidget>

namespace ludora {

// The strip of tab headers above the pages of ConsoleTabs. Assistive technology sees it
// as a page tab list.
class TabHeaderBar final : public QWidget {
    Q_OBJECT

public:
    explicit TabHeaderBar(QWidget* parent = nullptr);
};

// One tab header: a checkable button painted as a tab. A disabled header refuses the mouse,
// the keyboard and assistive technology as any disabled button does: assistive technology
// sees a page tab, reported unavailable and refusing every action while disabled.
class TabHeaderButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit TabHeaderButton(QWidget* parent);

    QSize sizeHint() const override;

Q_SIGNALS:
    // An arrow, Home or End key asks to move to another tab: -1 back, +1 forward,
    // kFirst / kLast to the ends.
    void stepRequested(int step);

public:
    static constexpr int kFirst = -1000;
    static constexpr int kLast = 1000;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ludora
