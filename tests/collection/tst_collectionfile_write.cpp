#include <QTemporaryDir>
#include <QTest>

#include "CollectionTestSupport.h"
#include "collection/CollectionFile.h"

using ludora::Collection;
using namespace ludora::test;

namespace {
const QByteArray kBom("\xEF\xBB\xBF");
}

// The writer, byte for byte.
class TestCollectionFileWrite : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyCollection() {
        Collection c;
        const QByteArray bytes = writeToBytes(c);
        QCOMPARE(bytes.size(), 257);
        QCOMPARE(bytes.count("\r\n"), 26);
        QCOMPARE(bytes, QByteArray("N64\r\nJAGUAR\r\nTG16\r\nUserDef3\r\nUserDef4\r\nUserDef5\r\n"
                                   "UserDef6\r\nUserDef7\r\nUserDef8\r\nUserDef9\r\nUserDef10\r\n"
                                   "UserDef11\r\nUserDef12\r\nUserDef13\r\nUserDef14\r\n"
                                   "UserDef15\r\nUserDef16\r\nUserDef17\r\nUserDef18\r\n"
                                   "UserDef19\r\nUserDef20\r\nUserDef21\r\nUserDef22\r\n"
                                   "UserDef23\r\nUserDef24\r\n\x1A\r\n"));
        QCOMPARE(bytes, fileBytes(dataFile(QStringLiteral("empty.LDX"))));
    }

    void exampleFile() {
        Collection c;
        c.addName(0, QStringLiteral("Beta"));
        c.addName(2, QStringLiteral("Gamma"));
        c.addName(0, QStringLiteral("Alpha"));
        const QByteArray bytes = writeToBytes(c);
        QCOMPARE(bytes, fileWithNames({"N64      Alpha", "N64      Beta", "TG16     Gamma"}));
        QCOMPARE(bytes, fileBytes(dataFile(QStringLiteral("example.LDX"))));
    }

    // A caption is written whole; its names go under its key.
    void keys_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QByteArray>("captionLine");
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("short") << "PSX" << QByteArray("PSX") << QByteArray("PSX      ");
        QTest::newRow("nine") << "Dreamcast" << QByteArray("Dreamcast") << QByteArray("Dreamcast");
        QTest::newRow("twelve") << "PlayStation2" << QByteArray("PlayStation2")
                                << QByteArray("PlayStati");
        QTest::newRow("empty") << "" << QByteArray("") << QByteArray("         ");
        QTest::newRow("blanks kept") << " 3DO " << QByteArray(" 3DO ") << QByteArray(" 3DO     ");
        QTest::newRow("Western letter")
            << "S\u00e9ga" << QByteArray("S\xe9ga") << QByteArray("S\xe9ga     ");
    }
    void keys() {
        QFETCH(QString, caption);
        QFETCH(QByteArray, captionLine);
        QFETCH(QByteArray, key);
        Collection c;
        c.setCaption(4, caption);
        c.addName(4, QStringLiteral("Game"));
        QList<QByteArray> lines = defaultCaptionLines();
        lines[4] = captionLine;
        lines << key + "Game"
              << "\x1A";
        QCOMPARE(writeToBytes(c), crlf(lines));
    }

    // Names go out exactly as held, grouped by tab, each list in its order.
    void namesAsHeld() {
        Collection c;
        c.addName(24, QStringLiteral("last tab"));
        c.addName(1, QStringLiteral("  Cybermorph  "));
        c.addName(1, QString());
        c.addName(1, QStringLiteral("alien vs Predator"));
        c.addName(1, QStringLiteral("Alien vs Predator"));
        c.addName(5, QString::fromUtf16(u"a\tb\u0000c", 5));
        QByteArray withNul("UserDef5 a\tb");
        withNul += '\0';
        withNul += 'c';
        QCOMPARE(
            writeToBytes(c),
            fileWithNames({"JAGUAR   ", "JAGUAR     Cybermorph  ", "JAGUAR   alien vs Predator",
                           "JAGUAR   Alien vs Predator", withNul, "UserDef24last tab"}));
    }

    // Windows-1252 when everything fits, byte for byte; otherwise UTF-8 behind a byte-order
    // mark at the very start.
    void encoding_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");  // for the tab, empty: keep the default
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("expected");
        QList<QByteArray> utf8Captions = defaultCaptionLines();
        utf8Captions[0] = kBom + utf8Captions[0];
        QTest::newRow("e acute") << 0 << ""
                                 << "Pok\u00e9mon" << fileWithNames({"N64      Pok\xe9mon"});
        QTest::newRow("u umlaut, euro")
            << 1 << ""
            << "\u00fc \u20ac \u0152 \u2122" << fileWithNames({"JAGUAR   \xfc \x80 \x8c \x99"});
        QTest::newRow("unassigned bytes")
            << 2 << ""
            << "\u0081\u008d\u008f\u0090\u009d" << fileWithNames({"TG16     \x81\x8d\x8f\x90\x9d"});
        QTest::newRow("Latin-1 top") << 2 << ""
                                     << "\u00a0\u00ff" << fileWithNames({"TG16     \xa0\xff"});
        QTest::newRow("Japanese name")
            << 2 << ""
            << "\u30bc\u30eb\u30c0 \u00e9"
            << crlf(utf8Captions +
                    QList<QByteArray>{"TG16     \xe3\x82\xbc\xe3\x83\xab\xe3\x83\x80 \xc3\xa9",
                                      "\x1A"});
        QTest::newRow("U+0080 has no byte")
            << 0 << ""
            << "\u0080" << crlf(utf8Captions + QList<QByteArray>{"N64      \xc2\x80", "\x1A"});
        QList<QByteArray> japaneseCaption = utf8Captions;
        japaneseCaption[3] = "\xe6\x97\xa5\xe6\x9c\xac";
        QTest::newRow("Japanese caption")
            << 3 << "\u65e5\u672c"
            << "\u00e9"
            << crlf(japaneseCaption +
                    QList<QByteArray>{"\xe6\x97\xa5\xe6\x9c\xac       \xc3\xa9", "\x1A"});
        // Beyond the basic plane: the key is nine whole characters.
        QList<QByteArray> emojiCaption = utf8Captions;
        emojiCaption[3] = "ABCDEFGH\xf0\x9f\x8e\xae!";
        QTest::newRow("emoji ninth in caption")
            << 3 << "ABCDEFGH\U0001F3AE!"
            << "x" << crlf(emojiCaption + QList<QByteArray>{"ABCDEFGH\xf0\x9f\x8e\xaex", "\x1A"});
    }
    void encoding() {
        QFETCH(int, tab);
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QFETCH(QByteArray, expected);
        Collection c;
        if (!caption.isEmpty()) {
            c.setCaption(tab, caption);
        }
        c.addName(tab, name);
        const QByteArray bytes = writeToBytes(c);
        QCOMPARE(bytes, expected);
        // And back.
        Collection back;
        QVERIFY(readFromBytes(back, bytes).ok);
        QCOMPARE(back.caption(tab), c.caption(tab));
        QCOMPARE(namesOf(back, tab), QStringList{name});
    }

    // A Windows-1252 file that happened to begin with the bytes of the byte-order mark would
    // be read back as UTF-8; such a file is written in UTF-8 instead.
    void captionThatLooksLikeTheMark() {
        Collection c;
        c.setCaption(0, QStringLiteral("\u00ef\u00bb\u00bfN64"));
        c.addName(3, QStringLiteral("Pok\u00e9mon"));
        const QByteArray bytes = writeToBytes(c);
        QVERIFY(bytes.startsWith(kBom + "\xc3\xaf\xc2\xbb\xc2\xbfN64\r\n"));
        Collection back;
        QVERIFY(readFromBytes(back, bytes).ok);
        QCOMPARE(namesOf(back, 3), QStringList{"Pok\u00e9mon"});
    }

    // The same bytes reach a file, which is replaced whole; fields stay as they were.
    void toFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("games.LDX"));
        putFile(path, QByteArray(5000, 'x'));
        Collection c;
        c.addName(0, QStringLiteral("Alpha"));
        c.setFileName(QStringLiteral("elsewhere.LDX"));
        c.setDirty(true);
        const ludora::WriteResult result = ludora::WriteCollectionFile(c, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.error.isEmpty());
        QCOMPARE(fileBytes(path), writeToBytes(c));
        QCOMPARE(c.fileName(), QStringLiteral("elsewhere.LDX"));
        QVERIFY(c.isDirty());
        QCOMPARE(folderEntries(dir.path()), QStringList{"games.LDX"});
    }
};

QTEST_GUILESS_MAIN(TestCollectionFileWrite)
#include "tst_collectionfile_write.moc"
