#include <QSignalSpy>
#include <QTest>

#include "CollectionTestSupport.h"
#include "collection/CaptionKeys.h"
#include "collection/Collection.h"

using ludora::CaptionKeys;
using ludora::Collection;
using ludora::test::entriesOf;
using ludora::test::namesOf;

class TestCollection : public QObject {
    Q_OBJECT

private:
    // Names n00000, n00001, ... in ascending order, so each add goes to the end.
    static void fillInOrder(Collection& c, int tab, int count) {
        for (int i = c.count(tab); i < count; ++i) {
            QCOMPARE(c.addName(tab, QStringLiteral("n%1").arg(i, 5, 10, QChar(u'0'))), i);
        }
    }

private Q_SLOTS:
    void startState() {
        Collection c;
        QCOMPARE(c.currentTab(), 2);
        QVERIFY(!c.isDirty());
        QVERIFY(c.fileName().isEmpty());
        QStringList expected{"N64", "JAGUAR", "TG16"};
        for (int tab = 3; tab <= 24; ++tab) {
            expected << QStringLiteral("UserDef%1").arg(tab);
        }
        QCOMPARE(ludora::test::captionsOf(c), expected);
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            QCOMPARE(c.count(tab), 0);
            QVERIFY(!c.isFull(tab));
            QVERIFY(c.model(tab) != nullptr);
        }
    }

    void addNameOrder_data() {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("letter case ignored")
            << QStringList{"beta", "Alpha", "alpha2"} << QStringList{"Alpha", "alpha2", "beta"};
        QTest::newRow("into the middle")
            << QStringList{"Echo", "Charlie", "delta"} << QStringList{"Charlie", "delta", "Echo"};
        QTest::newRow("equal names keep the order they came in")
            << QStringList{"abc", "ABC", "Abc", "aBC"} << QStringList{"abc", "ABC", "Abc", "aBC"};
        QTest::newRow("equal name goes after the existing ones")
            << QStringList{"b", "a", "c", "A", "B"} << QStringList{"a", "A", "b", "B", "c"};
        QTest::newRow("empty name sorts first")
            << QStringList{"x", "", "a", ""} << QStringList{"", "", "a", "x"};
        QTest::newRow("blanks kept and sorted as blanks")
            << QStringList{"a ", " b", "a", "  "} << QStringList{"  ", " b", "a", "a "};
        QTest::newRow("duplicates kept") << QStringList{"Zelda", "Zelda", "Mario", "Zelda"}
                                         << QStringList{"Mario", "Zelda", "Zelda", "Zelda"};
        QTest::newRow("prefix first") << QStringList{"Doom II", "Doom", "DOOM 64"}
                                      << QStringList{"Doom", "DOOM 64", "Doom II"};
        QTest::newRow("accented letters, case ignored")
            << QStringList{"\u00e9t\u00e9", "\u00c9T\u00c9 2", "ete"}
            << QStringList{"ete", "\u00e9t\u00e9", "\u00c9T\u00c9 2"};
    }
    void addNameOrder() {
        QFETCH(QStringList, added);
        QFETCH(QStringList, expected);
        Collection c;
        for (const QString& name : added) {
            const int pos = c.addName(1, name);
            QVERIFY(pos >= 0);
            QCOMPARE(c.nameAt(1, pos), name);
            QVERIFY(!c.isSelected(1, pos));
        }
        QCOMPARE(namesOf(c, 1), expected);
        QVERIFY(!c.isDirty());
        QCOMPARE(c.count(0), 0);
    }

    void addNameCleansText() {
        Collection c;
        c.addName(0, QStringLiteral("Line\r\nbreak\x1A"));
        c.addName(0, QStringLiteral("A"));
        // The blanks sort before letters, so the cleaned text is what was sorted.
        c.addName(0, QStringLiteral("\nZ"));
        QCOMPARE(namesOf(c, 0), (QStringList{" Z", "A", "Line  break "}));
    }

    void limit() {
        Collection c;
        fillInOrder(c, 5, Collection::kMaxNames - 1);
        QVERIFY(!c.isFull(5));
        QCOMPARE(c.addName(5, QStringLiteral("zz last")), Collection::kMaxNames - 1);
        QVERIFY(c.isFull(5));
        QCOMPARE(c.count(5), 32767);
        QSignalSpy inserted(c.model(5), &QAbstractItemModel::rowsInserted);
        QCOMPARE(c.addName(5, QStringLiteral("a first")), -1);
        QCOMPARE(c.addName(5, QString()), -1);
        QCOMPARE(c.count(5), 32767);
        QCOMPARE(c.nameAt(5, 0), QStringLiteral("n00000"));
        QCOMPARE(inserted.count(), 0);
        // Other lists are not affected, and removing one name makes room for one.
        QCOMPARE(c.addName(6, QStringLiteral("x")), 0);
        c.removeNameAt(5, 100);
        QVERIFY(!c.isFull(5));
        QCOMPARE(c.addName(5, QStringLiteral("a first")), 0);
        QCOMPARE(c.addName(5, QStringLiteral("b")), -1);
    }

    void removeNameAtMovesSelection() {
        Collection c;
        for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
            c.addName(3, QString::fromLatin1(name));
        }
        c.setSelected(3, 1, true);
        c.setSelected(3, 3, true);
        c.setSelected(3, 5, true);
        c.removeNameAt(3, 2);
        QCOMPARE(entriesOf(c, 3), (QStringList{"a", "*b", "*d", "e", "*f"}));
        c.removeNameAt(3, 0);
        QCOMPARE(entriesOf(c, 3), (QStringList{"*b", "*d", "e", "*f"}));
        c.removeNameAt(3, 3);
        QCOMPARE(entriesOf(c, 3), (QStringList{"*b", "*d", "e"}));
        // An insertion moves the flags along as well, and the new entry is unselected.
        c.addName(3, QStringLiteral("c"));
        c.addName(3, QStringLiteral("A"));
        QCOMPARE(entriesOf(c, 3), (QStringList{"A", "*b", "c", "*d", "e"}));
    }

    void removeSelected_data() {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("none") << QList<int>{} << QStringList{"a", "b", "c", "d", "e", "f"};
        QTest::newRow("one") << QList<int>{2} << QStringList{"a", "b", "d", "e", "f"};
        QTest::newRow("scattered") << QList<int>{0, 2, 3, 5} << QStringList{"b", "e"};
        QTest::newRow("first and last") << QList<int>{0, 5} << QStringList{"b", "c", "d", "e"};
        QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4, 5} << QStringList{};
    }
    void removeSelected() {
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, left);
        Collection c;
        for (const char* name : {"f", "e", "d", "c", "b", "a"}) {
            c.addName(0, QString::fromLatin1(name));
        }
        for (int pos : selected) {
            c.setSelected(0, pos, true);
        }
        QCOMPARE(c.removeSelected(0), int(selected.size()));
        QCOMPARE(entriesOf(c, 0), left);  // no entry left selected
        QVERIFY(!c.isDirty());
    }

    void clearNames() {
        Collection c;
        c.addName(2, QStringLiteral("Bonk"));
        c.addName(2, QStringLiteral("Alien Crush"));
        c.setSelected(2, 1, true);
        c.addName(1, QStringLiteral("Tempest 2000"));
        c.clearNames(2);
        QCOMPARE(c.count(2), 0);
        QCOMPARE(c.count(1), 1);
        QCOMPARE(c.addName(2, QStringLiteral("Zz")), 0);
        QVERIFY(!c.isSelected(2, 0));
        QVERIFY(!c.isDirty());
    }

    void resetCaptions_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");
        QTest::newRow("0") << 0 << "N64";
        QTest::newRow("1") << 1 << "JAGUAR";
        QTest::newRow("2") << 2 << "TG16";
        QTest::newRow("3") << 3 << "UserDef3";
        QTest::newRow("9") << 9 << "UserDef9";
        QTest::newRow("10") << 10 << "UserDef10";
        QTest::newRow("24") << 24 << "UserDef24";
    }
    void resetCaptions() {
        QFETCH(int, tab);
        QFETCH(QString, caption);
        Collection c;
        for (int t = 0; t < Collection::kTabCount; ++t) {
            c.setCaption(t, QStringLiteral("Other"));
        }
        QSignalSpy changed(&c, &Collection::captionChanged);
        c.resetCaptions();
        QCOMPARE(c.caption(tab), caption);
        QCOMPARE(Collection::defaultCaption(tab), caption);
        QCOMPARE(changed.count(), Collection::kTabCount);
    }

    void cleanText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clean");
        QTest::newRow("plain") << "Super Mario 64"
                               << "Super Mario 64";
        QTest::newRow("CR") << "a\rb"
                            << "a b";
        QTest::newRow("LF") << "a\nb"
                            << "a b";
        QTest::newRow("CR LF") << "\r\n"
                               << "  ";
        QTest::newRow("char 26") << "end\x1A"
                                 << "end ";
        QTest::newRow("other controls stay") << "a\tb\x1B\x01"
                                             << "a\tb\x1B\x01";
        QTest::newRow("empty") << ""
                               << "";
    }
    void cleanText() {
        QFETCH(QString, text);
        QFETCH(QString, clean);
        QCOMPARE(Collection::cleanText(text), clean);
        Collection c;
        c.setCaption(7, text);
        QCOMPARE(c.caption(7), clean);
        c.addName(7, text);
        QCOMPARE(c.nameAt(7, 0), clean);
    }

    void captionKey_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("short") << "N64"
                               << "N64      ";
        QTest::newRow("nine") << "UserDef10"
                              << "UserDef10";
        QTest::newRow("twelve") << "PlayStation2"
                                << "PlayStati";
        QTest::newRow("empty") << ""
                               << "         ";
        QTest::newRow("blanks kept") << " A "
                                     << " A       ";
        // A character outside the basic plane counts as one character, never half of one.
        QTest::newRow("emoji at nine") << "ABCDEFGH\U0001F3AEZ"
                                       << "ABCDEFGH\U0001F3AE";
        QTest::newRow("emoji short") << "\U0001F3AE"
                                     << "\U0001F3AE        ";
    }
    void captionKey() {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        QCOMPARE(CaptionKeys::keyOf(caption), key);
    }

    void takeContent() {
        Collection source;
        source.setCaption(4, QStringLiteral("Saturn"));
        source.addName(4, QStringLiteral("Nights"));
        source.addName(0, QStringLiteral("Mario"));
        source.setFileName(QStringLiteral("source.LDX"));
        Collection target;
        target.addName(0, QStringLiteral("Old"));
        target.setCaption(4, QStringLiteral("Gone"));
        target.setFileName(QStringLiteral("target.LDX"));
        target.setDirty(true);
        target.setCurrentTab(1);
        target.takeContent(source);
        QCOMPARE(target.caption(4), QStringLiteral("Saturn"));
        QCOMPARE(namesOf(target, 0), QStringList{"Mario"});
        QCOMPARE(namesOf(target, 4), QStringList{"Nights"});
        QCOMPARE(target.fileName(), QStringLiteral("target.LDX"));
        QVERIFY(target.isDirty());
        QCOMPARE(target.currentTab(), 1);
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            QCOMPARE(source.count(tab), 0);
        }
    }

    void fieldsAndSignals() {
        Collection c;
        QSignalSpy current(&c, &Collection::currentTabChanged);
        c.setCurrentTab(0);
        c.setCurrentTab(25);
        c.setCurrentTab(-1);
        QCOMPARE(c.currentTab(), 0);
        QCOMPARE(current.count(), 1);
        c.setFileName(QStringLiteral("/tmp/a.LDX"));
        QCOMPARE(c.fileName(), QStringLiteral("/tmp/a.LDX"));
        QSignalSpy available(&c, &Collection::availabilityChanged);
        c.setAvailable(5, false);
        QVERIFY(!c.isAvailable(5));
        QCOMPARE(available.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCollection)
#include "tst_collection.moc"
