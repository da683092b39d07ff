#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "CollectionTestSupport.h"
#include "collection/Collection.h"
#include "collection/NameStore.h"

using ludora::Collection;
using ludora::NameStore;
using ludora::ReadResult;
using namespace ludora::test;

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
        // The same names first, added in order so that filling stays quick; then some
        // selected, all at once (one by one, each would compare all those selected before).
        for (int i = 0; i < existing; ++i) {
            const QString name = (i % 3 == 0 ? QStringLiteral("A") : QStringLiteral("a")) +
                                 QStringLiteral("%1").arg(i, 5, 10, QChar(u'0'));
            single.addName(0, name);
            bulk.addName(0, name);
        }
        const int step = std::max(7, existing / 50);
        for (Collection* c : {&single, &bulk}) {
            QItemSelection some;
            for (int i = 0; i < existing; i += step) {
                some.select(c->model(0)->index(i, 0), c->model(0)->index(i, 0));
            }
            c->selectionModel(0)->select(some, QItemSelectionModel::Select);
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

    // A list the file holds in order is taken as it is, any other is sorted: either way it
    // must be the list that one addName() per name, in file order, gives. The files are big
    // enough to be read in two pieces, whose joint falls inside the list, whatever ends the
    // lines; an end mark in either piece ends the data.
    void inOrderOrNot_data() {
        QTest::addColumn<QStringList>("names");  // of the first list, in file order
        QTest::addColumn<QByteArray>("eol");
        QTest::addColumn<int>("endMarkAt");  // the names from there on come after the mark
        QTest::addColumn<bool>("utf8");
        auto row = [](const char* name, const QStringList& names, const QByteArray& eol = "\r\n",
                      int endMarkAt = -1, bool utf8 = false) {
            QTest::newRow(name) << names << eol << endMarkAt << utf8;
        };
        QStringList ordered;
        for (int i = 0; i < 20000; ++i) {
            ordered << QStringLiteral("Game number %1 of the list").arg(i, 5, 10, QChar(u'0'));
        }
        row("in order", ordered);
        row("in order, lone CR", ordered, "\r");
        row("in order, lone LF", ordered, "\n");
        row("end mark in the first piece", ordered, "\r\n", 5000);
        row("end mark in the second piece", ordered, "\r\n", 15000);
        QStringList utf8 = ordered;
        utf8[15000] += QStringLiteral(" \u30bc\u30eb\u30c0");
        row("in order, UTF-8", utf8, "\r\n", -1, true);
        QStringList firstSwapped = ordered;
        firstSwapped.swapItemsAt(0, 1);
        row("first two swapped", firstSwapped);
        QStringList lastSwapped = ordered;
        lastSwapped.swapItemsAt(ordered.size() - 2, ordered.size() - 1);
        row("last two swapped", lastSwapped);
        // Equal but for letter case: each keeps its place in the file.
        QRandomGenerator rng(17);
        QStringList caseEqual;
        for (int i = 0; i < 20000; ++i) {
            caseEqual << randomText(rng, u"aA", 3, 3) + QStringLiteral(" game of the list ") +
                             QString::number(i / 5000);
        }
        row("equal but for case", caseEqual);
        // The names refused are the last in the file, not the last in order.
        QStringList full;
        for (int i = 0; i < Collection::kMaxNames + 3; ++i) {
            full << QStringLiteral("Game %1").arg(i, 5, 10, QChar(u'0'));
        }
        row("beyond a full list, in order", full);
        full.move(full.size() - 1, 0);
        row("beyond a full list, the last name first", full);
    }
    void inOrderOrNot() {
        QFETCH(QStringList, names);
        QFETCH(QByteArray, eol);
        QFETCH(int, endMarkAt);
        QFETCH(bool, utf8);
        QByteArray bytes = utf8 ? "\xEF\xBB\xBF" : "";
        for (const QByteArray& caption : defaultCaptionLines()) {
            bytes += caption + eol;
        }
        Collection single;
        qsizetype refusedSingly = 0;
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (i == endMarkAt) {
                bytes += "\x1A" + eol;
            }
            bytes += "N64      " + (utf8 ? names[i].toUtf8() : names[i].toLatin1()) + eol;
            if (endMarkAt < 0 || i < endMarkAt) {
                refusedSingly += single.addName(0, names[i]) < 0 ? 1 : 0;
            }
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.LDX"));
        putFile(path, bytes + "\x1A" + eol);
        Collection c;
        const ReadResult result = ludora::ReadCollectionFile(c, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.refused[0], refusedSingly);
        QCOMPARE(namesOf(c, 0), namesOf(single, 0));
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
