#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

#include "CollectionTestSupport.h"
#include "collection/NameOrder.h"
#include "collection/NameStore.h"

using ludora::NameStore;

namespace {

struct Reference {
    QStringList names;
};

// Characters held may exceed the live ones by at most the live ones or one block.
constexpr qsizetype kBlockCharacters = 64 * 1024;

}  // namespace

class TestNameStore : public QObject {
    Q_OBJECT

private:
    static void compare(const NameStore& store, const Reference& ref) {
        QCOMPARE(store.size(), ref.names.size());
        qsizetype live = 0;
        for (qsizetype i = 0; i < store.size(); ++i) {
            QCOMPARE(store.at(i).toString(), ref.names.at(i));
            live += ref.names.at(i).size();
        }
        QVERIFY2(store.storedCharacters() <= 2 * live + kBlockCharacters,
                 qPrintable(QStringLiteral("%1 characters held for %2 live")
                                .arg(store.storedCharacters())
                                .arg(live)));
    }

private Q_SLOTS:
    // Random inserts and removals of every kind against a plain list, with long names that
    // get blocks of their own; the store reclaims space now and then and must keep every
    // name right through it.
    void randomEditsMatchAPlainList_data() {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 4; ++seed) {
            QTest::addRow("seed %u", seed) << seed;
        }
    }
    void randomEditsMatchAPlainList() {
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        NameStore store;
        Reference ref;
        const QString alphabet = QStringLiteral("abcXYZ \u00e9\u30bc");
        for (int step = 0; step < 4000; ++step) {
            const quint32 op = rng.bounded(100);
            const auto size = ref.names.size();
            if (op < 55 || size == 0) {
                const int length =
                    rng.bounded(50) == 0 ? 17000 + int(rng.bounded(3000)) : int(rng.bounded(300));
                const QString text = ludora::test::randomText(rng, alphabet, length, length);
                const auto pos = qsizetype(rng.bounded(int(size) + 1));
                store.insert(pos, text);
                ref.names.insert(pos, text);
            } else if (op < 85) {
                const auto pos = qsizetype(rng.bounded(int(size)));
                store.removeAt(pos);
                ref.names.removeAt(pos);
            } else if (op < 95) {
                // Mark some entries, then remove the marked ones in one pass.
                std::vector<bool> marked(static_cast<size_t>(size));
                for (qsizetype i = 0; i < size; ++i) {
                    marked[size_t(i)] = rng.bounded(3) == 0;
                }
                qsizetype removed = 0;
                for (qsizetype i = size - 1; i >= 0; --i) {
                    if (marked[size_t(i)]) {
                        ref.names.removeAt(i);
                        ++removed;
                    }
                }
                QCOMPARE(store.removeMarked(marked), removed);
            } else if (op < 98) {
                const auto keep = qsizetype(rng.bounded(int(size) + 1));
                store.truncate(keep);
                ref.names.resize(keep);
            } else {
                // Copy a name of the store into the store itself.
                const auto from = qsizetype(rng.bounded(int(size)));
                const QString text = ref.names.at(from);
                store.insert(0, store.at(from));
                ref.names.prepend(text);
            }
            if (step % 97 == 0) {
                compare(store, ref);
                if (QTest::currentTestFailed()) {
                    qWarning("after step %d", step);
                    return;
                }
            }
        }
        compare(store, ref);
        store.clear();
        QCOMPARE(store.size(), 0);
        QCOMPARE(store.storedCharacters(), 0);
    }

    // Filling up and removing nearly everything gives the memory back.
    void reclaimsAfterManyRemovals() {
        NameStore store;
        for (int i = 0; i < 30000; ++i) {
            store.append(QStringLiteral("A name of some length %1").arg(i));
        }
        const qsizetype full = store.storedCharacters();
        QVERIFY(full > 30000 * 20);
        for (int i = 29999; i >= 10; --i) {
            store.removeAt(i % 2 == 0 ? i : 0);
        }
        QCOMPARE(store.size(), 10);
        qsizetype live = 0;
        for (qsizetype i = 0; i < store.size(); ++i) {
            QVERIFY(store.at(i).startsWith(u"A name of some length "));
            live += store.at(i).size();
        }
        QVERIFY2(store.storedCharacters() <= 2 * live + kBlockCharacters,
                 qPrintable(QString::number(store.storedCharacters())));
    }

    void sortAndMerge() {
        QRandomGenerator rng(42);
        const QString alphabet = QStringLiteral("aAbB");
        QStringList first;
        QStringList second;
        NameStore a;
        NameStore b;
        for (int i = 0; i < 500; ++i) {
            const QString x = ludora::test::randomText(rng, alphabet, 0, 4);
            const QString y = ludora::test::randomText(rng, alphabet, 0, 4);
            first << x;
            second << y;
            a.append(x);
            b.append(y);
        }
        a.sortStable();
        b.sortStable();
        std::stable_sort(first.begin(), first.end(), ludora::nameLess);
        std::stable_sort(second.begin(), second.end(), ludora::nameLess);
        for (qsizetype i = 0; i < a.size(); ++i) {
            QCOMPARE(a.at(i).toString(), first.at(i));
        }
        a.mergeFrom(std::move(b));
        QCOMPARE(b.size(), 0);
        // On ties the names already in the store come first.
        QStringList merged;
        std::merge(first.begin(), first.end(), second.begin(), second.end(),
                   std::back_inserter(merged), ludora::nameLess);
        QCOMPARE(a.size(), merged.size());
        for (qsizetype i = 0; i < a.size(); ++i) {
            QCOMPARE(a.at(i).toString(), merged.at(i));
        }
    }
};

QTEST_GUILESS_MAIN(TestNameStore)
#include "tst_namestore.moc"
