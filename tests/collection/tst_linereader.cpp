#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

#include "CollectionTestSupport.h"
#include "collection/CollectionLineReader.h"

using ludora::Collection;
using ludora::CollectionLineReader;
using ludora::ReadResult;
using namespace ludora::test;

struct Line {
    QString text;
    CollectionLineReader::LineEnd end;
    bool operator==(const Line&) const = default;
};
Q_DECLARE_METATYPE(Line)

namespace {

QList<Line> readAll(const QByteArray& bytes, qint64 piece, bool* sawEndMark = nullptr,
                    bool* dataAfter = nullptr) {
    QByteArray copy = bytes;
    TrickleBuffer device(&copy, piece > 0 ? piece : (qint64(1) << 40));
    device.open(QIODevice::ReadOnly);
    CollectionLineReader reader(device);
    QList<Line> lines;
    QString text;
    while (reader.readLine(text)) {
        lines << Line{text, reader.lineEnd()};
        if (reader.lineNumber() != lines.size()) {
            return {};
        }
    }
    if (sawEndMark) {
        *sawEndMark = reader.sawEndMark();
    }
    if (dataAfter) {
        *dataAfter = reader.dataAfterEndMark();
    }
    return lines;
}

}  // namespace

namespace QTest {
template <>
char* toString(const Line& line) {
    return toString(line.text + QStringLiteral(" / %1").arg(int(line.end)));
}
}  // namespace QTest

