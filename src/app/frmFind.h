#pragma once

#include <QDialog>
#include <QTimer>
#include <vector>

#include "platform/widgets/SingleWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QModelIndex;

namespace ludora {

class FindResults;
class frmMain;

// Find Games: every list of the main window's collection searched as the user types, the
// 22 lists that cannot be chosen included, or one list read whole. A result on the first
// three tabs is shown in the main window. There is at most one; it is modeless, belongs to
// the main window and is discarded when closed.
class frmFind final : public QDialog, public platform::SingleWindow<frmFind> {
    Q_OBJECT

public:
    // Opens the window of the main window, or brings the open one to the front, with its
    // text selected; a query, when given, takes the place of the text.
    static frmFind* showWindow(frmMain* main, const QString* query = nullptr);

private:
    explicit frmFind(frmMain* main);
    void createControls();
    // Searches with the window's settings and shows the results.
    void search();
    void showCount();
    // Shows the result's name in the main window, when its tab can be chosen there.
    void goTo(const QModelIndex& index);

    frmMain* main_;
    FindResults* results_;
    // The collection changed: the search runs again once the change is over.
    QTimer again_;
    std::vector<size_t> groupEnds_;  // of the possible duplicates shown

    QLineEdit* txtFind = nullptr;
    QTableView* lstResults = nullptr;
    QLabel* lblFound = nullptr;
    QComboBox* cboIn = nullptr;
    QCheckBox* chkDuplicates = nullptr;
};

}  // namespace ludora
