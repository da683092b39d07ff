#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

#include "CollectionTestSupport.h"
#include "collection/NameOrder.h"

using ludora::compareNames;

namespace {
int sign(int v) {
    return (v > 0) - (v < 0);
}
}  // namespace

class TestNameOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void compare_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("case ignored") << "Alpha"
                                      << "aLPHA" << 0;
        QTest::newRow("letters by alphabet") << "alpha2"
                                             << "Beta" << -1;
        QTest::newRow("upper before lower letter") << "Zeta"
                                                   << "alpha" << 1;
        QTest::newRow("empty first") << ""
                                     << "a" << -1;
        QTest::newRow("empty equals empty") << ""
                                            << "" << 0;
        QTest::newRow("blank first") << " z"
                                     << "a" << -1;
        QTest::newRow("prefix first") << "Doom"
                                      << "DOOM 64" << -1;
        QTest::newRow("trailing blank after") << "a "
                                              << "a" << 1;
        QTest::newRow("digits before letters") << "1942"
                                               << "Asteroids" << -1;
        QTest::newRow("accented case ignored") << "\u00e9t\u00e9"
                                               << "\u00c9T\u00c9" << 0;
        QTest::newRow("umlaut case ignored") << "\u00fc"
                                             << "\u00dc" << 0;
        QTest::newRow("Greek case ignored") << "\u03c9"
                                            << "\u03a9" << 0;
        QTest::newRow("Cyrillic case ignored") << "\u0436"
                                               << "\u0416" << 0;
        QTest::newRow("plain before accented") << "e"
                                               << "\u00e9" << -1;
        QTest::newRow("case decides nothing") << "ab"
                                              << "AC" << -1;
        QTest::newRow("NUL is a character") << QString(QChar(0)) << "" << 1;
    }
    void compare() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QCOMPARE(sign(compareNames(a, b)), order);
        QCOMPARE(sign(compareNames(b, a)), -order);
        QCOMPARE(ludora::nameLess(a, b), order < 0);
    }

    // The order must be a strict weak order, or sorting and binary search go wrong: check
    // it on random names, including names equal but for letter case.
    void isAStrictWeakOrder_data() {
        QTest::addColumn<QString>("alphabet");
        QTest::newRow("ASCII") << "aAbBzZ 0_[";
        QTest::newRow("Western") << "aA\u00e9\u00c9\u00df\u00ff\u0178\u0152\u0153";
        QTest::newRow("wide") << "a\u03a9\u03c9\u0416\u0436\u30bc\U0001F3AE\u212a\u2126k";
    }
    void isAStrictWeakOrder() {
        QFETCH(QString, alphabet);
        QRandomGenerator rng(7);
        QStringList names;
        for (int i = 0; i < 400; ++i) {
            names << ludora::test::randomText(rng, alphabet, 0, 4);
        }
        std::sort(names.begin(), names.end(), ludora::nameLess);
        for (qsizetype i = 0; i < names.size(); ++i) {
            QCOMPARE(compareNames(names[i], names[i]), 0);
            for (qsizetype j = i + 1; j < names.size(); ++j) {
                // Sorted: nothing later is smaller, and the sign flips with the arguments.
                const int ij = sign(compareNames(names[i], names[j]));
                QVERIFY2(ij <= 0, qPrintable(names[i] + QStringLiteral(" / ") + names[j]));
                QCOMPARE(sign(compareNames(names[j], names[i])), -ij);
                // Names equal in the order are equal ignoring case, and only those.
                QCOMPARE(ij == 0, names[i].compare(names[j], Qt::CaseInsensitive) == 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestNameOrder)
#include "tst_nameorder.moc"
