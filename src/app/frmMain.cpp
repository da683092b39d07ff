#include "app/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "about/frmAbout.h"
#include "app/AppLook.h"
#include "app/CollectionFileDrop.h"
#include "app/ConsoleTabs.h"
#include "app/HelpContents.h"
#include "app/NameMarker.h"
#include "app/frmFind.h"
#include "collection/FindIndex.h"
#include "commands/FileCommands.h"
#include "commands/RecoveryCopy.h"
#include "identity/AppIdentity.h"
#include "identity/Artwork.h"
#include "platform/Dialogs.h"
#include "platform/widgets/Twips.h"
#include "printing/frmPrint.h"

namespace ludora {

namespace {

constexpr QSize kClientSize(twipsToPixels(8400), twipsToPixels(7200));

}  // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent),
      recovery_(std::make_unique<RecoveryCopy>(collection_, this)),
      client_(new QWidget(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(AppIdentity::titleText());
    setWindowIcon(ludoraIcon());
    // The layout was drawn for the 8.25 pt MS Sans Serif of Windows dialogs.
    setFont(msSansSerifFont(8.25));

    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(kClientSize);
    setCentralWidget(client_);
    createMenus();
    createToolBar();
    createControls();
    connectCollection();
    // A collection file dropped anywhere on the window opens; text still drops into Text1.
    auto* drop = new CollectionFileDrop(this, [this](const QString& path) { openGivenFile(path); });
    drop->watch(this);
    drop->watch(Text1, true);
    // Find Games: Ctrl+F anywhere in the window, or a click on the name box's marker.
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(find);
    connect(find, &QAction::triggered, this, [this] { frmFind::showWindow(this); });
    marker_ = new NameMarker(
        Text1, collection_, [this]() -> FindIndex& { return findIndex(); },
        [this](const QString& text) { frmFind::showWindow(this, &text); });
    // Fixed size: the window is exactly the menu bar over the client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

frmMain* frmMain::showWindow() {
    return SingleWindow::showWindow([] { return new frmMain; });
}

frmMain::~frmMain() {
    // The views show the collection: they go before it does.
    qDeleteAll(findChildren<frmFind*>());
    delete takeCentralWidget();
}

FindIndex& frmMain::findIndex() {
    if (!findIndex_) {
        findIndex_ = std::make_unique<FindIndex>(collection_);
    }
    return *findIndex_;
}

bool frmMain::showName(int tab, int pos) {
    if (!collection_.isAvailable(tab) || pos >= collection_.count(tab)) {
        return false;
    }
    SSTab1->setCurrentIndex(tab);
    const QModelIndex index = collection_.model(tab)->index(pos, 0);
    collection_.selectionModel(tab)->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    lists_[size_t(tab)]->scrollTo(index);
    platform::bringToFront(this);
    return true;
}

void frmMain::Form_Load() {
    collection_.setDirty(false);
    config->setEnabled(false);
    mnuImport->setEnabled(false);
    collection_.resetCaptions();
    for (int tab = Collection::kFirstUserTab; tab < Collection::kTabCount; ++tab) {
        collection_.setAvailable(tab, false);
    }
    collection_.setCurrentTab(Collection::kInitialTab);
    SSTab1->setCurrentIndex(collection_.currentTab());
    Text1->clear();
    showCount(QStringLiteral("0"));
    tmrNumGames->start();

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    Text1->setFocus();
}

bool frmMain::Form_Unload() {
    if (unloaded_) {
        return true;
    }
    if (collection_.isDirty()) {
        const platform::MessageRequest question{tr("Save changes?"), tr("Exit Ludora"),
                                                platform::ButtonSet::YesNo, platform::Button::Yes};
        // A cancelled Save As still closes the window: that was the user's choice. A save
        // that failed keeps it open, with every name, the file name and the unsaved mark.
        if (platform::dialogs().message(this, question) == platform::Button::Yes &&
            saveCollectionAs(collection_, this) == Outcome::Failed) {
            return false;
        }
    }
    unloaded_ = true;
    return true;
}

void frmMain::closeEvent(QCloseEvent* event) {
    // While one of this window's boxes is open, the command waiting for its answer still
    // needs the window: a close request then (from assistive technology, say) is refused.
    if (platform::isShowingBox(this) || !Form_Unload()) {
        event->ignore();
        return;
    }
    event->accept();
    // The find window is a view of this window's collection: it goes with it.
    if (frmFind* find = frmFind::openWindow()) {
        find->close();
    }
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    // Add Name is the default button: Enter in any control that does not use it adds.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        mods == Qt::NoModifier && Command1->isEnabled()) {
        Command1->click();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmMain::Command1_Click() {
    const int tab = collection_.currentTab();
    if (collection_.addName(tab, Text1->text()) < 0) {
        // The typed name stays in the box.
        platform::inform(this,
                         tr("The list \"%1\" is full: a list holds at most %2 names.")
                             .arg(collection_.caption(tab))
                             .arg(Collection::kMaxNames),
                         platform::Icon::Information);
        return;
    }
    Text1->clear();
    collection_.setDirty(true);
}

void frmMain::Command2_Click() {
    if (collection_.removeSelected(collection_.currentTab()) > 0) {
        collection_.setDirty(true);
    }
}

void frmMain::tmrNumGames_Timer() {
    showCount(QString::number(collection_.count(collection_.currentTab())));
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
    if (key == QLatin1String("Open")) {
        mnuFileOpen->trigger();
    } else if (key == QLatin1String("Save")) {
        mnuFileSaveAs->trigger();  // there is no save without the dialog
    } else if (key == QLatin1String("Print")) {
        mnuFilePrint->trigger();
    }
}

void frmMain::mnuFileOpen_Click() {
    openCollection(collection_, this);
}

void frmMain::openGivenFile(const QString& path) {
    openCollectionFile(collection_, this, path);
}

void frmMain::mnuFileClose_Click() {
    closeCollection(collection_, this);
}

void frmMain::mnuFileSaveAs_Click() {
    saveCollectionAs(collection_, this);
}

void frmMain::mnuFilePrint_Click() {
    PrintContext context;
    // The dialog outlives this window: when it prints or closes after the window has been
    // closed, a fresh main window stands in.
    context.collection = []() -> const Collection& { return frmMain::showWindow()->collection(); };
    context.showMainWindow = [] { frmMain::showWindow(); };
    frmPrint::showWindow(context);
}

void frmMain::mnuFileExit_Click() {
    close();
}

void frmMain::mnuHelpContents_Click() {
    showHelpContents(this, QCoreApplication::applicationDirPath());
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout::showWindow();
}

}  // namespace ludora
