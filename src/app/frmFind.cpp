#include "app/frmFind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QTableView>

#include "app/FindResults.h"
#include "app/frmMain.h"

namespace ludora {
namespace {

QString number(qsizetype n) {
    return QLocale(QLocale::English).toString(n);
}

}  // namespace

frmFind* frmFind::showWindow(frmMain* main, const QString* query) {
    frmFind* window = SingleWindow::showWindow([main] {
        auto* made = new frmFind(main);
        // Beside the main window, not over the list it shows the names in, where there is
        // room on the screen.
        const QRect frame = main->frameGeometry();
        if (const QScreen* screen = main->screen()) {
            const QRect area = screen->availableGeometry();
            const int width = made->frameGeometry().width();
            if (frame.right() + width <= area.right()) {
                made->move(frame.right() + 1, frame.top());
            } else if (frame.left() - width >= area.left()) {
                made->move(frame.left() - width, frame.top());
            }
        }
        return made;
    });
    if (query) {
        window->txtFind->setText(*query);
    }
    window->txtFind->selectAll();
    window->txtFind->setFocus();
    return window;
}

frmFind::frmFind(frmMain* main)
    : QDialog(main), main_(main), results_(new FindResults(main->collection(), this)) {
    setObjectName(QStringLiteral("frmFind"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Find Games"));
    createControls();
    const Collection& collection = main_->collection();
    again_.setSingleShot(true);
    again_.setInterval(0);
    connect(&again_, &QTimer::timeout, this, &frmFind::search);
    connect(&collection, &Collection::changed, &again_, qOverload<>(&QTimer::start));
    connect(&collection, &Collection::captionChanged, this, [this, &collection](int tab) {
        cboIn->setItemText(tab + 1, collection.caption(tab));
        again_.start();
    });
    connect(txtFind, &QLineEdit::textChanged, this, &frmFind::search);
    connect(cboIn, &QComboBox::currentIndexChanged, this, &frmFind::search);
    connect(chkDuplicates, &QCheckBox::toggled, this, &frmFind::search);
    connect(txtFind, &QLineEdit::returnPressed, this, [this] { goTo(lstResults->currentIndex()); });
    connect(lstResults, &QTableView::activated, this, &frmFind::goTo);
    search();
    resize(360, 420);
}

void frmFind::createControls() {
    auto* findLabel = new QLabel(tr("Find:"), this);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setAccessibleName(tr("Find:"));
    findLabel->setBuddy(txtFind);

    // A table of one column, not a list view: a list view places each of its rows anew
    // whenever the results change, hundreds of thousands after a short query, while a
    // table's rows of one height cost nothing to place.
    lstResults = new QTableView(this);
    lstResults->setObjectName(QStringLiteral("lstResults"));
    lstResults->setAccessibleName(tr("Games found"));
    lstResults->horizontalHeader()->hide();
    lstResults->horizontalHeader()->setStretchLastSection(true);
    lstResults->verticalHeader()->hide();
    lstResults->verticalHeader()->setMinimumSectionSize(1);
    lstResults->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    lstResults->setShowGrid(false);
    lstResults->setWordWrap(false);
    lstResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstResults->setSelectionMode(QAbstractItemView::SingleSelection);
    lstResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstResults->setModel(results_);

    lblFound = new QLabel(this);
    lblFound->setObjectName(QStringLiteral("lblFound"));

    auto* inLabel = new QLabel(tr("In:"), this);
    cboIn = new QComboBox(this);
    cboIn->setObjectName(QStringLiteral("cboIn"));
    cboIn->setAccessibleName(tr("In:"));
    inLabel->setBuddy(cboIn);
    cboIn->addItem(tr("All lists"));
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        cboIn->addItem(main_->collection().caption(tab));
    }

    chkDuplicates = new QCheckBox(tr("Possible duplicates only"), this);
    chkDuplicates->setObjectName(QStringLiteral("chkDuplicates"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(txtFind, 0, 1, 1, 2);
    grid->addWidget(lstResults, 1, 0, 1, 3);
    grid->addWidget(lblFound, 2, 0, 1, 3);
    grid->addWidget(inLabel, 3, 0);
    grid->addWidget(cboIn, 3, 1);
    grid->addWidget(chkDuplicates, 3, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
}

void frmFind::search() {
    FindIndex& index = main_->findIndex();
    const int tab = cboIn->currentIndex() - 1;  // the first item is "All lists"
    results_->setHits(chkDuplicates->isChecked()
                          ? index.duplicates(txtFind->text(), tab, &groupEnds_)
                          : index.find(txtFind->text(), tab));
    if (results_->rowCount() > 0) {
        lstResults->setCurrentIndex(results_->index(0, 0));
    }
    showCount();
}

void frmFind::showCount() {
    const qsizetype found = results_->rowCount();
    if (chkDuplicates->isChecked()) {
        lblFound->setText(found == 0
                              ? tr("No possible duplicates")
                              : tr("%1 possible duplicates in %2 %3")
                                    .arg(number(found), number(qsizetype(groupEnds_.size())),
                                         groupEnds_.size() == 1 ? tr("group") : tr("groups")));
    } else {
        lblFound->setText(found == 0   ? tr("No game found")
                          : found == 1 ? tr("1 game found")
                                       : tr("%1 games found").arg(number(found)));
    }
}

void frmFind::goTo(const QModelIndex& index) {
    if (!index.isValid() || size_t(index.row()) >= results_->hits().size()) {
        return;
    }
    const FindIndex::Hit hit = results_->hits()[size_t(index.row())];
    const int tab = FindIndex::tabOf(hit);
    if (!main_->showName(tab, FindIndex::posOf(hit))) {
        lblFound->setText(
            tr("%1 cannot be shown in the main window").arg(main_->collection().caption(tab)));
    }
}

}  // namespace ludora
