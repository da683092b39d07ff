#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "collection/Collection.h"
#include "platform/widgets/SingleWindow.h"

class QAbstractItemView;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;

namespace ludora {

class ConsoleTabs;
class FindIndex;
class NameMarker;
class RecoveryCopy;

// The main window: one tab per console with its list of games, the name to add, the Add and
// Delete buttons, the game count, the menu bar and the toolbar. It owns the collection.
class frmMain final : public QMainWindow, public platform::SingleWindow<frmMain> {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Shows and activates the program's one main window, creating it afresh, with an empty
    // collection, when it has been closed.
    static frmMain* showWindow();

    Collection& collection() { return collection_; }
    RecoveryCopy& recoveryCopy() { return *recovery_; }
    ConsoleTabs* tabs() const { return SSTab1; }
    QAbstractItemView* list(int tab) const { return lists_[size_t(tab)]; }
    // Opens a file given on the command line or dropped on the window: Open's steps with
    // this path in place of its dialog's answer, unsaved changes going only on the user's word.
    void openGivenFile(const QString& path);
    // The collection's index for finding games, made on first use.
    FindIndex& findIndex();
    // Chooses the tab and selects that one name, scrolled into view, and brings the window
    // to the front; false, doing nothing, for a tab that cannot be chosen.
    bool showName(int tab, int pos);

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void tmrNumGames_Timer();
    // A toolbar button was clicked; its key, compared exactly, picks the menu entry whose
    // command runs. Any other key does nothing.
    void tbToolBar_ButtonClick(const QString& key);

    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileSaveAs_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Window building, in frmMainControls.cpp and frmMainMenus.cpp.
    void createControls();
    // One tab's list and label; labelWidth is the name label's width once measured.
    void createListPage(int tab, int& labelWidth);
    void createMenus();
    void createToolBar();
    void connectCollection();

    void Form_Load();
    // The closing steps; false when the window must stay open.
    bool Form_Unload();
    void showCount(const QString& text);

    Collection collection_;
    // Declared after the collection, which they follow: they go first.
    std::unique_ptr<RecoveryCopy> recovery_;
    std::unique_ptr<FindIndex> findIndex_;
    bool unloaded_ = false;

    QWidget* client_ = nullptr;
    QToolBar* tbToolBar = nullptr;
    ConsoleTabs* SSTab1 = nullptr;
    std::array<QAbstractItemView*, Collection::kTabCount> lists_{};
    QLineEdit* Text1 = nullptr;
    NameMarker* marker_ = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblNumGames = nullptr;
    QTimer* tmrNumGames = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileClose = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuImport = nullptr;
    QAction* config = nullptr;
};

}  // namespace ludora
