#pragma once

#include <QLabel>

namespace ludora {

// A label that acts as a link: drawn in the highlight colour, a pointing hand over it, and a
// click (or Enter / Space when it has the focus) emits clicked(). Assistive tools see a link
// with a press action.
class LinkLabel final : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // Emits clicked(), as a mouse click would.
    void activate();

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace ludora
