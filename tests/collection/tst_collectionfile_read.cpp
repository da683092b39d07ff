#include <QTemporaryDir>
#include <QTest>

#include "CollectionTestSupport.h"
#include "collection/CollectionFile.h"

using ludora::Collection;
using ludora::ReadResult;
using namespace ludora::test;

using Captions = QMap<int, QString>;
using Lists = QMap<int, QStringList>;

namespace {

// A file made of caption lines and name lines, each ended by eol, then the end mark.
QByteArray build(const QList<QByteArray>& captions, const QList<QByteArray>& names,
                 const QByteArray& eol = "\r\n", const QByteArray& tail = "\x1A\r\n") {
    QByteArray bytes;
    for (const QByteArray& line : captions + names) {
        bytes += line + eol;
    }
    return bytes + tail;
}

QList<QByteArray> captionsWith(int tab, const QByteArray& caption) {
    QList<QByteArray> lines = defaultCaptionLines();
    lines[tab] = caption;
    return lines;
}

// Every piece size reads the same: line ends split between reads change nothing.
const QList<qint64> kPieces{0, 1, 2, 3, 7};

}  // namespace

// The reader: where each line goes, and how lines and the data end.
class TestCollectionFileRead : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fixtures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Lists>("lists");
        QTest::newRow("empty") << "empty.LDX" << Lists{};
        QTest::newRow("example") << "example.LDX" << Lists{{0, {"Alpha", "Beta"}}, {2, {"Gamma"}}};
        QTest::newRow("Windows-1252")
            << "western-1252.LDX"
            << Lists{{0, {"Pok\u00e9mon Snap", "\u20ac \u0081\u008d\u008f\u0090\u009d"}},
                     {1, {"\u00fcber"}}};
        QTest::newRow("UTF-8") << "japanese-utf8.LDX"
                               << Lists{{0, {"Pok\u00e9mon Snap"}},
                                        {2, {"\u30bc\u30eb\u30c0\u306e\u4f1d\u8aac"}}};
    }
    void fixtures() {
        QFETCH(QString, file);
        QFETCH(Lists, lists);
        Collection c;
        c.setFileName(QStringLiteral("kept.LDX"));
        const ReadResult result = ludora::ReadCollectionFile(c, dataFile(file));
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.error.isEmpty());
        QCOMPARE(result.refusedTotal(), 0);
        QVERIFY(result.refusedMessage(c).isEmpty());
        QCOMPARE(captionsOf(c), captionsOf(Collection()));
        QCOMPARE(listsOf(c), lists);
        QCOMPARE(c.fileName(), QStringLiteral("kept.LDX"));
        QVERIFY(!c.isDirty());
        // Written again, the file comes out byte for byte as it was.
        QCOMPARE(writeToBytes(c), fileBytes(dataFile(file)));
    }

    void edgeCases_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Captions>("captions");  // those that differ from the start
        QTest::addColumn<Lists>("lists");
        const QList<QByteArray> defaults = defaultCaptionLines();
        QTest::newRow("caption longer than a key")
            << build(captionsWith(4, "PlayStation2"), {"PlayStatiGran Turismo", "PlayStation2x"})
            << Captions{{4, "PlayStation2"}} << Lists{{4, {"Gran Turismo", "on2x"}}};
        QTest::newRow("empty caption") << build(captionsWith(5, ""), {"         Tetris"})
                                       << Captions{{5, ""}} << Lists{{5, {"Tetris"}}};
        QTest::newRow("caption read exactly")
            << build(captionsWith(10, "  Neo Geo CD  "), {"  Neo Geo Samurai"})
            << Captions{{10, "  Neo Geo CD  "}} << Lists{{10, {" Samurai"}}};
        QTest::newRow("two tabs share a key")
            << build(captionsWith(3, "N64"), {"N64      Mario", "N64      Zelda"})
            << Captions{{3, "N64"}} << Lists{{0, {"Mario", "Zelda"}}};
        QTest::newRow("name starts with a later key")
            << build(defaults, {"N64      TG16     Bonk"}) << Captions{}
            << Lists{{0, {"TG16     Bonk"}}, {2, {"Bonk"}}};
        QTest::newRow("keys in a row")
            << build(defaults, {"N64      JAGUAR   TG16     X"}) << Captions{}
            << Lists{{0, {"JAGUAR   TG16     X"}}, {1, {"TG16     X"}}, {2, {"X"}}};
        QTest::newRow("never back to an earlier tab")
            << build(defaults, {"TG16     N64      X"}) << Captions{} << Lists{{2, {"N64      X"}}};
        QList<QByteArray> others = captionsWith(3, "SNES");
        others[0] = "SNES";
        others[1] = "Genesis";
        others[2] = "";
        QTest::newRow("first three caption lines ignored")
            << build(others, {"SNES     Zelda", "Genesis  Sonic", "N64      Mario", "         x"})
            << Captions{{3, "SNES"}} << Lists{{0, {"Mario"}}, {3, {"Zelda"}}};
        QTest::newRow("lines after the end mark ignored")
            << build(defaults, {"N64      A", "\x1A", "N64      Ghost"}, "\r\n", "") << Captions{}
            << Lists{{0, {"A"}}};
        QTest::newRow("end mark after text on a line")
            << build(defaults, {"N64      A\x1AN64      B"}, "\r\n", "") << Captions{}
            << Lists{{0, {"A"}}};
        QTest::newRow("no end mark") << build(defaults, {"N64      A", "N64      B"}, "\r\n", "")
                                     << Captions{} << Lists{{0, {"A", "B"}}};
        QTest::newRow("no end mark, no last line end")
            << build(defaults, {"N64      A"}, "\r\n", "N64      B") << Captions{}
            << Lists{{0, {"A", "B"}}};
        QTest::newRow("lone CR") << build(captionsWith(6, "Lynx"), {"Lynx     Chip"}, "\r")
                                 << Captions{{6, "Lynx"}} << Lists{{6, {"Chip"}}};
        QTest::newRow("lone LF") << build(captionsWith(6, "Lynx"), {"Lynx     Chip"}, "\n")
                                 << Captions{{6, "Lynx"}} << Lists{{6, {"Chip"}}};
        QTest::newRow("mixed line ends")
            << QByteArray("N64\rJAGUAR\nTG16\r\nUserDef3\n\rUserDef5\r\r\n") +
                   build(defaults.mid(7), {"UserDef5 x", "N64      y"}, "\n")
            << Captions{{4, ""}, {6, ""}} << Lists{{0, {"y"}}, {5, {"x"}}};
        QTest::newRow("short lines skipped")
            << build(defaults, {"N64", "N64     ", "", "TG16", "JAGUAR  x"}) << Captions{}
            << Lists{};
        QTest::newRow("blanks around names")
            << build(defaults, {"N64        Alpha  ", "N64       "}) << Captions{}
            << Lists{{0, {" ", "  Alpha  "}}};
        QTest::newRow("empty names") << build(defaults, {"N64      ", "TG16     ", "N64      "})
                                     << Captions{} << Lists{{0, {"", ""}}, {2, {""}}};
        QTest::newRow("keys are case-sensitive")
            << build(defaults, {"n64      x", "Tg16     y", "N64      z"}) << Captions{}
            << Lists{{0, {"z"}}};
        QTest::newRow("sorted, file order among equals")
            << build(defaults, {"N64      b", "N64      ABC", "N64      abc", "N64      a",
                                "N64      Abc", "N64      b"})
            << Captions{} << Lists{{0, {"a", "ABC", "abc", "Abc", "b", "b"}}};
        QTest::newRow("exactly 25 lines")
            << build(defaults.mid(0, 24), {}, "\r\n", defaults.last()) << Captions{} << Lists{};
        QTest::newRow("exactly 25 lines and the end mark")
            << build(defaults, {}, "\r\n", "\x1A") << Captions{} << Lists{};
        QTest::newRow("UTF-8 behind the mark")
            << QByteArray("\xEF\xBB\xBFN64?!\r\n") +
                   build(defaults.mid(1), {"N64      \xc3\xa9", "TG16     \xe6\x97\xa5"})
            << Captions{} << Lists{{0, {"\u00e9"}}, {2, {"\u65e5"}}};
        QTest::newRow("invalid UTF-8 becomes U+FFFD")
            << QByteArray("\xEF\xBB\xBF") +
                   build(defaults, {"N64      a\xff"
                                    "b",
                                    "N64      \xc3(", "TG16     \xed\xa0\x80"})
            << Captions{} << Lists{{0, {"a\ufffdb", "\ufffd("}}, {2, {"\ufffd\ufffd\ufffd"}}};
        QTest::newRow("the mark later is no mark")
            << build(defaults, {"N64      \xEF\xBB\xBF"}) << Captions{}
            << Lists{{0, {"\u00ef\u00bb\u00bf"}}};
    }
    void edgeCases() {
        QFETCH(QByteArray, bytes);
        QFETCH(Captions, captions);
        QFETCH(Lists, lists);
        QStringList expectedCaptions = captionsOf(Collection());
        for (auto it = captions.cbegin(); it != captions.cend(); ++it) {
            expectedCaptions[it.key()] = it.value();
        }
        for (const qint64 piece : kPieces) {
            Collection c;
            const ReadResult result = readFromBytes(c, bytes, piece);
            QVERIFY2(result.ok, qPrintable(result.error));
            QCOMPARE(captionsOf(c), expectedCaptions);
            QCOMPARE(listsOf(c), lists);
            QCOMPARE(result.refusedTotal(), 0);
        }
    }

    void fewerThan25Lines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines");
        const QList<QByteArray> defaults = defaultCaptionLines();
        QTest::newRow("nothing") << QByteArray() << 0;
        QTest::newRow("only the end mark") << QByteArray("\x1A\r\n") << 0;
        QTest::newRow("one line") << QByteArray("N64") << 1;
        QTest::newRow("24 lines") << crlf(defaults.mid(0, 24)) << 24;
        QTest::newRow("24 lines and the end mark") << build(defaults.mid(0, 24), {}) << 24;
        QTest::newRow("only the mark of UTF-8") << QByteArray("\xEF\xBB\xBF") << 0;
        QTest::newRow("ten lone CRs") << QByteArray(10, '\r') << 10;
    }
    void fewerThan25Lines() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        for (const qint64 piece : kPieces) {
            Collection c;
            c.addName(0, QStringLiteral("kept"));
            const ReadResult result = readFromBytes(c, bytes, piece);
            QVERIFY(!result.ok);
            QVERIFY2(result.error.contains(QStringLiteral("\"memory\"")), qPrintable(result.error));
            const QString count = lines == 1 ? QStringLiteral(" 1 line,")
                                             : QStringLiteral(" %1 lines,").arg(lines);
            QVERIFY2(result.error.contains(count), qPrintable(result.error));
            QCOMPARE(namesOf(c, 0), QStringList{"kept"});
        }
    }

    void fewerThan25LinesFromAFile() {
        Collection c;
        const QString path = dataFile(QStringLiteral("short-24-lines.LDX"));
        const ReadResult result = ludora::ReadCollectionFile(c, path);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(path), qPrintable(result.error));
    }

    // The reader takes the file in chunks of 1 MB: a CR LF split between two chunks is one
    // line end, and a lone CR or LF at a chunk's end is one too.
    void lineEndAtChunkBoundary_data() {
        QTest::addColumn<int>("shift");  // of the line end's first byte against 1 MB
        QTest::addColumn<QByteArray>("eol");
        QTest::addColumn<bool>("utf8");
        for (const int shift : {-2, -1, 0, 1}) {
            for (const char* eol : {"\r\n", "\r", "\n"}) {
                QTest::addRow("%d %s", shift, QByteArray(eol).toPercentEncoding().constData())
                    << shift << QByteArray(eol) << false;
            }
        }
        QTest::newRow("UTF-8 CR LF split") << -1 << QByteArray("\r\n") << true;
    }
    void lineEndAtChunkBoundary() {
        QFETCH(int, shift);
        QFETCH(QByteArray, eol);
        QFETCH(bool, utf8);
        constexpr int kChunk = 1 << 20;
        const QByteArray head =
            QByteArray(utf8 ? "\xEF\xBB\xBF" : "") + "N64" + eol + "JAGUAR" + eol + "TG16" + eol;
        const QByteArray longCaption(kChunk + shift - int(head.size()), 'c');
        QList<QByteArray> rest = defaultCaptionLines().mid(4);
        const QByteArray bytes = head + longCaption + eol + build(rest, {"UserDef4 x"}, eol);
        QCOMPARE(bytes.at(kChunk + shift), eol.at(0));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.LDX"));
        putFile(path, bytes);
        Collection fromFile;
        const ReadResult fileResult = ludora::ReadCollectionFile(fromFile, path);
        QVERIFY2(fileResult.ok, qPrintable(fileResult.error));
        Collection fromMemory;
        QVERIFY(readFromBytes(fromMemory, bytes).ok);
        for (const Collection* c : {&fromFile, &fromMemory}) {
            QCOMPARE(c->caption(3), QString::fromLatin1(longCaption));
            QCOMPARE(c->caption(4), QStringLiteral("UserDef4"));
            QCOMPARE(c->caption(24), QStringLiteral("UserDef24"));
            QCOMPARE(listsOf(*c), (Lists{{4, {"x"}}}));
        }
    }

    // Names beyond a full list are not added, and the result says how many, per tab.
    void fullListsRefuseAndCount() {
        QList<QByteArray> names;
        // Descending, so that the names kept (the first in the file) are not the first in
        // sorted order.
        for (int i = Collection::kMaxNames + 2; i >= 0; --i) {
            names << "UserDef4 n" + QByteArray::number(i).rightJustified(5, '0');
        }
        for (int i = 0; i <= Collection::kMaxNames; ++i) {
            names << "N64      " + QByteArray::number(i);
        }
        names << "TG16     fits";
        Collection c;
        c.setCaption(4, QStringLiteral("Saturn"));  // the file's caption counts, not this
        const ReadResult result = readFromBytes(c, build(defaultCaptionLines(), names));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.refused[4], 3);
        QCOMPARE(result.refused[0], 1);
        QCOMPARE(result.refused[2], 0);
        QCOMPARE(result.refusedTotal(), 4);
        QCOMPARE(c.count(4), Collection::kMaxNames);
        QVERIFY(c.isFull(4));
        QCOMPARE(c.nameAt(4, 0), QStringLiteral("n00003"));
        QCOMPARE(c.nameAt(4, Collection::kMaxNames - 1), QStringLiteral("n32769"));
        QCOMPARE(c.count(0), Collection::kMaxNames);
        QCOMPARE(namesOf(c, 2), QStringList{"fits"});
        const QString message = result.refusedMessage(c);
        QVERIFY2(message.contains(QStringLiteral("32767")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("3 names")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\"UserDef4\"")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("1 name ")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("\"N64\"")), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("TG16")), qPrintable(message));
    }

    // The reader adds to what the lists hold; room left is room left.
    void addsToWhatIsThere() {
        Collection c;
        for (int i = 0; i < Collection::kMaxNames - 2; ++i) {
            c.addName(2, QStringLiteral("m%1").arg(i, 5, 10, QChar(u'0')));
        }
        c.addName(1, QStringLiteral("Tempest"));
        c.setDirty(true);
        const ReadResult result = readFromBytes(
            c, fileWithNames({"TG16     z1", "TG16     a2", "TG16     a3", "JAGUAR   Doom"}));
        QVERIFY(result.ok);
        QCOMPARE(result.refused[2], 1);
        QCOMPARE(c.nameAt(2, 0), QStringLiteral("a2"));
        QCOMPARE(c.nameAt(2, Collection::kMaxNames - 1), QStringLiteral("z1"));
        QCOMPARE(namesOf(c, 1), (QStringList{"Doom", "Tempest"}));
        QVERIFY(c.isDirty());
    }

    // Random collections survive a write and a read.
    void roundTrip_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("nonWestern");
        for (quint32 seed = 1; seed <= 6; ++seed) {
            QTest::addRow("Windows-1252 %u", seed) << seed << false;
            QTest::addRow("UTF-8 %u", seed) << seed << true;
        }
    }
    void roundTrip() {
        QFETCH(quint32, seed);
        QFETCH(bool, nonWestern);
        Collection original;
        fillRandom(original, seed, nonWestern);
        const QByteArray bytes = writeToBytes(original);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), nonWestern);
        QVERIFY(bytes.endsWith("\r\n\x1A\r\n"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("random.LDX"));
        const ludora::WriteResult written = ludora::WriteCollectionFile(original, path);
        QVERIFY2(written.ok, qPrintable(written.error));
        QCOMPARE(fileBytes(path), bytes);

        Collection fromFile;
        QVERIFY(ludora::ReadCollectionFile(fromFile, path).ok);
        Collection trickled;
        QVERIFY(readFromBytes(trickled, bytes, 5).ok);
        for (const Collection* back : {&fromFile, &trickled}) {
            QCOMPARE(captionsOf(*back), captionsOf(original));
            for (int tab = 0; tab < Collection::kTabCount; ++tab) {
                QCOMPARE(namesOf(*back, tab), namesOf(original, tab));
            }
        }
        QCOMPARE(writeToBytes(fromFile), bytes);
    }
};

QTEST_GUILESS_MAIN(TestCollectionFileRead)
#include "tst_collectionfile_read.moc"
