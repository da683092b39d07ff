#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "platform/AppIdentity.h"

namespace ludora::platform {
namespace {

QMessageBox::StandardButton toQt(Button button) {
    switch (button) {
        case Button::Ok: return QMessageBox::Ok;
        case Button::Yes: return QMessageBox::Yes;
        case Button::No: return QMessageBox::No;
        case Button::Cancel: return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
        case Icon::None: return QMessageBox::NoIcon;
        case Icon::Information: return QMessageBox::Information;
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// "Ludora (*.LDX)|*.LDX" becomes Qt's "Ludora (*.LDX)"; a description without its
// pattern in brackets gets it appended.
QString qtFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        return filter;
    }
    const QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1);
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
        return description;
    }
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

class QtDialogs final : public Dialogs {
public:
    Button message(QWidget* parent, const MessageRequest& request) override {
        QMessageBox box(parent);
        box.setIcon(toQt(request.icon));
        box.setWindowTitle(request.title.isEmpty() ? AppIdentity::titleText() : request.title);
        box.setText(request.prompt);
        switch (request.buttons) {
            case ButtonSet::Ok: box.setStandardButtons(QMessageBox::Ok); break;
            case ButtonSet::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
            case ButtonSet::YesNoCancel:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
                break;
        }
        box.setDefaultButton(toQt(request.defaultButton));
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        switch (box.standardButton(clicked)) {
            case QMessageBox::Yes: return Button::Yes;
            case QMessageBox::No: return Button::No;
            case QMessageBox::Cancel: return Button::Cancel;
            case QMessageBox::Ok: return Button::Ok;
            default: break;
        }
        // Closed without a choice.
        switch (request.buttons) {
            case ButtonSet::Ok: return Button::Ok;
            case ButtonSet::YesNo: return Button::No;
            case ButtonSet::YesNoCancel: return Button::Cancel;
        }
        return Button::Cancel;
    }

    QString saveFileName(QWidget* parent, const FileRequest& request) override {
        return run(parent, request, QFileDialog::AcceptSave);
    }

    QString openFileName(QWidget* parent, const FileRequest& request) override {
        return run(parent, request, QFileDialog::AcceptOpen);
    }

private:
    static QString run(QWidget* parent, const FileRequest& request, QFileDialog::AcceptMode mode) {
        QFileDialog dialog(parent, request.title);
        dialog.setAcceptMode(mode);
        // Any name is accepted: no must-exist test, no overwrite question, no extension added.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.setNameFilter(qtFilter(request.filter));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return QString();
        }
        return dialog.selectedFiles().constFirst();
    }
};

QtDialogs& realDialogs() {
    static QtDialogs instance;
    return instance;
}

Dialogs* installed = nullptr;

}  // namespace

Dialogs& dialogs() { return installed ? *installed : realDialogs(); }

void setDialogs(Dialogs* replacement) { installed = replacement; }

void inform(QWidget* parent, const QString& text, Icon icon, const QString& title) {
    MessageRequest request;
    request.prompt = text;
    request.title = title;
    request.icon = icon;
    dialogs().message(parent, request);
}

}  // namespace ludora::platform
