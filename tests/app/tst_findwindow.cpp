// Find Games and the name box's sign that a name is already in the collection, driven as a
// user does: Ctrl+F, typing, Enter, the main window's own changes.
#include <QCheckBox>
#include <QComboBox>
#include <QScopeGuard>
#include <QTableView>
#include <QToolButton>

#include "MainWindowTest.h"
#include "app/frmFind.h"
#include "support/FakeDialogs.h"

using namespace ludora;
using namespace ludora::test;

class TestFindWindow : public QObject {
    Q_OBJECT

    FakeDialogs dialogs_;

    static frmFind* ctrlF(frmMain* window) {
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        return frmFind::openWindow();
    }
    static QStringList shown(frmFind* find) {
        return rowsOf(control<QTableView>(find, "lstResults")) +
               QStringList{control<QLabel>(find, "lblFound")->text()};
    }
    static void type(frmFind* find, const QString& text) {
        auto* box = control<QLineEdit>(find, "txtFind");
        box->clear();
        QTest::keyClicks(box, text);
    }

private Q_SLOTS:
    void findAndGoToNames() {
        frmMain* window = openMainWindow();
        const auto discard = qScopeGuard([window] { discardMainWindow(window); });
        Collection& c = window->collection();
        fillList(c, 0, {"Legend of Zelda, The - Ocarina of Time", "Mario Kart 64", "Zelda"});
        fillList(c, 5, {"Zelda II"});
        c.setCaption(5, QStringLiteral("NES"));

        frmFind* find = ctrlF(window);
        QVERIFY(find && find->isVisible());
        QCOMPARE(find->windowTitle(), QStringLiteral("Find Games"));
        type(find, QStringLiteral("zelda oca"));
        QCOMPARE(shown(find),
                 (QStringList{"N64: Legend of Zelda, The - Ocarina of Time", "1 game found"}));
        // Ctrl+F again: the same window, its text selected for the next query.
        QCOMPARE(ctrlF(window), find);
        QCOMPARE(control<QLineEdit>(find, "txtFind")->selectedText(), QStringLiteral("zelda oca"));

        type(find, QStringLiteral("zel"));
        QCOMPARE(shown(find), (QStringList{"N64: Legend of Zelda, The - Ocarina of Time",
                                           "N64: Zelda", "NES: Zelda II", "3 games found"}));
        // Enter on a result of N64: that one name is selected there; the find window stays,
        // and the main window adds nothing.
        c.setCurrentTab(2);
        auto* results = control<QTableView>(find, "lstResults");
        results->setCurrentIndex(results->model()->index(1, 0));
        QTest::keyClick(results, Qt::Key_Return);
        QCOMPARE(c.currentTab(), 0);
        QCOMPARE(c.selectionModel(0)->selectedRows().size(), 1);
        QCOMPARE(c.selectionModel(0)->currentIndex().row(), 2);
        QVERIFY(find->isVisible());
        QCOMPARE(c.count(0), 3);
        // A name on a tab that cannot be chosen stays listed; going to it changes nothing.
        results->setCurrentIndex(results->model()->index(2, 0));
        QTest::keyClick(results, Qt::Key_Return);
        QCOMPARE(c.currentTab(), 0);
        QCOMPARE(control<QLabel>(find, "lblFound")->text(),
                 QStringLiteral("NES cannot be shown in the main window"));

        // One list read whole, and the results following the collection.
        type(find, QString());
        QCOMPARE(shown(find), QStringList{"No game found"});
        control<QComboBox>(find, "cboIn")->setCurrentIndex(6);
        QCOMPARE(shown(find), (QStringList{"NES: Zelda II", "1 game found"}));
        c.addName(5, QStringLiteral("zelda ii!"));
        QTRY_COMPARE(shown(find),
                     (QStringList{"NES: Zelda II", "NES: zelda ii!", "2 games found"}));
        control<QCheckBox>(find, "chkDuplicates")->setChecked(true);
        QCOMPARE(shown(find), (QStringList{"NES: Zelda II", "NES: zelda ii!",
                                           "2 possible duplicates in 1 group"}));
        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(!frmFind::openWindow());
    }

    // The sign in the name box: there while the typed name is in the collection, in any
    // letter case or punctuation; a click on it looks the name up.
    void markerFollowsTheNameBox() {
        frmMain* window = openMainWindow();
        const auto discard = qScopeGuard([window] { discardMainWindow(window); });
        Collection& c = window->collection();
        fillList(c, 2, {"Bonk's Adventure"});
        fillList(c, 9, {"BONK'S ADVENTURE"});
        auto* box = control<QLineEdit>(window, "Text1");
        auto* marker = window->findChild<QAction*>(QStringLiteral("alreadyInCollection"));
        QVERIFY(marker);
        const QString both = QStringLiteral("Already in TG16: Bonk's Adventure and 1 more");
        for (const auto& [typed, description] :
             {std::pair{QStringLiteral("bonk's adventure"), both},
              std::pair{QStringLiteral("Bonks Adventure"), QString()},
              std::pair{QStringLiteral("  Bonk's Adventure!"), both},
              std::pair{QString(), QString()}, std::pair{QStringLiteral("!!"), QString()}}) {
            box->setText(typed);
            QCOMPARE(box->accessibleDescription(), description);
            QCOMPARE(marker->isVisible(), !description.isEmpty());
            QCOMPARE(marker->toolTip(), description.isEmpty() ? marker->toolTip() : description);
        }
        // Deleted from the collection: the sign goes without a keystroke.
        box->setText(QStringLiteral("bonk's adventure"));
        c.clearNames(9);
        QTRY_COMPARE(box->accessibleDescription(),
                     QStringLiteral("Already in TG16: Bonk's Adventure"));
        marker->trigger();
        frmFind* find = frmFind::openWindow();
        QVERIFY(find);
        QCOMPARE(shown(find), (QStringList{"TG16: Bonk's Adventure", "1 game found"}));
        // Add Name adds what was typed all the same.
        window->Command1_Click();
        QCOMPARE(c.count(2), 2);
    }
};

QTEST_MAIN(TestFindWindow)
#include "tst_findwindow.moc"
