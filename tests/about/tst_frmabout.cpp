#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "about/frmAbout.h"
#include "fixtures/TestData.h"
#include "support/FakeDialogs.h"
#include "support/FakeLauncher.h"
#include "support/ModalBoxes.h"

using ludora::frmAbout;
using ludora::test::FakeDialogs;
using ludora::test::FakeLauncher;

namespace {

template <typename T = QWidget>
T* control(frmAbout* box, const char* name) {
    T* found = box->findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        qWarning("no control %s", name);
    }
    return found;
}

QFrame* line1(frmAbout* box, int index) {
    const QList<QFrame*> lines = box->findChildren<QFrame*>(QStringLiteral("Line1"));
    for (QFrame* line : lines) {
        if (line->property("index").toInt() == index) {
            return line;
        }
    }
    return nullptr;
}

QList<frmAbout*> openBoxes() {
    QList<frmAbout*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<frmAbout*>(w)) {
            boxes << box;
        }
    }
    return boxes;
}

}  // namespace

class TestFrmAbout : public QObject {
    Q_OBJECT

    FakeDialogs dialogs;
    FakeLauncher launcher;

private Q_SLOTS:
    void init() {
        dialogs.clear();
        launcher.openedUrls.clear();
        launcher.started.clear();
        launcher.startedHidden.clear();
        launcher.testedFiles.clear();
        launcher.openSucceeds = true;
        launcher.startSucceeds.clear();
        launcher.existingFiles.clear();
    }

    void cleanup() {
        delete frmAbout::openWindow();
        QVERIFY(openBoxes().isEmpty());
    }

