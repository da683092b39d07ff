// ldxtool import of other programs' files (Tellico, GCstar, spreadsheets) and export back to
// Tellico. The Tellico files were written by Tellico itself (tests/data/interchange).

#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "LdxtoolProcess.h"
#include "interchange/Zip.h"

namespace {

QString data(const QString& name) {
    return QStringLiteral(INTERCHANGE_DATA "/") + name;
}

// The lists that tests/data/interchange/games-source.xml gives, as `export --format text`
// shows them: PlayStation3 and the PC Engine get captions of their own, and the TG16 game
// whose name begins with "PC Engine" stays in the TG16 list alone.
const QByteArray kTellicoGames =
    "N64\n  GoldenEye 007\n  Pok\xC3\xA9mon Stadium, \"Japan\" & more\n  Super Mario 64\n\n"
    "JAGUAR\n  Tempest 2000\n\nTG16\n  Bonk's Adventure\n  PC Engine Fan Compilation\n\n"
    "PlayStation2\n  Gran Turismo 4\n\nPlayStat3\n  Demon's Souls\n\nPCEngine\n  R-Type\n\n"
    "Sega Saturn\n  Nights into Dreams\n\nNo platform\n  Unknown Cartridge\n\n";

QByteArray gcstar(const QByteArray& type, const QByteArray& items) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<collection type=\"" + type +
           "\" items=\"3\" version=\"1.7.3\">\n <information><maxId>3</maxId></information>\n" +
           items + "</collection>\n";
}

}  // namespace

class TestLdxtoolInterchange : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    // The input: a file of the test data, or the content given, written under `name`.
    QString input(const QString& name, const QByteArray& content) {
        if (content.isNull()) {
            return data(name);
        }
        return writeBytes(path(name), content) ? path(name) : QString();
    }

