#pragma once

#include <QDialog>

#include "platform/widgets/SingleWindow.h"

class QFrame;
class QLabel;
class QPushButton;

namespace ludora {

class LinkLabel;

// The About box: the program's name and version, a legal warning, a link to the home page
// and a button that starts the system information tool. There is at most one; it is
// modeless, has no owner, and is discarded when closed.
class frmAbout final : public QDialog, public platform::SingleWindow<frmAbout> {
    Q_OBJECT

public:
    // Creates and loads the box when none is open, else brings the open one to the front.
    static frmAbout* showWindow();

    // "Version 2.0.1": each number in plain decimal digits.
    static QString versionCaption(int major, int minor, int revision);

    ~frmAbout() override;

    // Runs every time the box is loaded: sets the version and title captions.
    void Form_Load();

private Q_SLOTS:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Label3_Click();

private:
    frmAbout();
    void createControls();

    QLabel* picIcon = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    LinkLabel* Label3 = nullptr;
    QFrame* Line2 = nullptr;
    QLabel* lblTitle = nullptr;
    QFrame* Line1[2] = {nullptr, nullptr};
    QLabel* lblVersion = nullptr;
    QLabel* lblDisclaimer = nullptr;
};

}  // namespace ludora
