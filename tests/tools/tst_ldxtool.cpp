#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "LdxtoolProcess.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "fixtures/Names.h"

using ludora::Collection;

namespace {

QByteArray defaultCaptionLines() {
    QByteArray bytes = "N64\r\nJAGUAR\r\nTG16\r\n";
    for (int tab = 3; tab < 25; ++tab) {
        bytes += "UserDef" + QByteArray::number(tab) + "\r\n";
    }
    return bytes;
}

// A collection with what exports must get right: blanks, an empty name, quotes, commas,
// letters of the code page and beyond it, and a caption of its own.
void fillTricky(Collection& c) {
    c.addName(0, QStringLiteral("  Blanks around  "));
    c.addName(0, QString());
    c.addName(0, QStringLiteral("Say \"Hi\", Mario"));
    c.addName(2, QStringLiteral("Bonk's Adventure"));
    c.setCaption(7, QStringLiteral("Famicom"));
    c.addName(7, QStringLiteral("ゼルダの伝説"));
    c.addName(7, QStringLiteral("Pokémon"));
}

}  // namespace

class TestLdxtool : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    QString trickyFile() {
        Collection c;
        fillTricky(c);
        const QString file = path(QStringLiteral("tricky.LDX"));
        if (!ludora::WriteCollectionFile(c, file).ok) {
            return QString();
        }
        return file;
    }