// The line reader on its own, and the reader on hostile input.
class TestLineReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lines_data() {
        using E = CollectionLineReader::LineEnd;
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<Line>>("lines");
        QTest::addColumn<bool>("endMark");
        QTest::addColumn<bool>("dataAfter");  // anything but a line end after the mark
        QTest::newRow("every line end")
            << QByteArray("a\r\nb\rc\nd")
            << QList<Line>{{"a", E::CrLf}, {"b", E::Cr}, {"c", E::Lf}, {"d", E::None}} << false
            << false;
        QTest::newRow("CR CR LF is two lines")
            << QByteArray("a\r\r\n") << QList<Line>{{"a", E::Cr}, {"", E::CrLf}} << false << false;
        QTest::newRow("LF CR is two lines")
            << QByteArray("\n\r") << QList<Line>{{"", E::Lf}, {"", E::Cr}} << false << false;
        QTest::newRow("end mark line")
            << QByteArray("a\r\n\x1A\r\n") << QList<Line>{{"a", E::CrLf}} << true << false;
        QTest::newRow("end mark without its line end")
            << QByteArray("a\r\n\x1A") << QList<Line>{{"a", E::CrLf}} << true << false;
        QTest::newRow("data after the mark")
            << QByteArray("a\r\n\x1A\r\nmore") << QList<Line>{{"a", E::CrLf}} << true << true;
        QTest::newRow("a second mark after the mark")
            << QByteArray("a\r\n\x1A\x1A") << QList<Line>{{"a", E::CrLf}} << true << true;
        QTest::newRow("a mark after text")
            << QByteArray("a\x1A\r\n") << QList<Line>{{"a", E::None}} << true << false;
        QTest::newRow("a mark after text, then more")
            << QByteArray("a\x1A\x1A") << QList<Line>{{"a", E::None}} << true << true;
        QTest::newRow("nothing") << QByteArray() << QList<Line>{} << false << false;
        QTest::newRow("NUL bytes are characters")
            << QByteArray("a\0b\r\n", 5) << QList<Line>{{QString::fromUtf16(u"a\0b", 3), E::CrLf}}
            << false << false;
        QTest::newRow("UTF-8 behind the mark")
            << QByteArray("\xEF\xBB\xBF\xc3\xa9\r\n") << QList<Line>{{"\u00e9", E::CrLf}} << false
            << false;
        QTest::newRow("invalid UTF-8 becomes U+FFFD")
            << QByteArray(
                   "\xEF\xBB\xBF"
                   "a\xff"
                   "b\xc3\r\nc\xff")
            << QList<Line>{{"a\ufffdb\ufffd", E::CrLf}, {"c\ufffd", E::None}} << false << false;
        QTest::newRow("U+FEFF starting a line is a character")
            << QByteArray(
                   "\xEF\xBB\xBF\xEF\xBB\xBF"
                   "a\r\n\xEF\xBB\xBF\r\n")
            << QList<Line>{{QStringLiteral("\ufeffa"), E::CrLf},
                           {QStringLiteral("\ufeff"), E::CrLf}}
            << false << false;
        QTest::newRow("the mark alone")
            << QByteArray("\xEF\xBB\xBF") << QList<Line>{} << false << false;
        QTest::newRow("half a mark is Windows-1252")
            << QByteArray("\xEF\xBB\r\n") << QList<Line>{{"\u00ef\u00bb", E::CrLf}} << false
            << false;
    }
    void lines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<Line>, lines);
        QFETCH(bool, endMark);
        QFETCH(bool, dataAfter);
        for (const qint64 piece : {0, 1, 2, 3}) {
            bool sawEndMark = false;
            bool sawDataAfter = false;
            QCOMPARE(readAll(bytes, piece, &sawEndMark, &sawDataAfter), lines);
            QCOMPARE(sawEndMark, endMark);
            QCOMPARE(sawDataAfter, dataAfter);
        }
    }

    void tenMegabyteLine() {
        const QByteArray name(10 << 20, 'x');
        const QByteArray bytes = fileWithNames({"N64      " + name});
        Collection c;
        const ReadResult result = readFromBytes(c, bytes);
        QVERIFY(result.ok);
        QCOMPARE(c.count(0), 1);
        QCOMPARE(c.nameAt(0, 0).size(), name.size());
        QCOMPARE(writeToBytes(c), bytes);

        // A single line and nothing else: not a collection file.
        Collection single;
        QVERIFY(!readFromBytes(single, name).ok);
    }

    void nulBytesInNames() {
        QByteArray line("N64      a");
        line += '\0';
        line += "b";
        const QByteArray bytes =
            fileWithNames({line, QByteArray("TG16     ") + QByteArray(3, '\0')});
        Collection c;
        QVERIFY(readFromBytes(c, bytes).ok);
        QCOMPARE(c.nameAt(0, 0), QString::fromUtf16(u"a\0b", 3));
        QCOMPARE(c.nameAt(2, 0), QString(3, QChar(0)));
        QCOMPARE(writeToBytes(c), bytes);
    }

    void onlyCarriageReturns() {
        Collection c;
        QVERIFY(readFromBytes(c, QByteArray(100000, '\r')).ok);
        for (int tab = 3; tab < Collection::kTabCount; ++tab) {
            QCOMPARE(c.caption(tab), QString());
        }
        QCOMPARE(listsOf(c), (QMap<int, QStringList>{}));
    }

    // Random bytes, with plenty of line ends and marks among them, read the same whatever
    // the read sizes, and never crash.
    void randomBytes() {
        QRandomGenerator rng(2024);
        const char special[] = {'\r', '\n', '\x1A', '\0', ' ', 'N', '6', '4'};
        for (int round = 0; round < 200; ++round) {
            QByteArray bytes(int(rng.bounded(3000)), Qt::Uninitialized);
            for (char& b : bytes) {
                b = rng.bounded(3) == 0 ? special[rng.bounded(8)] : char(rng.bounded(256));
            }
            if (round % 2) {
                bytes.prepend("\xEF\xBB\xBF");
            }
            Collection whole;
            const ReadResult first = readFromBytes(whole, bytes);
            Collection pieces;
            const ReadResult second = readFromBytes(pieces, bytes, 1 + rng.bounded(5));
            QCOMPARE(second.ok, first.ok);
            QCOMPARE(captionsOf(pieces), captionsOf(whole));
            QCOMPARE(listsOf(pieces), listsOf(whole));
        }
    }
};

QTEST_GUILESS_MAIN(TestLineReader)
#include "tst_linereader.moc"
