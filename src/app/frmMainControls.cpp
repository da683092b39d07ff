// The controls of the main window and how they follow the collection.
#include <QFontMetricsF>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QtMath>

#include "app/AppLook.h"
#include "app/ConsoleTabs.h"
#include "app/frmMain.h"
#include "platform/widgets/Twips.h"

namespace ludora {

namespace {

// Positions in twips within the client area.
constexpr QRect kTabsRect = twipsRect(120, 480, 8175, 6090);
constexpr QRect kListRect = twipsRect(360, 2160, 7095, 3570);
constexpr QRect kNameLabelRect = twipsRect(360, 5760, 1365, 195);
constexpr QRect kText1Rect = twipsRect(360, 6000, 7095, 375);
constexpr QRect kCommand1Rect = twipsRect(120, 6720, 1335, 375);
constexpr QRect kCommand2Rect = twipsRect(1560, 6720, 1335, 375);
constexpr QRect kLabel2Rect = twipsRect(5880, 6787, 1665, 240);
// The count grows to the left from a fixed right edge.
constexpr QRect kNumGamesRect = twipsRect(8160, 6787, 105, 240);
constexpr int kNumGamesRight = twipsToPixels(8160 + 105);
constexpr int kLastMultiSelectTab = 12;  // lists 1 to 13 take several selected names
constexpr int kCountInterval = 100;      // ms

const QString kNameLabelText = QStringLiteral("Name to add to list:");
const QString kCountLabelText = QStringLiteral("Total games in list:");

// Qt's list view, selecting every row between the pressed point and the pointer. The view
// is handed the rectangle between the two points as given; upward, QRect::normalized() moves
// each edge one pixel inwards, which misses the row under the pointer when the pointer is on
// its lowest pixel.
class GameList final : public QListView {
public:
    using QListView::QListView;

protected:
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override {
        const QPoint a = rect.topLeft();
        const QPoint b = rect.bottomRight();
        QListView::setSelection(QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())),
                                      QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y()))),
                                command);
    }
};

// A label keeps its place; it grows rather than cut off its text. `textWidth` is the width
// its text asks for, when known already (the 25 name labels share theirs).
void placeLabel(QLabel* label, QRect rect, int textWidth = -1) {
    if (textWidth < 0) {
        textWidth = label->sizeHint().width();
    }
    rect.setWidth(qMax(rect.width(), textWidth));
    label->setGeometry(rect);
}

}  // namespace

void frmMain::createControls() {
    // Creation order is the keyboard's tab order: Text1, Command1, Command2, SSTab1.
    Text1 = new QLineEdit(client_);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(kNameLabelText);
    Text1->setGeometry(kText1Rect);

    Command1 = new QPushButton(tr("Add Name"), client_);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(tr("Add Name"));
    Command1->setGeometry(kCommand1Rect);
    // Enter in any other control adds the name (keyPressEvent); Enter on a focused button
    // clicks that button. Not auto-default: outside a QDialog, Qt takes the default mark
    // from an auto-default button for good once it has had and lost the focus.
    Command1->setDefault(true);
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);

    Command2 = new QPushButton(tr("Delete Name(s)"), client_);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(tr("Delete Name(s)"));
    Command2->setGeometry(kCommand2Rect);
    Command2->setAutoDefault(true);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);

    SSTab1 = new ConsoleTabs(Collection::kTabCount, client_);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setHeaderFont(courierNewFont(8.25));
    SSTab1->setGeometry(kTabsRect);
    int labelWidth = -1;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        createListPage(tab, labelWidth);
    }
    // The text box lies over the tab control's page frame.
    Text1->raise();

    const QFont countFont = msSansSerifFont(9.75);
    QPalette countPalette = palette();
    countPalette.setColor(QPalette::WindowText, kCountTextColour);

    Label2 = new QLabel(kCountLabelText, client_);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(countFont);
    Label2->setPalette(countPalette);
    placeLabel(Label2, kLabel2Rect);

    lblNumGames = new QLabel(client_);
    lblNumGames->setObjectName(QStringLiteral("lblNumGames"));
    lblNumGames->setFont(countFont);
    lblNumGames->setPalette(countPalette);
    lblNumGames->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblNumGames->setGeometry(kNumGamesRect);

    tmrNumGames = new QTimer(this);
    tmrNumGames->setObjectName(QStringLiteral("tmrNumGames"));
    tmrNumGames->setInterval(kCountInterval);
    connect(tmrNumGames, &QTimer::timeout, this, &frmMain::tmrNumGames_Timer);
}

void frmMain::createListPage(int tab, int& labelWidth) {
    QWidget* page = SSTab1->page(tab);
    // Positions are given within the client area; the page starts below the headers.
    const QPoint pageOrigin = SSTab1->geometry().topLeft() + SSTab1->pageRect().topLeft();

    // Every row is one line of the same height: the view places rows by their number.
    auto* list = new GameList(page);
    list->setObjectName(QStringLiteral("List%1").arg(tab + 1));
    list->setUniformItemSizes(true);
    list->setModel(collection_.model(tab));
    // An emptied list starts again from the top: a file opened next shows from its first name.
    connect(list->model(), &QAbstractItemModel::modelReset, list, [list] {
        if (list->model()->rowCount() == 0) {
            list->scrollToTop();
        }
    });
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(tab <= kLastMultiSelectTab ? QAbstractItemView::ExtendedSelection
                                                      : QAbstractItemView::SingleSelection);
    list->setAccessibleName(collection_.caption(tab));
    list->setGeometry(kListRect.translated(-pageOrigin));
    // The view shows and changes the list's own selection: the collection keeps it.
    QItemSelectionModel* made = list->selectionModel();
    list->setSelectionModel(collection_.selectionModel(tab));
    delete made;
    lists_[size_t(tab)] = list;

    auto* label = new QLabel(kNameLabelText, page);
    label->setObjectName(tab == 1 ? QStringLiteral("Label1") : QStringLiteral("lblPSXNameToAdd"));
    label->setProperty("tab", tab);
    label->setBuddy(Text1);
    // Every page's label holds the same text in the same font: it is measured once.
    if (labelWidth < 0) {
        labelWidth = label->sizeHint().width();
    }
    placeLabel(label, kNameLabelRect.translated(-pageOrigin), labelWidth);
}

void frmMain::connectCollection() {
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        SSTab1->setTabText(tab, collection_.caption(tab));
        SSTab1->setTabEnabled(tab, collection_.isAvailable(tab));
    }
    connect(&collection_, &Collection::captionChanged, this, [this](int tab) {
        SSTab1->setTabText(tab, collection_.caption(tab));
        lists_[size_t(tab)]->setAccessibleName(collection_.caption(tab));
    });
    connect(&collection_, &Collection::availabilityChanged, this,
            [this](int tab) { SSTab1->setTabEnabled(tab, collection_.isAvailable(tab)); });
    connect(&collection_, &Collection::currentTabChanged, SSTab1, &ConsoleTabs::setCurrentIndex);
    connect(SSTab1, &ConsoleTabs::currentChanged, &collection_, &Collection::setCurrentTab);
}

void frmMain::showCount(const QString& text) {
    if (lblNumGames->text() == text) {
        return;
    }
    lblNumGames->setText(text);
    lblNumGames->setAccessibleName(kCountLabelText + QLatin1Char(' ') + text);
    const int width = qCeil(QFontMetricsF(lblNumGames->font()).horizontalAdvance(text));
    lblNumGames->setGeometry(kNumGamesRight - width, kNumGamesRect.top(), width,
                             kNumGamesRect.height());
}

}  // namespace ludora