    void versionCaption_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2.0.1") << 2 << 0 << 1 << QStringLiteral("Version 2.0.1");
        QTest::newRow("minor 10") << 2 << 10 << 1 << QStringLiteral("Version 2.10.1");
        QTest::newRow("revision 100") << 0 << 0 << 100 << QStringLiteral("Version 0.0.100");
    }

    void versionCaption() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, expected);
        QCOMPARE(frmAbout::versionCaption(major, minor, revision), expected);
    }

    void loadSetsCaptions() {
        frmAbout* box = frmAbout::showWindow();
        QCOMPARE(box->objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(box->windowTitle(), QStringLiteral("About Ludora"));
        QCOMPARE(control<QLabel>(box, "lblVersion")->text(), QStringLiteral("Version 2.0.1"));
        QCOMPARE(control<QLabel>(box, "lblTitle")->text(), QStringLiteral("Ludora"));
    }

    void titleInLargeSerifType() {
        frmAbout* box = frmAbout::showWindow();
        auto* title = control<QLabel>(box, "lblTitle");
        const QFont font = title->font();
        QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(font.styleHint(), QFont::Serif);
        QCOMPARE(font.pointSize(), 24);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(!font.italic());
        QCOMPARE(QFontInfo(font).pointSize(), 24);
        QCOMPARE(title->palette().color(title->foregroundRole()), QColor(Qt::black));
    }

    void oneBoxAtMost() {
        frmAbout* first = frmAbout::showWindow();
        frmAbout* second = frmAbout::showWindow();
        QCOMPARE(second, first);
        QCOMPARE(openBoxes().size(), 1);
        QVERIFY(first->isVisible());
        // A minimised box comes back.
        first->showMinimized();
        QCOMPARE(frmAbout::showWindow(), first);
        QVERIFY(!(first->windowState() & Qt::WindowMinimized));
        QCOMPARE(openBoxes().size(), 1);
    }

    void modelessWithoutOwner() {
        frmAbout* box = frmAbout::showWindow();
        QVERIFY(box->isWindow());
        QVERIFY(!box->parentWidget());
        QVERIFY(!box->isModal());
        QCOMPARE(box->windowModality(), Qt::NonModal);
        QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
    }

    // Closing the other windows leaves the box open, and the box alone keeps the program
    // running until it is closed.
    void keepsTheProgramRunning() {
        auto* mainStandIn = new QWidget;
        mainStandIn->setAttribute(Qt::WA_DeleteOnClose);
        mainStandIn->show();
        QPointer<frmAbout> box = frmAbout::showWindow();
        bool openAfterMainClosed = false;
        QTimer::singleShot(0, mainStandIn, &QWidget::close);
        // The program would have ended by now if the box did not keep it running.
        QTimer::singleShot(100, box, [&] {
            openAfterMainClosed = box && box->isVisible();
            box->close();
        });
        QTimer safety;  // ends the loop should closing the box fail to end it
        safety.setSingleShot(true);
        bool safetyFired = false;
        connect(&safety, &QTimer::timeout, qApp, [&] {
            safetyFired = true;
            QCoreApplication::quit();
        });
        safety.start(10000);
        QApplication::exec();
        QVERIFY(openAfterMainClosed);
        QVERIFY(!safetyFired);  // closing the last window, the box, ended the loop
    }

    void closeAndReload_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK clicked") << QStringLiteral("click");
        QTest::newRow("Escape") << QStringLiteral("escape");
        QTest::newRow("Enter") << QStringLiteral("enter");
        QTest::newRow("window closed") << QStringLiteral("close");
    }

    void closeAndReload() {
        QFETCH(QString, how);
        QPointer<frmAbout> box = frmAbout::showWindow();
        control<QLabel>(box, "lblVersion")->setText(QStringLiteral("stale"));
        control<QLabel>(box, "lblTitle")->setText(QStringLiteral("stale"));
        auto* ok = control<QPushButton>(box, "cmdOK");
        if (how == QLatin1String("click")) {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else if (how == QLatin1String("escape")) {
            QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
        } else if (how == QLatin1String("enter")) {
            QTest::keyClick(box->focusWidget(), Qt::Key_Return);
        } else {
            box->close();
        }
        QTRY_VERIFY(box.isNull());
        QVERIFY(!frmAbout::openWindow());

        frmAbout* again = frmAbout::showWindow();
        QCOMPARE(control<QLabel>(again, "lblVersion")->text(), QStringLiteral("Version 2.0.1"));
        QCOMPARE(control<QLabel>(again, "lblTitle")->text(), QStringLiteral("Ludora"));
    }

    void controlPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QRect>("expected");
        // Twips divided by 15, rounded.
        QTest::newRow("picIcon") << QStringLiteral("picIcon") << -1 << QRect(16, 16, 82, 85);
        QTest::newRow("cmdOK") << QStringLiteral("cmdOK") << -1 << QRect(291, 159, 98, 23);
        QTest::newRow("cmdSysInfo")
            << QStringLiteral("cmdSysInfo") << -1 << QRect(292, 189, 97, 23);
        QTest::newRow("Label3") << QStringLiteral("Label3") << -1 << QRect(0, 128, 393, 17);
        QTest::newRow("Line2") << QStringLiteral("Line2") << -1 << QRect(16, 120, 360, 1);
        QTest::newRow("lblTitle") << QStringLiteral("lblTitle") << -1 << QRect(104, 16, 257, 40);
        QTest::newRow("Line1(1) grey") << QStringLiteral("Line1") << 1 << QRect(16, 152, 362, 1);
        QTest::newRow("Line1(0) white") << QStringLiteral("Line1") << 0 << QRect(16, 152, 361, 2);
        QTest::newRow("lblVersion")
            << QStringLiteral("lblVersion") << -1 << QRect(104, 56, 161, 15);
        QTest::newRow("lblDisclaimer")
            << QStringLiteral("lblDisclaimer") << -1 << QRect(25, 159, 258, 55);
    }

    void controlPlaces() {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QRect, expected);
        frmAbout* box = frmAbout::showWindow();
        QWidget* w = index < 0 ? box->findChild<QWidget*>(name) : line1(box, index);
        QVERIFY(w);
        QCOMPARE(w->parentWidget(), box);
        QCOMPARE(w->geometry(), expected);
        QVERIFY(w->isVisible());
    }

    void fixedClientArea() {
        frmAbout* box = frmAbout::showWindow();
        QCOMPARE(box->size(), QSize(391, 221));
        QCOMPARE(box->minimumSize(), QSize(391, 221));
        QCOMPARE(box->maximumSize(), QSize(391, 221));
    }

    void etchedSeparator() {
        frmAbout* box = frmAbout::showWindow();
        const QImage image = box->grab().toImage();
        // Grey on the row itself, white just under it.
        QCOMPARE(image.pixelColor(100, 152), QColor(0x80, 0x80, 0x80));
        QCOMPARE(image.pixelColor(100, 153), QColor(0xFF, 0xFF, 0xFF));
    }

    void okIsDefaultAndFirstInTabOrder() {
        frmAbout* box = frmAbout::showWindow();
        QVERIFY(QTest::qWaitForWindowActive(box));
        auto* ok = control<QPushButton>(box, "cmdOK");
        auto* sysInfo = control<QPushButton>(box, "cmdSysInfo");
        QVERIFY(ok->isDefault());
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(sysInfo->text(), QStringLiteral("&System Info..."));
        QCOMPARE(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), sysInfo);
        // Enter presses the focused button, not the default one.
        QTest::keyClick(sysInfo, Qt::Key_Return);
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(frmAbout::openWindow(), box);
        QTest::keyClick(sysInfo, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(box, "Label3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ok);
    }

    void logo() {
        frmAbout* box = frmAbout::showWindow();
        auto* picIcon = control<QLabel>(box, "picIcon");
        QCOMPARE(picIcon->pixmap().size(), QSize(78, 81));
        // Sized to the picture plus its border.
        QCOMPARE(picIcon->contentsRect().size(), QSize(78, 81));
    }

    void disclaimer() {
        frmAbout* box = frmAbout::showWindow();
        auto* label = control<QLabel>(box, "lblDisclaimer");
        QVERIFY(label->text().startsWith(QStringLiteral("Warning: ")));
        QCOMPARE(label->text().count(QLatin1Char('.')), 3);
        QVERIFY(label->text().endsWith(QLatin1Char('.')));
        QVERIFY(label->wordWrap());
        QCOMPARE(label->palette().color(label->foregroundRole()), QColor(Qt::black));
    }

    // Every caption shows in full in its place.
    void captionsFit_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"lblTitle", "lblVersion", "lblDisclaimer", "Label3"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }

    void captionsFit() {
        QFETCH(QString, name);
        frmAbout* box = frmAbout::showWindow();
        auto* label = box->findChild<QLabel*>(name);
        QVERIFY(label);
        const QRect room = label->contentsRect();
        if (label->wordWrap()) {
            QVERIFY2(
                label->heightForWidth(label->width()) <= label->height(),
                qPrintable(
                    QStringLiteral("needs %1 pixels").arg(label->heightForWidth(label->width()))));
        } else {
            const QFontMetrics metrics(label->font());
            QVERIFY(metrics.horizontalAdvance(label->text()) <= room.width());
            QVERIFY2(metrics.height() <= room.height(),
                     qPrintable(QStringLiteral("needs %1 pixels").arg(metrics.height())));
        }
    }

    void homePageLink() {
        frmAbout* box = frmAbout::showWindow();
        auto* link = control<QLabel>(box, "Label3");
        QCOMPARE(link->text(), QStringLiteral("Click here to visit Ludora Hompage"));
        QVERIFY(link->alignment() & Qt::AlignHCenter);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link->palette().color(link->foregroundRole()),
                 box->palette().color(QPalette::Highlight));
    }

    void homePageLinkOpens_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("browserStarts");
        QTest::newRow("click") << QStringLiteral("click") << true;
        QTest::newRow("click, no browser") << QStringLiteral("click") << false;
        QTest::newRow("space with focus") << QStringLiteral("space") << true;
        QTest::newRow("assistive press") << QStringLiteral("accessible") << true;
    }

    void homePageLinkOpens() {
        QFETCH(QString, how);
        QFETCH(bool, browserStarts);
        launcher.openSucceeds = browserStarts;
        frmAbout* box = frmAbout::showWindow();
        auto* link = control<QLabel>(box, "Label3");
        if (how == QLatin1String("click")) {
            QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));  // away from the text
        } else if (how == QLatin1String("space")) {
            link->setFocus(Qt::TabFocusReason);
            QTest::keyClick(link, Qt::Key_Space);
        } else {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(link);
            QVERIFY(accessible);
            QCOMPARE(accessible->role(), QAccessible::Link);
            QCOMPARE(accessible->text(QAccessible::Name), link->text());
            QAccessibleActionInterface* actions = accessible->actionInterface();
            QVERIFY(actions);
            actions->doAction(QAccessibleActionInterface::pressAction());
        }
        QCOMPARE(launcher.openedUrls,
                 QList<QUrl>{QUrl(QStringLiteral("https://example.org/ludora"))});
        QVERIFY(launcher.started.isEmpty());
        QCOMPARE(dialogs.count(), 0);
        QCOMPARE(frmAbout::openWindow(), box);
    }

    void systemInfoUnavailable() {
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(empty.path()));  // no information program
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        frmAbout* box = frmAbout::showWindow();
        auto* sysInfo = control<QPushButton>(box, "cmdSysInfo");
        QTest::mouseClick(sysInfo, Qt::LeftButton);
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.shown().constFirst().message.prompt,
                 QStringLiteral("System Information Is Unavailable At This Time"));
        QVERIFY(launcher.started.isEmpty());
        // The box stays as it was, and the button can be pressed again.
        QCOMPARE(frmAbout::openWindow(), box);
        QCOMPARE(control<QLabel>(box, "lblVersion")->text(), QStringLiteral("Version 2.0.1"));
        QTest::mouseClick(sysInfo, Qt::LeftButton);
        QCOMPARE(dialogs.count(), 2);
    }

    // OK pressed while the message is open (assistive technology ignores modality): the box
    // and its message go away, and the program goes on.
    void okWhileTheSystemInfoMessageIsOpen() {
        ludora::platform::Replaceable<ludora::platform::Dialogs>::replace(nullptr);  // the real box
        QPointer<frmAbout> box = frmAbout::showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(box));
        bool messageShown = false;
        ludora::test::whenModalBoxOpens([&](QWidget* message) {
            messageShown = message->isVisible() && message->parentWidget() == box;
            control<QPushButton>(box, "cmdOK")->click();
        });
        control<QPushButton>(box, "cmdSysInfo")->click();
        ludora::platform::Replaceable<ludora::platform::Dialogs>::replace(&dialogs);
        QVERIFY(messageShown);
        QTRY_VERIFY(box.isNull());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void systemInfoStarts() {
        QTemporaryDir bin;
        QFile tool(bin.filePath(QStringLiteral("kinfocenter")));
        QVERIFY(tool.open(QIODevice::WriteOnly) && tool.setPermissions(QFileDevice::ExeOwner));
        tool.close();
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        launcher.startSucceeds.insert(tool.fileName());
        frmAbout* box = frmAbout::showWindow();
        QTest::mouseClick(control<QPushButton>(box, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(launcher.started, QStringList{tool.fileName()});
        QCOMPARE(dialogs.count(), 0);
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