private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }

    void exportFormats_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("csv") << QStringLiteral("csv")
                             << QByteArray(
                                    "tab,caption,name\r\n"
                                    "0,N64,\r\n"
                                    "0,N64,\"  Blanks around  \"\r\n"
                                    "0,N64,\"Say \"\"Hi\"\", Mario\"\r\n"
                                    "2,TG16,Bonk's Adventure\r\n"
                                    "7,Famicom,Pokémon\r\n"
                                    "7,Famicom,ゼルダの伝説\r\n");
        QTest::newRow("text") << QStringLiteral("text")
                              << QByteArray(
                                     "N64\n"
                                     "  \n"
                                     "    Blanks around  \n"
                                     "  Say \"Hi\", Mario\n"
                                     "\n"
                                     "TG16\n"
                                     "  Bonk's Adventure\n"
                                     "\n"
                                     "Famicom\n"
                                     "  Pokémon\n"
                                     "  ゼルダの伝説\n"
                                     "\n");
    }

    void exportFormats() {
        QFETCH(QString, format);
        QFETCH(QByteArray, expected);
        const QString file = trickyFile();
        QVERIFY(!file.isEmpty());
        const Run run =
            ldxtool({QStringLiteral("export"), file, QStringLiteral("--format"), format});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, expected);
    }

    void exportJsonIsTheWholeCollection() {
        const QString file = trickyFile();
        const Run run = ldxtool({QStringLiteral("export"), file});  // json by default
        QCOMPARE(run.exitCode, 0);
        QJsonParseError error;
        const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray captions = root.value(QStringLiteral("captions")).toArray();
        const QJsonArray lists = root.value(QStringLiteral("lists")).toArray();
        QCOMPARE(captions.size(), 25);
        QCOMPARE(lists.size(), 25);
        QCOMPARE(captions.at(7).toString(), QStringLiteral("Famicom"));
        QCOMPARE(captions.at(24).toString(), QStringLiteral("UserDef24"));
        QCOMPARE(lists.at(0).toArray().at(0).toString(), QString());
        QCOMPARE(lists.at(0).toArray().at(1).toString(), QStringLiteral("  Blanks around  "));
        QCOMPARE(lists.at(7).toArray().at(1).toString(), QStringLiteral("ゼルダの伝説"));
        QCOMPARE(lists.at(5).toArray().size(), 0);
    }

    void exportShowsWhatOpenWouldLoad() {
        // Fixed first captions and names sorted whatever the file's order.
        const QString file = path(QStringLiteral("unsorted.LDX"));
        QByteArray bytes = "Nintendo\r\nJAGUAR\r\nTG16\r\n";
        for (int tab = 3; tab < 25; ++tab) {
            bytes += "UserDef" + QByteArray::number(tab) + "\r\n";
        }
        bytes += "TG16     zeta\r\nTG16     Alpha\r\nNintendo lost\r\n\x1a\r\n";
        QVERIFY(writeBytes(file, bytes));
        const Run run = ldxtool(
            {QStringLiteral("export"), file, QStringLiteral("--format"), QStringLiteral("csv")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("tab,caption,name\r\n2,TG16,Alpha\r\n2,TG16,zeta\r\n"));
    }

    void importGivesTheBytesSaveAsWrites_data() {
        QTest::addColumn<QString>("extension");  // which gives the format, in any letter case
        QTest::newRow("json") << QStringLiteral("json");
        QTest::newRow("csv") << QStringLiteral("csv");
        QTest::newRow("CSV") << QStringLiteral("CSV");
    }

    void importGivesTheBytesSaveAsWrites() {
        QFETCH(QString, extension);
        const QString format = extension.toLower();
        const QString file = trickyFile();
        const Run exported =
            ldxtool({QStringLiteral("export"), file, QStringLiteral("--format"), format});
        QCOMPARE(exported.exitCode, 0);
        const QString input = path(QStringLiteral("tricky.") + extension);
        QVERIFY(writeBytes(input, exported.out));
        const QString out = path(QStringLiteral("imported.LDX"));
        const Run imported = ldxtool({QStringLiteral("import"), input, QStringLiteral("-o"), out});
        QCOMPARE(imported.exitCode, 0);
        QCOMPARE(readBytes(out), readBytes(file));

        // And once more around: the export of the import is the same text.
        const Run again =
            ldxtool({QStringLiteral("export"), out, QStringLiteral("--format"), format});
        QCOMPARE(again.out, exported.out);
    }

    void importSortsAndCleansNames() {
        const QString input = path(QStringLiteral("hand.csv"));
        QVERIFY(writeBytes(input,
                           "tab,caption,name\n2,ignored,zeta\n2,,\"two\nlines\"\n4,SNES,Alpha\n"));
        const QString out = path(QStringLiteral("hand.LDX"));
        const Run run = ldxtool({QStringLiteral("import"), input, QStringLiteral("-o"), out});
        QCOMPARE(run.exitCode, 0);
        QByteArray expected = "N64\r\nJAGUAR\r\nTG16\r\nUserDef3\r\nSNES\r\n";
        for (int tab = 5; tab < 25; ++tab) {
            expected += "UserDef" + QByteArray::number(tab) + "\r\n";
        }
        expected += "TG16     two lines\r\nTG16     zeta\r\nSNES     Alpha\r\n\x1a\r\n";
        QCOMPARE(readBytes(out), expected);
    }

    // find and duplicates print "CAPTION<TAB>NAME" lines, by the rules the window follows.
    void findAndDuplicates_data() {
        QTest::addColumn<QStringList>("args");  // after the file
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("find") << QStringList{"bonk", "s", "ADV"}
                              << QByteArray("TG16\tBonk's Adventure\nTG16\tBonk's adventure!\n")
                              << 0;
        QTest::newRow("find nothing") << QStringList{"zelda"} << QByteArray() << 1;
        QTest::newRow("duplicates, a blank line between groups")
            << QStringList{"--dup"}
            << QByteArray(
                   "N64\tSay \"Hi\", Mario\nN64\tsay hi mario\n\n"
                   "TG16\tBonk's Adventure\nTG16\tBonk's adventure!\n")
            << 0;
        QTest::newRow("find without words") << QStringList() << QByteArray() << 2;
    }
    void findAndDuplicates() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        QFETCH(int, exitCode);
        Collection c;
        fillTricky(c);
        c.addName(0, QStringLiteral("say hi mario"));
        c.addName(2, QStringLiteral("Bonk's adventure!"));
        c.addName(7, QStringLiteral("Bonks Adventure"));
        const QString file = path(QStringLiteral("find.LDX"));
        QVERIFY(ludora::WriteCollectionFile(c, file).ok);
        const bool duplicates = args == QStringList{"--dup"};
        const Run run = ldxtool(QStringList{duplicates ? "duplicates" : "find", file} +
                                (duplicates ? QStringList() : args));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, out);
    }

    // merge MINE THEIRS [--base BASE] -o OUT: the window's merge, from the command line.
    void merge_data() {
        QTest::addColumn<QStringList>("args");  // MINE holds Alpha and Beta, THEIRS Alpha
        QTest::addColumn<int>("exitCode");      // and Gamma, BASE Alpha and Beta
        QTest::addColumn<QStringList>("tg16");  // of OUT; empty: no OUT
        QTest::newRow("two ways") << QStringList{"MINE", "THEIRS", "-o", "OUT"} << 0
                                  << QStringList{"Alpha", "Beta", "Gamma"};
        QTest::newRow("three ways: Beta deleted there")
            << QStringList{"MINE", "THEIRS", "--base", "BASE", "-o", "OUT"} << 0
            << QStringList{"Alpha", "Gamma"};
        QTest::newRow("THEIRS missing")
            << QStringList{"MINE", "MISSING", "-o", "OUT"} << 1 << QStringList();
        QTest::newRow("no OUT") << QStringList{"MINE", "THEIRS"} << 2 << QStringList();
    }
    void merge() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, tg16);
        const auto write = [this](const QString& name, const QStringList& names) {
            Collection c;
            for (const QString& n : names) {
                c.addName(2, n);
            }
            return ludora::WriteCollectionFile(c, path(name)).ok;
        };
        QVERIFY(write("MINE", {"Alpha", "Beta"}) && write("THEIRS", {"Alpha", "Gamma"}) &&
                write("BASE", {"Alpha", "Beta"}));
        QFile::remove(path("OUT"));
        QStringList resolved{QStringLiteral("merge")};
        for (const QString& arg : args) {
            resolved << (arg.startsWith(u'-') ? arg : path(arg));
        }
        QCOMPARE(ldxtool(resolved).exitCode, exitCode);
        Collection out;
        QCOMPARE(ludora::ReadCollectionFile(out, path("OUT")).ok, !tg16.isEmpty());
        QCOMPARE(ludora::test::namesOf(out, 2), tg16);
    }

    void checkFindings_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("finding");  // expected in the output, after the file name

        const QByteArray captions = defaultCaptionLines();
        QTest::newRow("fewer than 25 lines")
            << QByteArray("N64\r\nJAGUAR\r\n") << QStringLiteral(": only 2 lines");
        QTest::newRow("no end mark") << captions + "N64      Alpha\r\n"
                                     << QStringLiteral(": no end mark");
        QTest::newRow("data after the end mark") << captions + "\x1a\r\nN64      Lost\r\n"
                                                 << QStringLiteral(": data after the end mark");
        QTest::newRow("line matching no key")
            << captions + "N64      Alpha\r\nSNES     Zelda\r\n\x1a\r\n"
            << QStringLiteral(":27: matches no caption key");
        QTest::newRow("short line") << captions + "N64\r\n\x1a\r\n"
                                    << QStringLiteral(":26: matches no caption key");
        QTest::newRow("line matching several tabs")
            << captions + "N64      TG16     Gamma\r\n\x1a\r\n"
            << QStringLiteral(":26: adds a name to 2 lists: tabs 0, 2");
        QByteArray shared = captions;
        shared.replace("UserDef3\r\n", "N64\r\n");
        QTest::newRow("two tabs sharing a key")
            << shared + "\x1a\r\n"
            << QStringLiteral(":4: tab 3 (\"N64\") has the same caption key as tab 0");
        QByteArray renamed = captions;
        renamed.replace("JAGUAR\r\n", "Atari\r\n");
        QTest::newRow("first captions other than fixed")
            << renamed + "\x1a\r\n"
            << QStringLiteral(":2: the caption line reads \"Atari\"");
        QByteArray full = captions;
        for (int i = 0; i <= Collection::kMaxNames; ++i) {
            full += "TG16     Game " + QByteArray::number(i) + "\r\n";
        }
        QTest::newRow("list over the limit")
            << full + "\x1a\r\n"
            << QStringLiteral(": tab 2 (\"TG16\") has 32768 names");
        QTest::newRow("invalid UTF-8 after the byte-order mark")
            << "\xEF\xBB\xBF" + captions + "TG16     Bad \xC3\x28 byte\r\n\x1a\r\n"
            << QStringLiteral(":26: invalid UTF-8");
        QTest::newRow("lone LF") << captions + "TG16     Gamma\n\x1a\r\n"
                                 << QStringLiteral(":26: the line ends in a lone LF");
        QTest::newRow("lone CR") << captions + "TG16     Gamma\r\x1a\r\n"
                                 << QStringLiteral(":26: the line ends in a lone CR");
    }

    void checkFindings() {
        QFETCH(QByteArray, content);
        QFETCH(QString, finding);
        const QString file = path(QStringLiteral("crafted.LDX"));
        QVERIFY(writeBytes(file, content));
        const Run run = ldxtool({QStringLiteral("check"), file});
        QCOMPARE(run.exitCode, 1);
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.contains(file + finding), qPrintable(err));
    }

    void checkCleanFile() {
        const QString file = trickyFile();
        const Run run = ldxtool({QStringLiteral("check"), file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
    }

    void pdfHoldsThePrintout() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        const QString file = trickyFile();
        const QString pdf = path(QStringLiteral("lists.pdf"));
        const Run run = ldxtool({QStringLiteral("pdf"), file, QStringLiteral("-o"), pdf,
                                 QStringLiteral("--page-size"), QStringLiteral("A4")});
        QCOMPARE(run.exitCode, 0);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& expected :
             {QStringLiteral("N64 List - Page 1"), QStringLiteral("Say \"Hi\", Mario"),
              QStringLiteral("N64 Total = 3"), QStringLiteral("TG16 List - Page 1"),
              QStringLiteral("TG16 Total = 1")}) {
            QVERIFY2(printed.contains(expected), qPrintable(printed));
        }
        // Only the first three lists are printed.
        QVERIFY(!printed.contains(QStringLiteral("Pokémon")));
        QVERIFY(printed.indexOf(QStringLiteral("N64 Total")) <
                printed.indexOf(QStringLiteral("TG16 List")));
    }

    void errors_data() {
        QTest::addColumn<QStringList>("args");  // "IN" and "OUT" stand for files of the test
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");

        const QByteArray captions = defaultCaptionLines();
        QTest::newRow("no command")
            << QStringList() << QByteArray() << 2 << QStringLiteral("no command");
        QTest::newRow("unknown command") << QStringList{QStringLiteral("frob")} << QByteArray() << 2
                                         << QStringLiteral("unknown command frob");
        QTest::newRow("export without file")
            << QStringList{QStringLiteral("export")} << QByteArray() << 2
            << QStringLiteral("export takes one FILE");
        QTest::newRow("unknown format")
            << QStringList{QStringLiteral("export"), QStringLiteral("IN"),
                           QStringLiteral("--format"), QStringLiteral("xml")}
            << captions << 2 << QStringLiteral("unknown format xml");
        QTest::newRow("import without -o")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.json")} << QByteArray("{}")
            << 2 << QStringLiteral("-o OUT");
        QTest::newRow("import of unknown content")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.txt"), QStringLiteral("-o"),
                           QStringLiteral("OUT")}
            << QByteArray("x") << 1 << QStringLiteral("not a file of games that can be imported");
        QTest::newRow("missing input")
            << QStringList{QStringLiteral("export"), QStringLiteral("MISSING")} << QByteArray() << 1
            << QStringLiteral("Could not open");
        QTest::newRow("file of ten lines")
            << QStringList{QStringLiteral("export"), QStringLiteral("IN")}
            << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n") << 1
            << QStringLiteral("fewer than the 25");
        QTest::newRow("broken json")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.json"),
                           QStringLiteral("-o"), QStringLiteral("OUT")}
            << QByteArray("{\"captions\": [") << 1 << QStringLiteral("offset");
        QTest::newRow("json with 24 captions")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.json"),
                           QStringLiteral("-o"), QStringLiteral("OUT")}
            << QByteArray("{\"captions\": [], \"lists\": []}") << 1
            << QStringLiteral("\"captions\" must be an array of 25");
        QTest::newRow("json name not a string")
            << QStringList{QStringLiteral("import"),   QStringLiteral("IN"),
                           QStringLiteral("--format"), QStringLiteral("json"),
                           QStringLiteral("-o"),       QStringLiteral("OUT")}
            << QByteArray("{\"captions\": [" + QByteArray("\"c\",").repeated(24) +
                          "\"c\"], \"lists\": [[1]" + QByteArray(",[]").repeated(24) + "]}")
            << 1 << QStringLiteral("lists[0][0] is not a string");
        QTest::newRow("csv tab outside 0 to 24")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.csv"), QStringLiteral("-o"),
                           QStringLiteral("OUT")}
            << QByteArray("tab,caption,name\r\n2,TG16,ok\r\n25,X,bad\r\n") << 1
            << QStringLiteral("line 3: the tab \"25\"");
        QTest::newRow("csv without header")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.csv"), QStringLiteral("-o"),
                           QStringLiteral("OUT")}
            << QByteArray("2,TG16,ok\r\n") << 1 << QStringLiteral("line 1: the header");
        QTest::newRow("csv unclosed quote")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.csv"), QStringLiteral("-o"),
                           QStringLiteral("OUT")}
            << QByteArray("tab,caption,name\r\n2,TG16,\"open\r\n") << 1
            << QStringLiteral("line 2: a quoted field");
        QTest::newRow("csv list over the limit")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.csv"), QStringLiteral("-o"),
                           QStringLiteral("OUT")}
            << "tab,caption,name\r\n" +
                   QByteArray("1,JAGUAR,x\r\n").repeated(Collection::kMaxNames + 1)
            << 1 << QStringLiteral("holds more than 32767");
        QTest::newRow("import into a missing folder")
            << QStringList{QStringLiteral("import"), QStringLiteral("IN.csv"), QStringLiteral("-o"),
                           QStringLiteral("nowhere/OUT")}
            << QByteArray("tab,caption,name\r\n") << 1 << QStringLiteral("Could not save");
        QTest::newRow("pdf into a missing folder")
            << QStringList{QStringLiteral("pdf"), QStringLiteral("IN"), QStringLiteral("-o"),
                           QStringLiteral("nowhere/OUT")}
            << captions + "TG16     Bonk\r\n\x1a\r\n"
            << 1 << QStringLiteral("could not write");
        // Names beyond the first three lists are never printed.
        QTest::newRow("pdf of empty lists")
            << QStringList{QStringLiteral("pdf"), QStringLiteral("IN"), QStringLiteral("-o"),
                           QStringLiteral("OUT")}
            << captions + "UserDef3 Zelda\r\n\x1a\r\n"
            << 1 << QStringLiteral("nothing to print");
    }

    void errors() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QStringList resolved;
        QString out;
        for (const QString& arg : args) {
            if (arg.startsWith(QLatin1String("IN")) && !input.isNull()) {
                QVERIFY(writeBytes(path(arg), input));
                resolved << path(arg);
            } else if (arg.endsWith(QLatin1String("OUT")) || arg == QLatin1String("MISSING")) {
                out = path(arg);
                resolved << out;
            } else {
                resolved << arg;
            }
        }
        const Run run = ldxtool(resolved);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
        if (!out.isEmpty()) {
            QVERIFY(!QFile::exists(out));
        }
        // No partial output is left behind.
        const QStringList files = QDir(dir_.path()).entryList(QDir::Files);
        for (const QString& f : files) {
            QVERIFY2(!f.contains(QLatin1String("OUT")), qPrintable(f));
        }
    }
};

QTEST_GUILESS_MAIN(TestLdxtool)
#include "tst_ldxtool.moc"
