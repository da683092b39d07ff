// The About box as assistive technology reads it.
#include <QAccessible>
#include <QTest>

#include "about/frmAbout.h"
#include "support/AccessibleTree.h"
#include "support/FakeLauncher.h"

using ludora::frmAbout;

class TestAboutAccessibility : public QObject {
    Q_OBJECT

    ludora::test::FakeLauncher launcher_;

private Q_SLOTS:
    void cleanup() { delete frmAbout::openWindow(); }

    void controls_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("picIcon") << "picIcon" << int(QAccessible::Graphic) << "Ludora logo";
        QTest::newRow("cmdOK") << "cmdOK" << int(QAccessible::PushButton) << "OK";
        QTest::newRow("cmdSysInfo")
            << "cmdSysInfo" << int(QAccessible::PushButton) << "System Info...";
        QTest::newRow("Label3") << "Label3" << int(QAccessible::Link)
                                << "Click here to visit Ludora Hompage";
        QTest::newRow("Line2") << "Line2" << int(QAccessible::Separator) << "";
        QTest::newRow("lblTitle") << "lblTitle" << int(QAccessible::StaticText) << "Ludora";
        QTest::newRow("lblVersion")
            << "lblVersion" << int(QAccessible::StaticText) << "Version 2.0.1";
    }
    void controls() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        frmAbout* box = frmAbout::showWindow();
        auto* widget = box->findChild<QWidget*>(control);
        QVERIFY(widget);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
    }

    // Every part of the box reads as what it is: the lines of the etched separator too.
    void nothingReadsAsAnEmptyFrame() {
        frmAbout* box = frmAbout::showWindow();
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(window->role(), QAccessible::Dialog);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("About Ludora"));
        int separators = 0;
        for (int i = 0; i < window->childCount(); ++i) {
            QAccessibleInterface* child = window->child(i);
            if (child->role() == QAccessible::Separator) {
                ++separators;
            } else {
                QVERIFY2(!child->text(QAccessible::Name).isEmpty(),
                         qPrintable(child->object()->objectName()));
            }
        }
        QCOMPARE(separators, 3);
        const QStringList unnamed = ludora::test::unnamedControls(box);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TestAboutAccessibility)
#include "tst_aboutaccessibility.moc"
