#include "support/AccessibleTree.h"

#include <QAccessible>
#include <QAction>
#include <QMetaEnum>
#include <QWidget>
#include <functional>

namespace ludora::test {
namespace {

bool readsAsControl(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::List:
        case QAccessible::PageTab:
        case QAccessible::PageTabList:
        case QAccessible::Link:
        case QAccessible::Graphic:
        case QAccessible::MenuItem:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
            return true;
        default:
            return false;
    }
}

// Hidden on purpose: a widget hidden itself (not one on a page that is not shown) or a menu
// entry that is not visible.
bool hiddenOnPurpose(QAccessibleInterface* iface) {
    QObject* object = iface->object();
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        return widget->isHidden();
    }
    if (auto* action = qobject_cast<QAction*>(object)) {
        return !action->isVisible();
    }
    return false;
}

QString describe(QAccessibleInterface* iface) {
    const char* role = QMetaEnum::fromType<QAccessible::Role>().valueToKey(iface->role());
    const QString name = iface->object() ? iface->object()->objectName() : QString();
    return QString::fromLatin1(role ? role : "?") + QLatin1Char(' ') +
           (name.isEmpty() ? QStringLiteral("(no object name)") : name);
}

void walk(QAccessibleInterface* iface, const std::function<void(QAccessibleInterface*)>& visit) {
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface* child = iface->child(i)) {
            visit(child);
            walk(child, visit);
        }
    }
}

}  // namespace

QStringList unnamedControls(QObject* root) {
    QStringList unnamed;
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(root);
    if (!top) {
        return {QStringLiteral("no accessible interface for the window")};
    }
    walk(top, [&unnamed](QAccessibleInterface* iface) {
        if (readsAsControl(iface->role()) && !hiddenOnPurpose(iface) &&
            iface->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed << describe(iface);
        }
    });
    return unnamed;
}

QStringList accessibleOutline(QObject* root) {
    QStringList lines;
    if (QAccessibleInterface* top = QAccessible::queryAccessibleInterface(root)) {
        walk(top, [&lines](QAccessibleInterface* iface) {
            lines << describe(iface) + QStringLiteral(": ") + iface->text(QAccessible::Name);
        });
    }
    return lines;
}

}  // namespace ludora::test
