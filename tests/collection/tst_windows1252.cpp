#include <QSet>
#include <QTest>

#include "collection/Windows1252.h"

namespace w = ludora::windows1252;

class TestWindows1252 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void characters_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("character");
        QTest::newRow("NUL") << 0x00 << 0x0000;
        QTest::newRow("A") << 0x41 << 0x0041;
        QTest::newRow("euro") << 0x80 << 0x20AC;
        QTest::newRow("81 unassigned") << 0x81 << 0x0081;
        QTest::newRow("low quote") << 0x82 << 0x201A;
        QTest::newRow("Z caron") << 0x8E << 0x017D;
        QTest::newRow("8D unassigned") << 0x8D << 0x008D;
        QTest::newRow("8F unassigned") << 0x8F << 0x008F;
        QTest::newRow("90 unassigned") << 0x90 << 0x0090;
        QTest::newRow("left quote") << 0x91 << 0x2018;
        QTest::newRow("trade mark") << 0x99 << 0x2122;
        QTest::newRow("9D unassigned") << 0x9D << 0x009D;
        QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
        QTest::newRow("no-break space") << 0xA0 << 0x00A0;
        QTest::newRow("e acute") << 0xE9 << 0x00E9;
        QTest::newRow("y diaeresis") << 0xFF << 0x00FF;
    }
    void characters() {
        QFETCH(int, byte);
        QFETCH(int, character);
        const char b = char(byte);
        QString decoded;
        w::decode(&b, 1, decoded);
        QCOMPARE(decoded, QString(QChar(char16_t(character))));
        QVERIFY(w::canEncode(decoded));
        QByteArray encoded;
        w::encode(decoded, encoded);
        QCOMPARE(encoded, QByteArray(1, b));
    }

    // All 256 bytes survive a read and a write, appended after what was there.
    void everyByteRoundTrips() {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            all += char(b);
        }
        QString text = QStringLiteral("x");
        w::decode(all.constData(), all.size(), text);
        QCOMPARE(text.size(), 257);
        QCOMPARE(QSet<QChar>(text.begin() + 1, text.end()).size(), 256);
        QByteArray back("y");
        w::encode(QStringView(text).mid(1), back);
        QCOMPARE(back, "y" + all);
    }

    void withoutAByte_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("U+0080") << QString(QChar(0x80));
        QTest::newRow("U+009F") << QString(QChar(0x9F));
        QTest::newRow("U+0100") << QString(QChar(0x100));
        QTest::newRow("Japanese") << QStringLiteral("ab\u30bc");
        QTest::newRow("emoji") << QStringLiteral("\U0001F3AE");
        QTest::newRow("replacement character") << QStringLiteral("\ufffd");
    }
    void withoutAByte() {
        QFETCH(QString, text);
        QVERIFY(!w::canEncode(text));
    }
};

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
