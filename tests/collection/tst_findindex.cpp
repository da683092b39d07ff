// Finding games: what matches what, the possible duplicates, and the index following the
// lists. The window and ldxtool both search through FindIndex.
#include <QTest>

#include "collection/Collection.h"
#include "collection/FindIndex.h"

using ludora::Collection;
using ludora::FindIndex;

namespace {

// Each entry "TAB:NAME" added to the collection.
void addEntries(Collection& c, const QStringList& entries) {
    for (const QString& entry : entries) {
        c.addName(entry.section(u':', 0, 0).toInt(), entry.section(u':', 1));
    }
}

// Each hit as "TAB:NAME".
QStringList shown(const Collection& c, const FindIndex::Hits& hits) {
    QStringList out;
    for (const FindIndex::Hit hit : hits) {
        const int tab = FindIndex::tabOf(hit);
        out << QString::number(tab) + u':' + c.nameAt(tab, FindIndex::posOf(hit));
    }
    return out;
}

}  // namespace

class TestFindIndex : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Names go into a collection as "TAB:NAME"; the query is searched in all lists, or in
    // one with "In N:" before it; the hits are listed in tab and list order.
    void matching_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("found");
        const QStringList zelda{"0:Legend of Zelda, The - Ocarina of Time", "0:Zelda II",
                                "2:Ze Lda"};
        QTest::newRow("words begin words, in any order")
            << zelda << "zelda oca" << QStringList{"0:Legend of Zelda, The - Ocarina of Time"};
        QTest::newRow("a word must begin a word") << zelda << "elda" << QStringList();
        QTest::newRow("letter case") << zelda << "ZELDA II" << QStringList{"0:Zelda II"};
        QTest::newRow("\"The\" anywhere is left out")
            << QStringList{"1:The Legend of Zelda", "2:Legend, The"} << "the legend"
            << QStringList{"1:The Legend of Zelda", "2:Legend, The"};
        QTest::newRow("\"the\" only as a whole word")
            << QStringList{"0:Theme Park", "0:Other"} << "the" << QStringList{};
        QTest::newRow("theme still begins Theme")
            << QStringList{"0:Theme Park", "0:Other"} << "them" << QStringList{"0:Theme Park"};
        QTest::newRow("accents") << QStringList{"0:Pokémon Red Version", "1:POKÉMON BLUE"}
                                 << "pokemon red" << QStringList{"0:Pokémon Red Version"};
        QTest::newRow("accents in the query too") << QStringList{"0:Pokemon Snap", "0:Señor Café"}
                                                  << "POKÉ" << QStringList{"0:Pokemon Snap"};
        QTest::newRow("punctuation breaks words")
            << QStringList{"0:Q.U.B.E.", "0:Qube"} << "q u b e" << QStringList{"0:Q.U.B.E."};
        QTest::newRow("the apostrophe breaks words")
            << QStringList{"2:Bonk's Adventure", "2:Bonks Adventure"} << "bonks"
            << QStringList{"2:Bonks Adventure"};
        QTest::newRow("digits are words") << QStringList{"0:Super Mario 64", "0:Mario 2"}
                                          << "mario 6" << QStringList{"0:Super Mario 64"};
        QTest::newRow("other scripts fold too")
            << QStringList{"7:ΣΤΡΑΤΗΓΟΣ", "7:ゼルダの伝説", "7:Straße"} << "στρα"
            << QStringList{"7:ΣΤΡΑΤΗΓΟΣ"};
        QTest::newRow("ß folds to ss") << QStringList{"7:Straße", "7:Strasse 2"} << "strass"
                                       << QStringList{"7:Strasse 2", "7:Straße"};
        QTest::newRow("every list, in tab order")
            << QStringList{"24:Doom", "0:Doom II", "3:doom"} << "doom"
            << QStringList{"0:Doom II", "3:doom", "24:Doom"};
        QTest::newRow("an empty query finds nothing in all lists")
            << QStringList{"0:Doom"} << "  " << QStringList{};
        QTest::newRow("an empty query in one list lists it whole")
            << QStringList{"5:B", "5:a", "6:c"} << "In 5:" << QStringList{"5:a", "5:B"};
        QTest::newRow("one list only")
            << QStringList{"5:Doom", "6:Doom"} << "In 6: doom" << QStringList{"6:Doom"};
    }
    void matching() {
        QFETCH(QStringList, names);
        QFETCH(QString, query);
        QFETCH(QStringList, found);
        Collection c;
        addEntries(c, names);
        int tab = FindIndex::kAllLists;
        if (query.startsWith(QLatin1String("In "))) {
            tab = query.section(u':', 0, 0).mid(3).toInt();
            query = query.section(u':', 1);
        }
        FindIndex index(c);
        QCOMPARE(shown(c, index.find(query, tab)), found);
    }

    // Names that share their normalised form with another of the same list form a group.
    void duplicates_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("found");  // groups apart by "|"
        QTest::addColumn<int>("groups");
        const QStringList bonk{"2:Bonk's Adventure", "2:BONK'S ADVENTURE", "2:Bonk's  Adventure!",
                               "2:Bonks Adventure", "2:Air Zonk"};
        QTest::newRow("case, blanks and punctuation")
            << bonk << ""
            << QStringList{"2:Bonk's  Adventure!", "2:Bonk's Adventure", "2:BONK'S ADVENTURE"} << 1;
        QTest::newRow("narrowed by the query") << bonk << "zonk" << QStringList{} << 0;
        QTest::newRow("groups in tab order, then by their first name")
            << QStringList{"4:Zelda", "4:zelda",  "0:The Doom", "0:Doom",
                           "4:Alpha", "4:ALPHA!", "1:Doom"}
            << "" << QStringList{"0:Doom",   "0:The Doom", "|",       "4:Alpha",
                                 "4:ALPHA!", "|",          "4:Zelda", "4:zelda"}
            << 3;
        QTest::newRow("only within one list")
            << QStringList{"0:Doom", "1:Doom"} << "" << QStringList{} << 0;
        QTest::newRow("names without letters are no duplicates")
            << QStringList{"3:", "3:!!", "3:The"} << "" << QStringList{} << 0;
    }
    void duplicates() {
        QFETCH(QStringList, names);
        QFETCH(QString, query);
        QFETCH(QStringList, found);
        QFETCH(int, groups);
        Collection c;
        addEntries(c, names);
        FindIndex index(c);
        std::vector<size_t> ends;
        QStringList groupsShown = shown(c, index.duplicates(query, FindIndex::kAllLists, &ends));
        for (auto end = ends.rbegin(); end != ends.rend(); ++end) {
            if (*end < size_t(groupsShown.size())) {
                groupsShown.insert(qsizetype(*end), QStringLiteral("|"));
            }
        }
        QCOMPARE(groupsShown, found);
        QCOMPARE(int(ends.size()), groups);
    }

    // The sign in the name box: every name of the same normalised form, in tab order.
    void sameAs() {
        Collection c;
        c.addName(4, QStringLiteral("Legend of Zelda, The"));
        c.addName(1, QStringLiteral("the legend of ZELDA"));
        c.addName(1, QStringLiteral("Legend of Zelda II"));
        FindIndex index(c);
        const QStringList both{"1:the legend of ZELDA", "4:Legend of Zelda, The"};
        QCOMPARE(shown(c, index.sameAs(u"Legend of Zelda")), both);
        QCOMPARE(shown(c, index.sameAs(u"Legend of Zeld")), QStringList());
        QCOMPARE(shown(c, index.sameAs(u" the ")), QStringList());
        // The index follows the lists: an added name, a removed one.
        c.addName(0, QStringLiteral("LEGEND OF ZELDA"));
        c.removeNameAt(4, 0);
        QCOMPARE(shown(c, index.sameAs(u"legend of zelda")),
                 (QStringList{"0:LEGEND OF ZELDA", "1:the legend of ZELDA"}));
        QCOMPARE(
            shown(c, index.find(u"legend zel")),
            (QStringList{"0:LEGEND OF ZELDA", "1:Legend of Zelda II", "1:the legend of ZELDA"}));
    }
};

QTEST_GUILESS_MAIN(TestFindIndex)
#include "tst_findindex.moc"
