#pragma once

#include <QFrame>

namespace ludora {

// A plain drawn line. Assistive technology sees a separator, which screen readers pass over,
// rather than an empty frame.
class SeparatorLine final : public QFrame {
    Q_OBJECT

public:
    explicit SeparatorLine(QWidget* parent = nullptr);
};

}  // namespace ludora
