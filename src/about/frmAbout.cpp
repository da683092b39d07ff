#include "about/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

#include "about/LinkLabel.h"
#include "about/SeparatorLine.h"
#include "about/SysInfo.h"
#include "identity/AppIdentity.h"
#include "identity/Artwork.h"
#include "platform/Launcher.h"
#include "platform/widgets/Twips.h"

namespace ludora {
namespace {

const char* const kDisclaimer =
    "Warning: This software is protected by copyright and belongs to its author. "
    "Any duplication of it is prohibited by law. "
    "Violations will be prosecuted to the full extent of the law.";

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// A horizontal line from (x1, y) to (x2, y) in twips, `thickness` pixels thick, drawn
// downwards from y.
QFrame* makeLine(QWidget* parent, const char* name, int x1, int x2, int y, int thickness,
                 const QColor& colour) {
    auto* line = new SeparatorLine(parent);
    line->setObjectName(QString::fromLatin1(name));
    const int left = twipsToPixels(x1);
    line->setGeometry(left, twipsToPixels(y), twipsToPixels(x2) - left, thickness);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
}

}  // namespace

frmAbout* frmAbout::showWindow() {
    return SingleWindow::showWindow([] {
        auto* box = new frmAbout;
        box->Form_Load();
        return box;
    });
}

QString frmAbout::versionCaption(int major, int minor, int revision) {
    return QStringLiteral("Version ") + AppIdentity::versionText(major, minor, revision);
}

frmAbout::frmAbout() : QDialog(nullptr) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("About ") + AppIdentity::titleText());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsToPixels(5865), twipsToPixels(3315));
    setSizeGripEnabled(false);
    // The fixed layout is made for 8-point type; the family stays the desktop's own.
    QFont boxFont = font();
    boxFont.setPointSize(8);
    setFont(boxFont);
    createControls();
}

frmAbout::~frmAbout() = default;

void frmAbout::createControls() {
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAccessibleName(AppIdentity::titleText() + QStringLiteral(" logo"));
    picIcon->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(ludoraLogo());
    picIcon->setGeometry(twipsRect(240, 240, 1230, 1275));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(4365, 2385, 1467, 345));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twipsRect(4380, 2835, 1452, 345));
    // Enter on the focused button presses it; OK stays the box's default otherwise.
    cmdSysInfo->setAutoDefault(true);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Label3 = new LinkLabel(QStringLiteral("Click here to visit Ludora Hompage"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setGeometry(twipsRect(0, 1920, 5895, 255));
    connect(Label3, &LinkLabel::clicked, this, &frmAbout::Label3_Click);

    Line2 = makeLine(this, "Line2", 240, 5640, 1800, 1, palette().color(QPalette::WindowText));

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont(QStringLiteral("Times New Roman"), 24, QFont::Normal);
    titleFont.setStyleHint(QFont::Serif);
    lblTitle->setFont(titleFont);
    setTextColour(lblTitle, Qt::black);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTitle->setGeometry(twipsRect(1560, 240, 3855, 600));

    // The etched separator: a white line two pixels thick under a grey one on the same row,
    // so that the white shows as the lower pixel.
    Line1[0] = makeLine(this, "Line1", 240, 5657, 2280, 2, QColor(0xFF, 0xFF, 0xFF));
    Line1[1] = makeLine(this, "Line1", 240, 5672, 2280, 1, QColor(0x80, 0x80, 0x80));
    for (int index = 0; index < 2; ++index) {
        Line1[index]->setProperty("index", index);
    }
    Line1[1]->raise();

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblVersion->setGeometry(twipsRect(1560, 840, 2415, 225));

    lblDisclaimer = new QLabel(QString::fromLatin1(kDisclaimer), this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(lblDisclaimer, Qt::black);
    lblDisclaimer->setGeometry(twipsRect(375, 2385, 3870, 825));

    // OK first, so that it has the focus when the box opens; the link last.
    setTabOrder(cmdOK, cmdSysInfo);
    setTabOrder(cmdSysInfo, Label3);
    cmdOK->setFocus();
}

void frmAbout::Form_Load() {
    lblVersion->setText(
        versionCaption(AppIdentity::major, AppIdentity::minor, AppIdentity::revision));
    lblTitle->setText(AppIdentity::titleText());
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    sysinfo::StartSysInfo(this);
}

void frmAbout::Label3_Click() {
    // Nothing is said when no browser starts.
    platform::launcher().openUrl(QUrl(QString::fromLatin1(AppIdentity::homePage)), {});
}

}  // namespace ludora
