// The main window at start: its state, controls, menus, toolbar, looks and names.
#include <QAccessible>
#include <QDir>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "MainWindowTest.h"
#include "fixtures/TestData.h"
#include "platform/widgets/Twips.h"
#include "support/FakeDialogs.h"

using namespace ludora;
using namespace ludora::test;

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { window_ = openMainWindow(); }
    void cleanup() { discardMainWindow(window_); }

    void startsWithDefaultCaptionsOnTG16() {
        ConsoleTabs* tabs = window_->tabs();
        QCOMPARE(tabs->count(), 25);
        QStringList expected{"N64", "JAGUAR", "TG16"};
        for (int tab = 3; tab <= 24; ++tab) {
            expected << QStringLiteral("UserDef%1").arg(tab);
        }
        QStringList shown;
        for (int tab = 0; tab < tabs->count(); ++tab) {
            shown << tabs->tabText(tab);
            QCOMPARE(window_->collection().caption(tab), expected.at(tab));
        }
        QCOMPARE(shown, expected);
        QCOMPARE(tabs->currentIndex(), 2);
        QCOMPARE(window_->collection().currentTab(), 2);
        QVERIFY(window_->list(2)->isVisible());
        QVERIFY(!window_->list(0)->isVisible());
    }

    void startsEmptyAndClean() {
        Collection& c = window_->collection();
        QVERIFY(!c.isDirty());
        QVERIFY(c.fileName().isEmpty());
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            QCOMPARE(c.count(tab), 0);
            QCOMPARE(window_->list(tab)->model()->rowCount(), 0);
            QCOMPARE(window_->tabs()->isTabEnabled(tab), tab <= 2);
            QCOMPARE(c.isAvailable(tab), tab <= 2);
        }
        QCOMPARE(control<QLabel>(window_, "lblNumGames")->text(), QStringLiteral("0"));
        QVERIFY(control<QLineEdit>(window_, "Text1")->text().isEmpty());
        QCOMPARE(window_->windowTitle(), QStringLiteral("Ludora"));
        QVERIFY(!window_->windowIcon().isNull());
        // The name box takes the typing at once.
        QTRY_COMPARE(QApplication::focusWidget(), control<QLineEdit>(window_, "Text1"));
    }

    void menuBarHoldsTheEntriesInOrder() {
        const QList<QAction*> top = window_->menuBar()->actions();
        QStringList names;
        QStringList captions;
        for (QAction* a : top) {
            names << a->objectName();
            captions << a->text();
        }
        QCOMPARE(names, (QStringList{"mnuFile", "mnuImport", "config", "mnuHelp"}));
        QCOMPARE(captions, (QStringList{"&File", "&Import", "&Config", "&Help"}));
        QVERIFY(!menuEntry(window_, "mnuImport")->isEnabled());
        QVERIFY(!menuEntry(window_, "config")->isEnabled());
        QVERIFY(!menuEntry(window_, "mnuImport")->menu());
        QVERIFY(!menuEntry(window_, "config")->menu());

        const auto* file = control<QMenu>(window_, "mnuFile");
        QStringList fileEntries;
        for (QAction* a : file->actions()) {
            fileEntries << a->objectName() + (a->isSeparator() ? "|-" : "|" + a->text()) +
                               (a->isVisible() ? "" : "|hidden");
        }
        QCOMPARE(
            fileEntries,
            (QStringList{"mnuFileOpen|&Open...", "mnuFileClose|&Close", "mnuFileBar0|-",
                         "mnuFileSaveAs|Save &As...", "mnuFileBar1|-", "mnuFilePrint|&Print...",
                         "mnuFileBar2|-", "mnuFileMRU||hidden", "mnuFileMRU||hidden",
                         "mnuFileMRU||hidden", "mnuFileBar3|-|hidden", "mnuFileExit|E&xit"}));
        const auto* help = control<QMenu>(window_, "mnuHelp");
        QStringList helpEntries;
        for (QAction* a : help->actions()) {
            helpEntries << a->objectName() + "|" + a->text();
        }
        QCOMPARE(helpEntries, (QStringList{"mnuHelpContents|Contents", "mnuHelpAbout|&About "}));

        for (QAction* a : window_->findChildren<QAction*>()) {
            if (a->objectName().isEmpty()) {
                continue;  // Qt's own, such as a menu's tear-off
            }
            QVERIFY2(a->shortcut().isEmpty(), qPrintable(a->objectName()));
            QVERIFY2(!a->isCheckable(), qPrintable(a->objectName()));
            if (a->isVisible() && !a->isSeparator() && a->objectName() != "mnuImport" &&
                a->objectName() != "config") {
                QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
            }
        }
    }

    void toolbarHasThreeKeyedButtonsAndASeparator() {
        auto* bar = control<QToolBar>(window_, "tbToolBar");
        QStringList entries;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) {
                entries << "-";
                continue;
            }
            const QString key = a->property("key").toString();
            entries << key;
            QCOMPARE(a->toolTip(), key);
            QVERIFY(!a->icon().isNull());
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            QVERIFY(button);
            QCOMPARE(button->accessibleName(), key);
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
            QVERIFY(!button->icon().pixmap(16, 16).isNull());
        }
        QCOMPARE(entries, (QStringList{"Open", "Save", "-", "Print"}));
    }

    // Where each control sits on the client area, in twips. A label keeps its top left and
    // height and widens to its text rather than cut it off; the count keeps its right edge.
    void controlsSitAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("fit");  // exact, grows, or right (a fixed right edge)
        const QRect list(360, 2160, 7095, 3570);
        const QRect nameLabel(360, 5760, 1365, 195);
        QTest::newRow("tbToolBar") << "tbToolBar" << QRect(0, 0, 8400, 420) << "exact";
        QTest::newRow("SSTab1") << "SSTab1" << QRect(120, 480, 8175, 6090) << "exact";
        QTest::newRow("List1") << "List1" << list << "exact";
        QTest::newRow("List25") << "List25" << list << "exact";
        QTest::newRow("Text1") << "Text1" << QRect(360, 6000, 7095, 375) << "exact";
        QTest::newRow("Command1") << "Command1" << QRect(120, 6720, 1335, 375) << "exact";
        QTest::newRow("Command2") << "Command2" << QRect(1560, 6720, 1335, 375) << "exact";
        QTest::newRow("Label1") << "Label1" << nameLabel << "grows";
        QTest::newRow("lblPSXNameToAdd") << "lblPSXNameToAdd" << nameLabel << "grows";
        QTest::newRow("Label2") << "Label2" << QRect(5880, 6787, 1665, 240) << "grows";
        QTest::newRow("lblNumGames") << "lblNumGames" << QRect(8160, 6787, 105, 240) << "right";
    }
    void controlsSitAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, fit);
        const QRect expected = twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
        const QList<QWidget*> widgets = window_->findChildren<QWidget*>(name);
        // The name label of the second tab is Label1; the 24 others share one name.
        QCOMPARE(widgets.size(), name == "lblPSXNameToAdd" ? 24 : 1);
        for (QWidget* widget : widgets) {
            const QRect at(widget->mapTo(window_->centralWidget(), QPoint(0, 0)), widget->size());
            if (fit == "exact") {
                QCOMPARE(at, expected);
                continue;
            }
            QCOMPARE(at.y(), expected.y());
            QCOMPARE(at.height(), expected.height());
            auto* label = qobject_cast<QLabel*>(widget);
            QVERIFY(label);
            if (fit == "grows") {
                QCOMPARE(at.x(), expected.x());
                QVERIFY(at.width() >= expected.width());
                QVERIFY2(at.width() >= label->sizeHint().width(), qPrintable(label->text()));
            } else {
                QCOMPARE(at.right(), expected.right());
                QVERIFY(label->alignment() & Qt::AlignRight);
                const int digit = label->fontMetrics().horizontalAdvance("0");
                QVERIFY(at.width() >= digit && at.width() <= digit + 1);
            }
        }
    }

    void everyPageHasItsNameLabel() {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            const QList<QLabel*> labels = window_->list(tab)->parentWidget()->findChildren<QLabel*>(
                tab == 1 ? "Label1" : "lblPSXNameToAdd");
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.first()->text(), QStringLiteral("Name to add to list:"));
        }
    }

    void windowHasAFixedClientArea() {
        QCOMPARE(window_->centralWidget()->size(), QSize(560, 480));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QCOMPARE(window_->height(), window_->menuBar()->height() + 480);
        QCOMPARE(window_->width(), 560);
        // Centred on the screen.
        const QPoint offset =
            window_->frameGeometry().center() - window_->screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    void fontsAndColours() {
        const QFontInfo tabs(window_->tabs()->tabHeader(0)->font());
        QVERIFY2(tabs.fixedPitch(), qPrintable(tabs.family()));
        QCOMPARE(window_->tabs()->tabHeader(0)->font().pointSizeF(), 8.25);
        // The pages keep the window's font.
        QVERIFY(!QFontInfo(window_->list(0)->font()).fixedPitch());
        for (const char* name : {"Label2", "lblNumGames"}) {
            auto* label = control<QLabel>(window_, name);
            QCOMPARE(label->font().pointSizeF(), 9.75);
            QVERIFY(!QFontInfo(label->font()).fixedPitch());
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        }
    }

    void listsShowTheCollection() {
        // Names of every shape, one that a view sizing rows by their text would make twice
        // as high: each row is as high as the others, one under the other, so that a row's
        // place follows from its number however long the list.
        const QStringList names{"", "Ys", QString(300, u'W'), "Ōkami", "Two\u2028lines"};
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            QAbstractItemView* list = window_->list(tab);
            QCOMPARE(list->objectName(), QStringLiteral("List%1").arg(tab + 1));
            QCOMPARE(list->model(), window_->collection().model(tab));
            fillList(window_->collection(), tab, names);
            const QRect first = list->visualRect(list->model()->index(0, 0));
            QVERIFY(first.height() > 0);
            for (int row = 1; row < names.size(); ++row) {
                const QRect rect = list->visualRect(list->model()->index(row, 0));
                QCOMPARE(rect.height(), first.height());
                QCOMPARE(rect.top(), first.top() + row * first.height());
            }
            QCOMPARE(list->selectionMode(), tab < 13 ? QAbstractItemView::ExtendedSelection
                                                     : QAbstractItemView::SingleSelection);
        }
    }

    void controlsCarryAccessibleNames() {
        QCOMPARE(control<QLineEdit>(window_, "Text1")->accessibleName(),
                 QStringLiteral("Name to add to list:"));
        QCOMPARE(control<QPushButton>(window_, "Command1")->accessibleName(),
                 QStringLiteral("Add Name"));
        QCOMPARE(control<QPushButton>(window_, "Command2")->accessibleName(),
                 QStringLiteral("Delete Name(s)"));
        QCOMPARE(window_->list(0)->accessibleName(), QStringLiteral("N64"));
        QCOMPARE(window_->list(24)->accessibleName(), QStringLiteral("UserDef24"));
        // A caption read from a file renames the tab and its list at once.
        window_->collection().setCaption(7, QStringLiteral("PSX"));
        QCOMPARE(window_->tabs()->tabText(7), QStringLiteral("PSX"));
        QCOMPARE(window_->list(7)->accessibleName(), QStringLiteral("PSX"));
        QCOMPARE(control<QLabel>(window_, "lblNumGames")->accessibleName(),
                 QStringLiteral("Total games in list: 0"));

        // Menu entries are read out without their ampersands.
        QStringList read;
        for (const char* name : {"mnuFile", "mnuHelp"}) {
            QAccessibleInterface* menu =
                QAccessible::queryAccessibleInterface(control<QMenu>(window_, name));
            QVERIFY(menu);
            for (int i = 0; i < menu->childCount(); ++i) {
                QAccessibleInterface* entry = menu->child(i);
                // The hidden entries for recent files have no caption.
                if (entry->role() == QAccessible::MenuItem &&
                    !entry->text(QAccessible::Name).isEmpty()) {
                    read << entry->text(QAccessible::Name);
                }
            }
        }
        QCOMPARE(read, (QStringList{"Open...", "Close", "Save As...", "Print...", "Exit",
                                    "Contents", "About "}));
    }

private:
    FakeDialogs dialogs_;
    QPointer<frmMain> window_;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
