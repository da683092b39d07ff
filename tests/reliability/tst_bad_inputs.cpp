#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <array>

#include "ReliabilitySupport.h"
#include "collection/CaptionKeys.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "commands/CommandFixture.h"
#include "commands/FileCommands.h"
#include "support/FakeDialogs.h"

using ludora::CaptionKeys;
using ludora::Collection;
using namespace ludora::test;

namespace {

// What a file must give: its content, or a refusal whose message holds `reason`.
struct Outcome {
    bool loads = false;
    QString reason;
    QStringList captions;                                    // all 25
    QMap<int, QStringList> names;                            // the lists that are not empty, sorted
    std::array<qsizetype, Collection::kTabCount> refused{};  // names beyond a full list
};

constexpr qsizetype kMillion = 1000000;
constexpr qsizetype kTenMegabytes = qsizetype(10) << 20;
constexpr qsizetype kLongCaption = 100000;

const QString kTooShort = QStringLiteral("fewer than the 25 lines");
const QString kNotAFile = QStringLiteral("not an ordinary file");

Outcome refusal(const QString& reason) {
    Outcome outcome;
    outcome.reason = reason;
    return outcome;
}

QStringList defaultCaptions() {
    QStringList result;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        result << Collection::defaultCaption(tab);
    }
    return result;
}

Outcome loading(const QStringList& captions, const QMap<int, QStringList>& names) {
    Outcome outcome;
    outcome.loads = true;
    outcome.captions = captions;
    for (auto it = names.begin(); it != names.end(); ++it) {
        QStringList sorted = it.value();
        std::sort(sorted.begin(), sorted.end());
        outcome.names.insert(it.key(), sorted);
    }
    return outcome;
}

// Latin-1 text that may hold NUL characters.
template <size_t N>
QString latin(const char (&text)[N]) {
    return QString::fromLatin1(text, qsizetype(N) - 1);
}

QByteArray captionLines(const QStringList& captions) {
    QByteArray bytes;
    for (const QString& caption : captions) {
        bytes += caption.toLatin1() + "\r\n";
    }
    return bytes;
}

// Printable filler: letters of the alphabet in turn.
QByteArray letters(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        bytes[i] = char('A' + i % 26);
    }
    return bytes;
}

}  // namespace

Q_DECLARE_METATYPE(Outcome)

