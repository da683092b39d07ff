#pragma once

#include <QString>

class QWidget;

namespace ludora::platform {

enum class Button { Ok, Yes, No, Cancel };
enum class ButtonSet { Ok, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Critical };

struct MessageRequest {
    QString prompt;
    QString title;  // empty: the application title is shown
    ButtonSet buttons = ButtonSet::Ok;
    Button defaultButton = Button::Ok;
    Icon icon = Icon::None;
};

struct FileRequest {
    QString title;
    // A description and a pattern separated by a vertical bar: "Ludora (*.LDX)|*.LDX".
    QString filter;
};

// Every modal box of the program goes through here, so that tests can answer it.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button pressed. Closing a box that has a
    // Cancel button counts as Cancel; closing a Yes/No box counts as No; closing an OK box as Ok.
    virtual Button message(QWidget* parent, const MessageRequest& request) = 0;

    // Modal file dialogs. They return the chosen path, or an empty string when cancelled.
    // No overwrite question, no must-exist test, no default extension.
    virtual QString saveFileName(QWidget* parent, const FileRequest& request) = 0;
    virtual QString openFileName(QWidget* parent, const FileRequest& request) = 0;
};

// The dialogs in use: the real ones unless a test has installed others.
Dialogs& dialogs();
// Installs a replacement for the rest of the run; nullptr brings back the real dialogs.
void setDialogs(Dialogs* replacement);

// A box with an OK button only, titled with the application title unless a title is given.
void inform(QWidget* parent, const QString& text, Icon icon = Icon::None,
            const QString& title = QString());

}  // namespace ludora::platform
