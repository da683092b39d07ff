#include "about/SeparatorLine.h"

#include "platform/widgets/Accessibility.h"

namespace ludora {

SeparatorLine::SeparatorLine(QWidget* parent) : QFrame(parent) {
    platform::useAccessible<SeparatorLine, platform::AccessibleAs<QAccessible::Separator>>();
    setFrameShape(QFrame::NoFrame);
}

}  // namespace ludora