// Files that are broken, strange or huge: each loads as the format says or is refused with
// a message naming it; none crashes or hangs (CTest's timeout stops a hang). How the time
// grows with the size is measured by the benchmarks, not here.
class TestBadInputs : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    // The outcomes of the files made at run time, which are too big to keep in the sources.
    QMap<QString, Outcome> generated_;

    QString made(const QString& name) const { return dir_.filePath(name); }

    void make(const QString& name, const QByteArray& bytes, const Outcome& outcome) {
        QFile file(made(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        generated_.insert(name, outcome);
    }

    void makeTenMegabyteFiles() {
        make(QStringLiteral("ten-megabyte-line.LDX"), letters(kTenMegabytes), refusal(kTooShort));
        const QByteArray name = letters(kTenMegabytes);
        make(QStringLiteral("ten-megabyte-name.LDX"),
             captionLines(defaultCaptions()) + "N64      " + name + "\r\n\x1a\r\n",
             loading(defaultCaptions(), {{0, {QString::fromLatin1(name)}}}));
    }

    // A million name lines, 40,000 for each tab: each list takes the first 32,767 of its
    // names in the file and the rest are counted as not loaded.
    void makeMillionLineFiles() {
        QByteArray bytes = captionLines(defaultCaptions());
        QMap<int, QStringList> kept;
        for (qsizetype i = 0; i < kMillion; ++i) {
            const int tab = int(i % Collection::kTabCount);
            const QByteArray number = QByteArray::number(i);
            bytes +=
                CaptionKeys::keyOf(Collection::defaultCaption(tab)).toLatin1() + number + "\r\n";
            if (i / Collection::kTabCount < Collection::kMaxNames) {
                kept[tab] << QString::fromLatin1(number);
            }
        }
        Outcome full = loading(defaultCaptions(), kept);
        full.refused.fill(kMillion / Collection::kTabCount - Collection::kMaxNames);
        make(QStringLiteral("million-short-lines.LDX"), bytes, full);

        // Lines of 0 to 8 characters hold no key: every one is skipped.
        QByteArray tiny = captionLines(defaultCaptions());
        for (qsizetype i = 0; i < kMillion; ++i) {
            tiny += QByteArray("N64      ").left(i % 9) + "\r\n";
        }
        make(QStringLiteral("million-tiny-lines.LDX"), tiny, loading(defaultCaptions(), {}));
    }

    // Caption lines of 100,000 characters, one letter each, and a name under each caption.
    void makeLongCaptionFile() {
        QByteArray bytes;
        QStringList captions = defaultCaptions();
        QMap<int, QStringList> names;
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            const QByteArray caption(kLongCaption, char('a' + tab));
            bytes += caption + "\r\n";
            if (tab >= Collection::kFirstUserTab) {
                captions[tab] = QString::fromLatin1(caption);
                names[tab] << QStringLiteral("Game %1").arg(tab);
            }
        }
        for (int tab = Collection::kFirstUserTab; tab < Collection::kTabCount; ++tab) {
            bytes += QByteArray(9, char('a' + tab)) + "Game " + QByteArray::number(tab) + "\r\n";
        }
        bytes += "\x1a\r\n";
        make(QStringLiteral("long-captions.LDX"), bytes, loading(captions, names));
    }

    static void verifyContent(const Collection& c, const Outcome& expected) {
        QCOMPARE(captions(c), expected.captions);
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            QCOMPARE(sortedNames(c, tab), expected.names.value(tab));
        }
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        makeTenMegabyteFiles();
        makeMillionLineFiles();
        makeLongCaptionFile();
        QVERIFY(QDir().mkdir(made(QStringLiteral("folder.LDX"))));
        generated_.insert(QStringLiteral("folder.LDX"), refusal(QStringLiteral("Could not open")));
        // Opening a named pipe waits for a writer forever, and a device such as /dev/zero
        // never ends: neither is read.
        QCOMPARE(mkfifo(QFile::encodeName(made(QStringLiteral("pipe.LDX"))).constData(), 0600), 0);
        generated_.insert(QStringLiteral("pipe.LDX"), refusal(kNotAFile));
    }

    void readCollectionFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Outcome>("expected");

        auto row = [](const QString& name, const Outcome& outcome) {
            QTest::newRow(qPrintable(name)) << badFile(name) << outcome;
        };
        row(QStringLiteral("empty.LDX"), refusal(kTooShort));
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << refusal(kNotAFile);
        // The PNG signature holds a character 26 in its first line: the data end there.
        QTest::newRow("image") << QStringLiteral(LUDORA_TEST_DATA_DIR
                                                 "/../../src/identity/icons/ludora-64.png")
                               << refusal(kTooShort);
        row(QStringLiteral("24-lines.LDX"), refusal(kTooShort));
        row(QStringLiteral("end-mark-in-captions.LDX"), refusal(kTooShort));
        row(QStringLiteral("only-crs-24.LDX"), refusal(kTooShort));
        row(QStringLiteral("bom-only.LDX"), refusal(kTooShort));

        QStringList nulCaptions = defaultCaptions();
        nulCaptions[5] = latin("User\0Def5");
        row(QStringLiteral("nul-in-names.LDX"),
            loading(nulCaptions, {{0, {latin("Sonic\0the Hedgehog")}},
                                  {1, {latin("Alien vs\0Predator\0")}},
                                  {2, {latin("\0\0\0")}},
                                  {5, {QStringLiteral("Doom")}}}));

        // Forty lone CRs are forty empty lines: empty captions for tabs 3 to 24, no names.
        QStringList emptyCaptions = defaultCaptions();
        for (int tab = Collection::kFirstUserTab; tab < Collection::kTabCount; ++tab) {
            emptyCaptions[tab].clear();
        }
        row(QStringLiteral("only-crs.LDX"), loading(emptyCaptions, {}));

        // Bytes that are not UTF-8 become U+FFFD, in captions, names and keys alike; each
        // line is decoded on its own, so a sequence cut short by the line end leaves the
        // line end and the next line alone.
        QStringList bomCaptions = defaultCaptions();
        bomCaptions[3] = QStringLiteral("Caf\uFFFD");
        row(QStringLiteral("bom-invalid-utf8.LDX"),
            loading(bomCaptions, {{0,
                                   {QStringLiteral("Good name"), QStringLiteral("Bad \uFFFD name"),
                                    QStringLiteral("Lone \uFFFD continuation")}},
                                  {2, {QString::fromUtf8("Cut short \xe3\x81")}},
                                  {3, {QStringLiteral("Latte")}}}));

        for (auto it = generated_.cbegin(); it != generated_.cend(); ++it) {
            QTest::newRow(qPrintable(it.key())) << made(it.key()) << it.value();
        }
    }

    void readCollectionFile() {
        QFETCH(QString, path);
        QFETCH(Outcome, expected);
        Collection c;
        const ludora::ReadResult read = ludora::ReadCollectionFile(c, path);
        if (!expected.loads) {
            QVERIFY(!read.ok);
            QVERIFY2(read.error.contains(QDir::toNativeSeparators(path)), qPrintable(read.error));
            QVERIFY2(read.error.contains(expected.reason), qPrintable(read.error));
            return;
        }
        QVERIFY2(read.ok, qPrintable(read.error));
        verifyContent(c, expected);
        QCOMPARE(read.refused, expected.refused);
    }

    void openCommand_data() { readCollectionFile_data(); }

    // Open through the command, over a collection that has names and a file of its own.
    void openCommand() {
        QFETCH(QString, path);
        QFETCH(Outcome, expected);
        FakeDialogs dialogs;
        Collection c;
        fillSample(c);
        const QString current = made(QStringLiteral("current.LDX"));
        c.setFileName(current);
        dialogs.chooseNextFile(path);

        ludora::openCollection(c, nullptr);

        QVERIFY(!c.isDirty());
        const auto messages = dialogs.messages();
        if (!expected.loads) {
            // The names and their captions stay as they were.
            Collection before;
            fillSample(before);
            QCOMPARE(snapshot(c), snapshot(before));
            QCOMPARE(c.fileName(), current);
            QCOMPARE(messages.size(), 1);
            const QString text = messages.at(0).message.prompt;
            QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
            QVERIFY2(text.contains(expected.reason), qPrintable(text));
            return;
        }
        QCOMPARE(c.fileName(), path);
        verifyContent(c, expected);
        qsizetype refusedTotal = 0;
        for (const qsizetype n : expected.refused) {
            refusedTotal += n;
        }
        if (refusedTotal == 0) {
            QCOMPARE(messages.size(), 0);
            return;
        }
        // The file opens, and one message says how many names of which list were left out.
        QCOMPARE(messages.size(), 1);
        const QString text = messages.at(0).message.prompt;
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            if (expected.refused[size_t(tab)] > 0) {
                QVERIFY2(text.contains(QStringLiteral("\"%1\"").arg(c.caption(tab))),
                         qPrintable(text));
                QVERIFY2(text.contains(QString::number(expected.refused[size_t(tab)])),
                         qPrintable(text));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestBadInputs)
#include "tst_bad_inputs.moc"
