// The menu bar and the toolbar of the main window.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "app/ToolbarIcons.h"
#include "app/frmMain.h"
#include "platform/widgets/Twips.h"

namespace ludora {

namespace {

constexpr QRect kToolBarRect = twipsRect(0, 0, 8400, 420);
const char* const kKeyProperty = "key";

QAction* addEntry(QMenu* menu, const char* objectName, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(objectName));
    return action;
}

QAction* addBar(QMenu* menu, const char* objectName) {
    QAction* bar = menu->addSeparator();
    bar->setObjectName(QString::fromLatin1(objectName));
    return bar;
}

}  // namespace

void frmMain::createMenus() {
    QMenuBar* bar = menuBar();

    mnuFile = bar->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    mnuFileOpen = addEntry(mnuFile, "mnuFileOpen", tr("&Open..."));
    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    mnuFileClose = addEntry(mnuFile, "mnuFileClose", tr("&Close"));
    connect(mnuFileClose, &QAction::triggered, this, &frmMain::mnuFileClose_Click);
    addBar(mnuFile, "mnuFileBar0");
    mnuFileSaveAs = addEntry(mnuFile, "mnuFileSaveAs", tr("Save &As..."));
    connect(mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    addBar(mnuFile, "mnuFileBar1");
    mnuFilePrint = addEntry(mnuFile, "mnuFilePrint", tr("&Print..."));
    connect(mnuFilePrint, &QAction::triggered, this, &frmMain::mnuFilePrint_Click);
    addBar(mnuFile, "mnuFileBar2");
    // Room for recently used files, kept hidden: the program keeps no such list.
    for (int index = 1; index <= 3; ++index) {
        QAction* mru = addEntry(mnuFile, "mnuFileMRU", QString());
        mru->setProperty("index", index);
        mru->setVisible(false);
    }
    addBar(mnuFile, "mnuFileBar3")->setVisible(false);
    connect(addEntry(mnuFile, "mnuFileExit", tr("E&xit")), &QAction::triggered, this,
            &frmMain::mnuFileExit_Click);

    mnuImport = bar->addAction(tr("&Import"));
    mnuImport->setObjectName(QStringLiteral("mnuImport"));
    config = bar->addAction(tr("&Config"));
    config->setObjectName(QStringLiteral("config"));

    mnuHelp = bar->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    connect(addEntry(mnuHelp, "mnuHelpContents", tr("Contents")), &QAction::triggered, this,
            &frmMain::mnuHelpContents_Click);
    connect(addEntry(mnuHelp, "mnuHelpAbout", tr("&About ")), &QAction::triggered, this,
            &frmMain::mnuHelpAbout_Click);
}

void frmMain::createToolBar() {
    tbToolBar = new QToolBar(client_);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setAccessibleName(tr("Toolbar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(QSize(16, 16));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbToolBar->setGeometry(kToolBarRect);

    auto addButton = [this](const QString& key) {
        QAction* action = tbToolBar->addAction(toolbarIcon(key), key);
        action->setProperty(kKeyProperty, key);
        action->setToolTip(key);
        tbToolBar->widgetForAction(action)->setAccessibleName(key);
        connect(action, &QAction::triggered, this, [this, action] {
            tbToolBar_ButtonClick(action->property(kKeyProperty).toString());
        });
    };
    addButton(QStringLiteral("Open"));
    addButton(QStringLiteral("Save"));
    tbToolBar->addSeparator();
    addButton(QStringLiteral("Print"));
}

}  // namespace ludora
