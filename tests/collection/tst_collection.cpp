#include <QSignalSpy>
#include <QTest>

#include "collection/Collection.h"

using ludora::Collection;

class TestCollection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsEmptyWithDefaultCaptions() {
        Collection c;
        QCOMPARE(c.currentTab(), 2);
        QVERIFY(!c.isDirty());
        QVERIFY(c.fileName().isEmpty());
        QCOMPARE(c.caption(0), QStringLiteral("N64"));
        QCOMPARE(c.caption(24), QStringLiteral("UserDef24"));
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            QCOMPARE(c.count(tab), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestCollection)
#include "tst_collection.moc"
