#pragma once

#include <QAccessible>
#include <QAccessibleWidget>

namespace ludora::platform {

// Makes assistive technology see every widget of class Widget through Accessible, an
// accessible interface built from the widget. The factory is installed once, however often
// this is called: call it from the widget's constructor.
template <class Widget, class Accessible>
void useAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* widget = qobject_cast<Widget*>(object);
            return widget ? new Accessible(widget) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

// A widget that assistive technology sees in a role of its own and nothing else changed.
template <QAccessible::Role kRole>
class AccessibleAs final : public QAccessibleWidget {
public:
    explicit AccessibleAs(QWidget* widget) : QAccessibleWidget(widget, kRole) {}
};

}  // namespace ludora::platform
