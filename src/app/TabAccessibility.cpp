#include "app/TabAccessibility.h"

#include <QAccessibleWidget>
#include <mutex>

#include "app/TabHeader.h"

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

QAccessibleInterface* tabAccessibleFactory(const QString&, QObject* object) {
    if (auto* button = qobject_cast<TabHeaderButton*>(object)) {
        return new TabHeaderAccessible(button);
    }
    if (auto* bar = qobject_cast<TabHeaderBar*>(object)) {
        return new QAccessibleWidget(bar, QAccessible::PageTabList);
    }
    return nullptr;
}

}  // namespace

void installTabAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(tabAccessibleFactory); });
}

}  // namespace ludora
