#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "identity/AppIdentity.h"
#include "platform/widgets/SingleWindow.h"

class QCloseEvent;
class QComboBox;
class QKeyEvent;
class QPushButton;

namespace ludora {

class Collection;

// What the print dialog needs of the main window.
struct PrintContext {
    // The collection to print, read when Print is clicked.
    std::function<const Collection&()> collection;
    // Shows the main window and makes it the active window; runs on every close.
    std::function<void()> showMainWindow;
    // The print job's title, as the printing service lists it.
    QString documentName = AppIdentity::titleText();
};

// The "Print List" dialog: picks one of the installed printers and prints the lists of the
// first three tabs on it. Modeless, without a parent so that it outlives the main window,
// and never more than one at a time. It deletes itself when closed. Neither button is the
// default or the cancel button: Escape does nothing, and Enter presses a focused button only.
class frmPrint final : public QDialog, public platform::SingleWindow<frmPrint> {
    Q_OBJECT

public:
    // Opens the dialog, or brings the open one to the front without reading the printers
    // again. Returns the dialog.
    static frmPrint* showWindow(const PrintContext& context);

    ~frmPrint() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit frmPrint(PrintContext context);

    void Form_Load();
    void Form_Unload();
    void Command1_Click();
    void Command2_Click();
    void centreOnScreen();

    PrintContext context_;
    QComboBox* cboPrinters = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    bool unloaded_ = false;
};

}  // namespace ludora
