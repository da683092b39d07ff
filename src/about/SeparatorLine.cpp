#include "about/SeparatorLine.h"

#include <QAccessibleWidget>

namespace ludora {
namespace {

QAccessibleInterface* separatorAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("ludora::SeparatorLine") && object && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Separator);
    }
    return nullptr;
}

}  // namespace

SeparatorLine::SeparatorLine(QWidget* parent) : QFrame(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(separatorAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setFrameShape(QFrame::NoFrame);
}

}  // namespace ludora
