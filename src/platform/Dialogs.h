#pragma once

#include <QString>

#include "platform/Replaceable.h"

class QWidget;

namespace ludora::platform {

// Their orders are those of the tables in Dialogs.cpp.
enum class Button { Ok, Yes, No, Cancel };
enum class ButtonSet { Ok, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Critical };

struct MessageRequest {
    QString prompt;
    QString title;  // empty: the application title is shown
    ButtonSet buttons = ButtonSet::Ok;
    Button defaultButton = Button::Ok;
    Icon icon = Icon::None;
    // A Yes/No box that Escape and the close button close without an answer (Cancel), for a
    // question that may wait; other Yes/No boxes stay until answered.
    bool closable = false;
};

struct FileRequest {
    QString title;
    // A description and a pattern separated by a vertical bar: "Ludora (*.LDX)|*.LDX".
    QString filter;
};

// Every modal box of the program goes through here, so that tests can answer it.
//
// A box belongs to its parent window. While it is open, isShowingBox() tells that window so,
// and the window must not close: the command waiting for the answer still needs it. Should
// the parent be destroyed all the same, the box goes with it and the call returns as if the
// box had been closed without a choice; the caller's window is then gone.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button pressed. Closing a box that has a
    // Cancel button, or a closable one, counts as Cancel, closing an OK box as Ok. Any other
    // Yes/No box cannot be closed without an answer: Escape and the close button do nothing.
    Button message(QWidget* parent, const MessageRequest& request);

    // Modal file dialogs. They return the chosen path, or an empty string when cancelled.
    // No overwrite question, no must-exist test, no default extension.
    QString saveFileName(QWidget* parent, const FileRequest& request);
    QString openFileName(QWidget* parent, const FileRequest& request);

protected:
    virtual Button showMessage(QWidget* parent, const MessageRequest& request) = 0;
    virtual QString showSaveDialog(QWidget* parent, const FileRequest& request) = 0;
    virtual QString showOpenDialog(QWidget* parent, const FileRequest& request) = 0;
};

// Whether a box shown through dialogs() is open over the window (its parent lies in it).
bool isShowingBox(const QWidget* window);

template <>
Dialogs& Replaceable<Dialogs>::system();
// The dialogs in use: Qt's own unless a test has put others in place.
inline Dialogs& dialogs() {
    return Replaceable<Dialogs>::get();
}

// A box with an OK button only, titled with the application title unless a title is given.
void inform(QWidget* parent, const QString& text, Icon icon = Icon::None,
            const QString& title = QString());

}  // namespace ludora::platform
