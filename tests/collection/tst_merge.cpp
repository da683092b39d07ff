// Merging another machine's collection into this one: two ways, three ways with the base both
// started from, duplicates, captions, every list, the limit of a list.
#include <QRegularExpression>
#include <QTest>

#include "collection/Collection.h"
#include "collection/Merge.h"

using ludora::Collection;

namespace {

// A collection from "TAB:NAME" entries and "TAB=CAPTION" captions.
void fill(Collection& c, const QStringList& entries) {
    for (const QString& entry : entries) {
        const qsizetype at = entry.indexOf(QRegularExpression(QStringLiteral("[:=]")));
        const int tab = entry.left(at).toInt();
        if (entry[at] == u'=') {
            c.setCaption(tab, entry.mid(at + 1));
        } else {
            c.addName(tab, entry.mid(at + 1));
        }
    }
}

// Every list as "TAB:NAME" in list order, and the captions that are not the defaults.
QStringList shown(const Collection& c) {
    QStringList out;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (c.caption(tab) != Collection::defaultCaption(tab)) {
            out << QStringLiteral("%1=%2").arg(tab).arg(c.caption(tab));
        }
        for (int pos = 0; pos < c.count(tab); ++pos) {
            out << QStringLiteral("%1:%2").arg(tab).arg(c.nameAt(tab, pos));
        }
    }
    return out;
}

}  // namespace

class TestMerge : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void merge_data() {
        QTest::addColumn<QStringList>("mine");
        QTest::addColumn<QStringList>("theirs");
        QTest::addColumn<QStringList>("base");  // {"-"}: two ways
        QTest::addColumn<QStringList>("merged");
        QTest::addColumn<QString>("summary");
        const QStringList twoWays{"-"};
        QTest::newRow("two ways: every name of both")
            << QStringList{"0:Alpha", "0:Beta"} << QStringList{"0:Beta", "0:Gamma"} << twoWays
            << QStringList{"0:Alpha", "0:Beta", "0:Gamma"} << "tab 1 \"N64\": 1 added, 0 deleted";
        QTest::newRow("two ways: each name as often as the side that holds it more")
            << QStringList{"2:Bonk", "2:Bonk", "2:Alpha"}
            << QStringList{"2:Bonk", "2:Bonk", "2:Bonk", "2:bonk"} << twoWays
            << QStringList{"2:Alpha", "2:Bonk", "2:Bonk", "2:Bonk", "2:bonk"}
            << "tab 3 \"TG16\": 2 added";
        QTest::newRow("two ways: the captions stay mine")
            << QStringList{"5=Saturn", "5:Nights"} << QStringList{"5=Sega Saturn", "5:Panzer"}
            << twoWays << QStringList{"5=Saturn", "5:Nights", "5:Panzer"} << "tab 6 \"Saturn\"";
        QTest::newRow("two ways: nothing new")
            << QStringList{"1:Doom"} << QStringList{} << twoWays << QStringList{"1:Doom"}
            << "No names were added or deleted.";
        QTest::newRow("three ways: deleted there, left alone here")
            << QStringList{"0:Alpha", "0:Beta", "0:Gamma"} << QStringList{"0:Alpha"}
            << QStringList{"0:Alpha", "0:Beta"} << QStringList{"0:Alpha", "0:Gamma"}
            << "tab 1 \"N64\": 0 added, 1 deleted";
        QTest::newRow("three ways: added on both sides, once")
            << QStringList{"0:Alpha", "0:Zelda"} << QStringList{"0:Zelda", "0:Alpha", "0:Mario"}
            << QStringList{"0:Alpha"} << QStringList{"0:Alpha", "0:Mario", "0:Zelda"} << "1 added";
        QTest::newRow("three ways: one copy deleted here, one added there")
            << QStringList{"0:Doom"} << QStringList{"0:Doom", "0:Doom", "0:Doom"}
            << QStringList{"0:Doom", "0:Doom"} << QStringList{"0:Doom", "0:Doom"} << "1 added";
        QTest::newRow("three ways: a caption changed on one side only")
            << QStringList{"5=Old", "6=Mine"} << QStringList{"5=New", "6=Theirs"}
            << QStringList{"5=Old", "6=Base"} << QStringList{"5=New", "6=Mine"}
            << "No names were added or deleted.";
        QStringList mine;
        QStringList theirs;
        QStringList every;
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            mine << QStringLiteral("%1:Mine").arg(tab);
            theirs << QStringLiteral("%1:Theirs").arg(tab);
            every << QStringLiteral("%1:Mine").arg(tab) << QStringLiteral("%1:Theirs").arg(tab);
        }
        QTest::newRow("every list")
            << mine << theirs << twoWays << every << "tab 25 \"UserDef24\": 1 added";
        // A list that would overflow keeps its first names in list order.
        QStringList full;
        for (int i = 0; i < Collection::kMaxNames; ++i) {
            full << QStringLiteral("3:n%1").arg(i, 5, 10, QChar(u'0'));
        }
        QStringList kept = full;
        kept.removeLast();
        kept.prepend(QStringLiteral("3:a first"));
        QTest::newRow("a list that would pass 32,767 names")
            << full << QStringList{"3:zz last", "3:a first"} << twoWays << kept
            << "2 added, 0 deleted; 2 left out, as a list holds at most 32,767 names";
    }

    void merge() {
        QFETCH(QStringList, mine);
        QFETCH(QStringList, theirs);
        QFETCH(QStringList, base);
        QFETCH(QStringList, merged);
        QFETCH(QString, summary);
        Collection a;
        Collection b;
        Collection common;
        fill(a, mine);
        fill(b, theirs);
        const bool threeWays = base != QStringList{"-"};
        if (threeWays) {
            fill(common, base);
        }
        const ludora::MergeResult result =
            ludora::mergeCollections(a, b, threeWays ? &common : nullptr);
        QCOMPARE(shown(a), merged);
        QVERIFY2(ludora::mergeSummary(a, result).contains(summary),
                 qPrintable(ludora::mergeSummary(a, result)));
    }
};

QTEST_GUILESS_MAIN(TestMerge)
#include "tst_merge.moc"
