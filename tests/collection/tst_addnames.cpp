#include <QSignalSpy>
#include <QTest>

#include "CollectionTestSupport.h"
#include "collection/Collection.h"
#include "collection/NameStore.h"

using ludora::Collection;
using ludora::NameStore;
using ludora::test::entriesOf;

// Bulk adding must give exactly the list that one addName() per name gives.
class TestAddNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matchesSingleAdds_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("existing");  // names in the list before
        QTest::addColumn<int>("batchSize");
        QTest::addColumn<QString>("alphabet");
        const QString few = QStringLiteral("aAbB");  // many names equal but for case
        const QString wide = QStringLiteral("aAbBzZ09 \u00e9\u00c9\r\n\x1A\u30bc");
        QTest::newRow("into empty, case-equal") << 1u << 0 << 300 << few;
        QTest::newRow("into non-empty, case-equal") << 2u << 200 << 300 << few;
        QTest::newRow("wide alphabet") << 3u << 50 << 500 << wide;
        QTest::newRow("with line breaks and end marks") << 4u << 0 << 200 << wide;
        QTest::newRow("single name") << 5u << 10 << 1 << wide;
        QTest::newRow("empty batch") << 6u << 10 << 0 << wide;
        QTest::newRow("overflow from non-empty") << 7u << 32000 << 1500 << wide;
        QTest::newRow("overflow, case-equal") << 8u << 30000 << 5000 << few;
        QTest::newRow("already full") << 9u << 32767 << 20 << wide;
        QTest::newRow("exactly fills") << 10u << 32700 << 67 << wide;
    }
    void matchesSingleAdds() {
        QFETCH(quint32, seed);
        QFETCH(int, existing);
        QFETCH(int, batchSize);
        QFETCH(QString, alphabet);
        QRandomGenerator rng(seed);
        Collection single;
        Collection bulk;
        // The same names first, added in order so that filling stays quick; some selected.
        for (int i = 0; i < existing; ++i) {
            const QString name = (i % 3 == 0 ? QStringLiteral("A") : QStringLiteral("a")) +
                                 QStringLiteral("%1").arg(i, 5, 10, QChar(u'0'));
            single.addName(0, name);
            bulk.addName(0, name);
            if (i % 7 == 0) {
                single.setSelected(0, i, true);
                bulk.setSelected(0, i, true);
            }
        }
        NameStore batch;
        qsizetype refusedSingly = 0;
        for (int i = 0; i < batchSize; ++i) {
            const QString name = ludora::test::randomText(rng, alphabet, 0, 6);
            batch.append(name);
            if (single.addName(0, name) < 0) {
                ++refusedSingly;
            }
        }
        QSignalSpy reset(bulk.model(0), &QAbstractItemModel::modelReset);
        QCOMPARE(bulk.addNames(0, std::move(batch)), refusedSingly);
        QCOMPARE(bulk.count(0), single.count(0));
        QCOMPARE(entriesOf(bulk, 0), entriesOf(single, 0));
        QCOMPARE(bulk.isFull(0), single.count(0) == Collection::kMaxNames);
        QCOMPARE(reset.count(), refusedSingly == batchSize ? 0 : 1);
    }

    // Names beyond the limit are the last ones of the batch, whatever their sort order.
    void keepsTheFirstNamesThatFit() {
        Collection c;
        for (int i = 0; i < Collection::kMaxNames - 2; ++i) {
            c.addName(3, QStringLiteral("m%1").arg(i, 5, 10, QChar(u'0')));
        }
        NameStore batch;
        for (const char* name : {"zz", "yy", "aa", "bb"}) {
            batch.append(QString::fromLatin1(name));
        }
        QCOMPARE(c.addNames(3, std::move(batch)), 2);
        QVERIFY(c.isFull(3));
        QCOMPARE(c.nameAt(3, 0), QStringLiteral("m00000"));
        QCOMPARE(c.nameAt(3, Collection::kMaxNames - 2), QStringLiteral("yy"));
        QCOMPARE(c.nameAt(3, Collection::kMaxNames - 1), QStringLiteral("zz"));
    }
};

QTEST_GUILESS_MAIN(TestAddNames)
#include "tst_addnames.moc"