private Q_SLOTS:
    void importPlacesGames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");  // null: the file of the test data
        QTest::addColumn<QByteArray>("lists");    // as export --format text shows them
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("summary");

        // Tabs are counted from 1; those the main window cannot show are named.
        QTest::newRow("tellico-games.tc")
            << QStringLiteral("tellico-games.tc") << QByteArray() << kTellicoGames << 0
            << QStringLiteral(
                   "  tab 8 \"No platform\": 1 game (no platform)\n5 games on tabs 4 to 25, "
                   "which cannot be chosen in the main window");
        for (const char* file :
             {"tellico-games.xml", "tellico-games.csv", "tellico-stored.tc", "tellico-covers.tc"}) {
            QTest::newRow(file) << QString::fromLatin1(file) << QByteArray() << kTellicoGames << 0
                                << QStringLiteral("tab 1 \"N64\": 3 games (Nintendo 64, N64)");
        }
        QTest::newRow("gcstar")
            << QStringLiteral("games.gcs")
            << gcstar("GCgames",
                      " <item id=\"1\" name=\"Cybermorph\" platform=\"  jaguar \" "
                      "genre=\"\">\n  <genre><line><col>Shooter</col></line></genre>\n </item>\n"
                      " <item id=\"2\" name=\" Blazing Lazers \" platform=\"TG16\"/>\n"
                      " <item id=\"3\" name=\"Mystery\" platform=\"\"/>\n")
            << QByteArray(
                   "JAGUAR\n  Cybermorph\n\nTG16\n   Blazing Lazers \n\nNo platform\n  Mystery\n\n")
            << 0 << QStringLiteral("tab 4 \"No platform\": 1 game (no platform)");
        // Upper-case extension, semicolons, Windows-1252, a quoted line break.
        QTest::newRow("spreadsheet LIST.CSV")
            << QStringLiteral("LIST.CSV")
            << QByteArray(
                   "Name;Year;Console\r\nPok\xE9mon Snap;1999;N64\r\n\"Two\nlines\";;"
                   "Turbografx 16\r\n;;\r\n")
            << QByteArray("N64\n  Pok\xC3\xA9mon Snap\n\nTG16\n  Two lines\n\n") << 0
            << QStringLiteral("tab 3 \"TG16\": 1 game (Turbografx 16)\n");
        QTest::newRow("tab-separated spreadsheet")
            << QStringLiteral("games.tsv") << QByteArray("Title\tPlatform\nZelda\tN64\n")
            << QByteArray("N64\n  Zelda\n\n") << 0 << QStringLiteral("tab 1 \"N64\": 1 game (N64)");
        // A finding of the fuzzer: a NUL character is a character like any other.
        QTest::newRow("NUL in a spreadsheet")
            << QStringLiteral("nul.csv") << QByteArray("title,platform\nA\0B,N64\n", 23)
            << QByteArray("N64\n  A\0B\n\n", 11) << 0 << QStringLiteral("1 game read");
        // Tellico 3.5.4 on: several platforms; the same console twice adds the game once.
        QTest::newRow("tellico several platforms")
            << QStringLiteral("multi.xml")
            << QByteArray(
                   "<tellico syntaxVersion=\"11\"><collection type=\"11\"><entry id=\"1\">"
                   "<title>Rayman</title><platforms><platform>N64</platform><platform>"
                   "Nintendo 64</platform><platform>Atari Jaguar</platform></platforms>"
                   "</entry></collection></tellico>")
            << QByteArray("N64\n  Rayman\n\nJAGUAR\n  Rayman\n\n") << 0
            << QStringLiteral("1 game read");
        // A finding of the fuzzer: platforms alike but in the middle run through the readable
        // captions to numbered ones, each within the nine characters that keep lists apart.
        QByteArray alike = "title,platform\n";
        QByteArray alikeLists;
        for (int p = 1; p <= 22; ++p) {
            const QByteArray number = QByteArray::number(p).rightJustified(2, '0');
            alike += "Game " + number + ",AAAAAAAAA" + number + "ZZZZZZZ\n";
            const QByteArray caption = p == 1    ? "AAAAAAAAA01ZZZZZZZ"
                                       : p <= 8  ? QByteArray(10 - p, 'A') + QByteArray(p - 1, 'Z')
                                       : p <= 16 ? "AAAAAAA#" + QByteArray::number(p - 7)
                                                 : "AAAAAA#" + QByteArray::number(p - 7);
            alikeLists += caption + "\n  Game " + number + "\n\n";
        }
        QTest::newRow("platforms alike but in the middle")
            << QStringLiteral("alike.csv") << alike << alikeLists << 0
            << QStringLiteral("22 games read");
        QByteArray manyPlatforms = "title,platform\n";
        for (int p = 1; p <= 23; ++p) {
            manyPlatforms +=
                "Game " + QByteArray::number(p) + ",System " + QByteArray::number(p) + "\n";
        }
        // The games without a place are counted, and the first thousand listed.
        manyPlatforms += QByteArray("Game 23,System 23\n").repeated(1000);
        QByteArray lists;
        for (int p = 1; p <= 22; ++p) {
            lists +=
                "System " + QByteArray::number(p) + "\n  Game " + QByteArray::number(p) + "\n\n";
        }
        QTest::newRow("more platforms than tabs")
            << QStringLiteral("many.csv") << manyPlatforms << lists << 1
            << QStringLiteral(
                   "1,001 games found no place (every tab taken, or a list full at 32,767 "
                   "names); the first 1,000:\n  \"Game 23\" (System 23)");
    }

    void importPlacesGames() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, lists);
        QFETCH(int, exitCode);
        QFETCH(QString, summary);
        const QString in = input(name, content);
        QVERIFY(!in.isEmpty());
        const QString out = path(QStringLiteral("out.LDX"));
        const Run imported = ldxtool({QStringLiteral("import"), in, QStringLiteral("-o"), out});
        QCOMPARE(imported.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(imported.err).contains(summary), imported.err.constData());
        // What the file gives when read again is what was imported.
        const Run shown = ldxtool(
            {QStringLiteral("export"), out, QStringLiteral("--format"), QStringLiteral("text")});
        QCOMPARE(shown.exitCode, 0);
        QCOMPARE(shown.out, lists);
        const Run checked = ldxtool({QStringLiteral("check"), out});
        QVERIFY2(checked.exitCode == 0, checked.err.constData());
    }

    void refusedInputs_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("message");

        const QByteArray zip = readBytes(data(QStringLiteral("tellico-games.tc")));
        QVERIFY(!zip.isEmpty());
        QTest::newRow("tellico books")
            << QStringLiteral("tellico-books.tc") << QByteArray() << QString()
            << QStringLiteral("a collection of books, not a video-game");
        QTest::newRow("gcstar books")
            << QStringLiteral("books.gcs") << gcstar("GCbooks", " <item name=\"Dune\"/>\n")
            << QString() << QStringLiteral("type \"GCbooks\", not a video-game collection");
        QTest::newRow("zip cut short") << QStringLiteral("cut.tc") << zip.left(zip.size() / 2)
                                       << QString() << QStringLiteral("zip archive is damaged");
        QByteArray flipped = zip;
        flipped[60] = char(flipped[60] ^ 0x55);
        QTest::newRow("zip with a damaged byte")
            << QStringLiteral("flipped.tc") << flipped << QString()
            << QStringLiteral("zip archive is damaged");
        QTest::newRow("xml not well-formed")
            << QStringLiteral("broken.xml")
            << QByteArray("<tellico><collection type=\"11\"><entry><title>A</entry>") << QString()
            << QStringLiteral("not well-formed: line 1");
        QTest::newRow("neither") << QStringLiteral("notes.txt") << QByteArray("just words\n")
                                 << QString()
                                 << QStringLiteral("not a file of games that can be imported");
        QTest::newRow("csv without a platform column")
            << QStringLiteral("games.csv") << QByteArray("Title,Year\nZelda,1986\n") << QString()
            << QStringLiteral("line 1: the header must name a title column and a platform");
        QByteArray stored = readBytes(data(QStringLiteral("tellico-stored.tc")));
        stored[stored.indexOf("Tempest") + 1] = 'a';
        QTest::newRow("damaged byte in a stored member")
            << QStringLiteral("stored.tc") << stored << QString()
            << QStringLiteral("tellico.xml fails its checksum");
        // Many small elements, each harmless: only the unpacked size gives it away.
        QByteArray bomb = "<tellico><collection type=\"11\">";
        bomb += QByteArray("<e/>").repeated(16 * 1024 * 1024);
        QTest::newRow("zip bomb")
            << QStringLiteral("bomb.tc")
            << ludora::interchange::writeZip(QStringLiteral("tellico.xml"), bomb) << QString()
            << QStringLiteral("more than 1000 times its packed size, as a zip bomb does");
        QByteArray laughs = "<!DOCTYPE tellico [<!ENTITY l0 \"lol\">";
        for (int i = 1; i < 10; ++i) {
            laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                      ("&l" + QByteArray::number(i - 1) + ';').repeated(10) + "\">";
        }
        laughs +=
            "]><tellico><collection type=\"11\"><entry><title>&l9;</title></entry>"
            "</collection></tellico>";
        QTest::newRow("billion laughs") << QStringLiteral("laughs.xml") << laughs << QString()
                                        << QStringLiteral("entity expansion limit");
        QTest::newRow("one item of 9 MB")
            << QStringLiteral("comment.xml")
            << "<tellico><!--" + QByteArray(9 * 1024 * 1024, ' ') + "--></tellico>" << QString()
            << QStringLiteral("one item of the file is larger than 8 MB");
        QTest::newRow("gcstar read as tellico")
            << QStringLiteral("games.gcs") << gcstar("GCgames", QByteArray()) << u"tellico"_qs
            << QStringLiteral("not a Tellico collection");
    }

    void refusedInputs() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, format);
        QFETCH(QString, message);
        const QString in = input(name, content);
        const QString out = path(QStringLiteral("kept.LDX"));
        QVERIFY(writeBytes(out, "an existing file"));
        QStringList args{QStringLiteral("import"), in, QStringLiteral("-o"), out};
        if (!format.isEmpty()) {
            args << QStringLiteral("--format") << format;
        }
        const Run run = ldxtool(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
        QCOMPARE(readBytes(out), QByteArray("an existing file"));
    }

    void exportToTellicoAndBack() {
        const QString first = path(QStringLiteral("first.LDX"));
        QCOMPARE(ldxtool({QStringLiteral("import"), data(QStringLiteral("tellico-games.tc")),
                          QStringLiteral("-o"), first})
                     .exitCode,
                 0);
        const QString tc = path(QStringLiteral("back.tc"));
        const Run exported = ldxtool({QStringLiteral("export"), first, QStringLiteral("--format"),
                                      QStringLiteral("tellico"), QStringLiteral("-o"), tc});
        QCOMPARE(exported.exitCode, 0);
        const QString second = path(QStringLiteral("second.LDX"));
        const Run imported = ldxtool({QStringLiteral("import"), tc, QStringLiteral("-o"), second});
        QCOMPARE(imported.exitCode, 0);
        QCOMPARE(readBytes(second), readBytes(first));

        // Read as Tellico reads it: a platform that the field does not allow is dropped.
        QFile zip(tc);
        QVERIFY(zip.open(QIODevice::ReadOnly));
        QString error;
        const auto xmlFile = ludora::interchange::openZipMember(zip, {"tellico.xml"}, &error);
        QVERIFY2(xmlFile, qPrintable(error));
        QXmlStreamReader xml(xmlFile.get());
        QStringList allowed;
        QSet<QString> platforms;
        while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
            if (xml.isStartElement() && xml.name() == u"field" &&
                xml.attributes().value("name") == u"platform") {
                allowed = xml.attributes().value("allowed").toString().split(u';');
            } else if (xml.isStartElement() && xml.name() == u"platform") {
                platforms << xml.readElementText();
            }
        }
        QVERIFY(!xml.hasError());
        QVERIFY(platforms.contains(QStringLiteral("Nintendo 64")));
        QVERIFY(platforms.contains(QStringLiteral("TurboGrafx-16")));
        for (const QString& platform : platforms) {
            QVERIFY2(allowed.contains(platform), qPrintable(platform));
        }
    }

    void subcommandHelp_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"export", "import", "check", "pdf"}) {
            QTest::newRow(command) << QString::fromLatin1(command);
        }
    }

    void subcommandHelp() {
        QFETCH(QString, command);
        const Run run = ldxtool({command, QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("ldxtool " + command.toLatin1() + ' '));
        QCOMPARE(run.out.count("  ldxtool "), 1);
    }
};

QTEST_GUILESS_MAIN(TestLdxtoolInterchange)
#include "tst_ldxtool_interchange.moc"
