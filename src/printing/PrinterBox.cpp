#include "printing/PrinterBox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

#include "platform/widgets/Accessibility.h"

namespace ludora {
namespace {

// Qt's own drop-down box reports its current entry as its name on this platform and leaves
// the rest to a label; this one names itself and keeps the rest of Qt's behaviour: the list
// of entries as its one child and an action that opens or closes that list.
class PrinterBoxAccessible final : public QAccessibleWidget {
public:
    explicit PrinterBoxAccessible(PrinterBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return box()->accessibleText();
            case QAccessible::Value:
                return box()->currentText();
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        return s;
    }

    int childCount() const override { return 1; }

    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& actionName) override {
        if (actionName != showMenuAction() && actionName != pressAction()) {
            return;
        }
        if (box()->view()->isVisible()) {
            box()->hidePopup();
        } else {
            box()->showPopup();
        }
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    PrinterBox* box() const { return static_cast<PrinterBox*>(widget()); }
};

}  // namespace

PrinterBox::PrinterBox(QWidget* parent) : QComboBox(parent) {
    platform::useAccessible<PrinterBox, PrinterBoxAccessible>();
    view()->setAccessibleName(QStringLiteral("Printers"));
}

QString PrinterBox::accessibleText() const {
    const QString printer = currentIndex() >= 0 ? currentText() : QString();
    return printer.isEmpty() ? QStringLiteral("Printer") : QStringLiteral("Printer: ") + printer;
}

}  // namespace ludora
