#include "platform/Dialogs.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>

#include "identity/AppIdentity.h"

namespace ludora::platform {
namespace {

// The program's buttons and icons as Qt names them, in the order of their enums.
constexpr QMessageBox::StandardButton kQtButtons[] = {QMessageBox::Ok, QMessageBox::Yes,
                                                      QMessageBox::No, QMessageBox::Cancel};
constexpr QMessageBox::StandardButtons kQtButtonSets[] = {
    QMessageBox::Ok, QMessageBox::Yes | QMessageBox::No,
    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel};
constexpr QMessageBox::Icon kQtIcons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                          QMessageBox::Warning, QMessageBox::Critical};

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

// A Yes/No question stays until it is answered: Escape and the close button do nothing. A
// closable one goes on them without an answer (Qt would take them for No).
class MessageBox final : public QMessageBox {
public:
    enum class Closing { Usual, Never, WithoutAnswer };
    MessageBox(QWidget* parent, Closing closing) : QMessageBox(parent), closing_(closing) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (closing_ != Closing::Usual && event->matches(QKeySequence::Cancel)) {
            event->accept();
            if (closing_ == Closing::WithoutAnswer) {
                close();
            }
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (closing_ == Closing::Never && !clickedButton()) {
            event->ignore();
            return;
        }
        if (closing_ == Closing::WithoutAnswer && !clickedButton()) {
            QDialog::closeEvent(event);
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    Closing closing_;
};

// The answer of a box that went away without a choice.
Button withoutChoice(const MessageRequest& request) {
    switch (request.buttons) {
        case ButtonSet::Ok:
            return Button::Ok;
        case ButtonSet::YesNo:
            return request.closable ? Button::Cancel : Button::No;
        case ButtonSet::YesNoCancel:
            return Button::Cancel;
    }
    return Button::Cancel;
}

// Boxes and dialogs live on the heap behind a QPointer: should their parent be destroyed
// while they are open, they go with it, exec() returns, and nothing is freed twice.
class QtDialogs final : public Dialogs {
protected:
    Button showMessage(QWidget* parent, const MessageRequest& request) override {
        const MessageBox::Closing closing = request.buttons != ButtonSet::YesNo
                                                ? MessageBox::Closing::Usual
                                            : request.closable ? MessageBox::Closing::WithoutAnswer
                                                               : MessageBox::Closing::Never;
        QPointer<MessageBox> box = new MessageBox(parent, closing);
        box->setIcon(kQtIcons[int(request.icon)]);
        box->setWindowTitle(request.title.isEmpty() ? AppIdentity::titleText() : request.title);
        box->setText(request.prompt);
        box->setStandardButtons(kQtButtonSets[int(request.buttons)]);
        box->setDefaultButton(kQtButtons[int(request.defaultButton)]);
        box->exec();
        if (!box) {
            return withoutChoice(request);
        }
        const QMessageBox::StandardButton pressed = box->standardButton(box->clickedButton());
        delete box.data();
        const auto* found = std::find(std::begin(kQtButtons), std::end(kQtButtons), pressed);
        return found == std::end(kQtButtons) ? withoutChoice(request)
                                             : Button(found - std::begin(kQtButtons));
    }

    QString showSaveDialog(QWidget* parent, const FileRequest& request) override {
        return run(parent, request, QFileDialog::AcceptSave);
    }

    QString showOpenDialog(QWidget* parent, const FileRequest& request) override {
        return run(parent, request, QFileDialog::AcceptOpen);
    }

private:
    static QString run(QWidget* parent, const FileRequest& request, QFileDialog::AcceptMode mode) {
        QPointer<QFileDialog> dialog = new QFileDialog(parent, request.title);
        dialog->setAcceptMode(mode);
        // Any name is accepted: no must-exist test, no overwrite question, no extension added.
        // Native dialogs (GTK, desktop portals, Windows) add some of these on their own, so
        // Qt's own dialog is used under every platform theme.
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog->setOption(QFileDialog::DontUseNativeDialog, true);
        dialog->setNameFilter(qtFilter(request.filter));
        const bool accepted = dialog->exec() == QDialog::Accepted;
        if (!dialog) {
            return QString();
        }
        const QStringList chosen = dialog->selectedFiles();
        delete dialog.data();
        return accepted && !chosen.isEmpty() ? chosen.constFirst() : QString();
    }
};

// The parents of the boxes open now, the innermost last.
QList<QPointer<QWidget>>& openBoxParents() {
    static QList<QPointer<QWidget>> parents;
    return parents;
}

// Keeps a box's parent listed while the box is open. Boxes nest: the last one opened is
// the first to close.
class OpenBox {
public:
    explicit OpenBox(QWidget* parent) { openBoxParents().append(parent); }
    ~OpenBox() { openBoxParents().removeLast(); }
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;
};

}  // namespace

Button Dialogs::message(QWidget* parent, const MessageRequest& request) {
    const OpenBox open(parent);
    return showMessage(parent, request);
}

QString Dialogs::saveFileName(QWidget* parent, const FileRequest& request) {
    const OpenBox open(parent);
    return showSaveDialog(parent, request);
}

QString Dialogs::openFileName(QWidget* parent, const FileRequest& request) {
    const OpenBox open(parent);
    return showOpenDialog(parent, request);
}

bool isShowingBox(const QWidget* window) {
    for (const QPointer<QWidget>& parent : openBoxParents()) {
        if (parent && parent->window() == window) {
            return true;
        }
    }
    return false;
}

template <>
Dialogs& Replaceable<Dialogs>::system() {
    static QtDialogs service;
    return service;
}

void inform(QWidget* parent, const QString& text, Icon icon, const QString& title) {
    MessageRequest request;
    request.prompt = text;
    request.title = title;
    request.icon = icon;
    dialogs().message(parent, request);
}

}  // namespace ludora::platform
