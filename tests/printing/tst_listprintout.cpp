#include <QTest>

#include "PrintTestSupport.h"
#include "collection/Collection.h"
#include "printing/printout/ListPrintout.h"
#include "fixtures/RecordingSurface.h"

using ludora::Collection;
using ludora::printLists;
using ludora::test::fillList;
using ludora::test::RecordingSurface;
using ludora::test::SurfaceOp;
using ludora::test::SurfaceSettings;

namespace {

const QString kCaptions[] = {QStringLiteral("N64"), QStringLiteral("JAGUAR"),
                             QStringLiteral("TG16")};

QString header(const QString& caption, int page) {
    return QStringLiteral("%1 List - Page %2").arg(caption).arg(page);
}

// One expected page: header and empty line, the entries, and when given the closing empty
// line and total line.
QStringList page(const QString& caption, int number, const QStringList& entries, int total = -1) {
    QStringList lines{header(caption, number), QString()};
    lines << entries;
    if (total >= 0) {
        lines << QString() << QStringLiteral("%1 Total = %2").arg(caption).arg(total);
    }
    return lines;
}

QStringList entries(const QString& prefix, int first, int last) {
    QStringList names;
    for (int i = first; i <= last; ++i) {
        names << QStringLiteral("%1 %2").arg(prefix).arg(i, 4, 10, QLatin1Char('0'));
    }
    return names;
}

// Lines 200 twips high: after the header and its empty line an entry starts at
// 400 + 200 * (entries already on the page) and needs 400 twips of room.
SurfaceSettings twoHundredTwipLines(double printableHeight) {
    SurfaceSettings settings;
    settings.printableHeight = printableHeight;
    settings.lineHeight = 200;
    settings.boldLineHeight = 200;
    return settings;
}

}  // namespace

class TestListPrintout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nothingPrintedWithoutNamesInFirstThreeLists_data() {
        QTest::addColumn<int>("currentTab");
        QTest::addColumn<QList<int>>("filledTabs");
        QTest::newRow("all empty") << 2 << QList<int>{};
        QTest::newRow("names in tab 3") << 0 << QList<int>{3};
        QTest::newRow("names in tabs 3, 10 and 24, tab 1 current") << 1 << QList<int>{3, 10, 24};
    }
    void nothingPrintedWithoutNamesInFirstThreeLists() {
        QFETCH(int, currentTab);
        QFETCH(QList<int>, filledTabs);
        Collection collection;
        collection.setCurrentTab(currentTab);
        for (int tab : filledTabs) {
            fillList(collection, tab, 5, QStringLiteral("Other"));
        }
        RecordingSurface surface;
        printLists(collection, surface);
        QCOMPARE(surface.callCount(SurfaceOp::PrintLine), 0);
        QCOMPARE(surface.callCount(SurfaceOp::NewPage), 0);
        QCOMPARE(surface.pageCount(), 0);
        QCOMPARE(surface.endDocumentCalls(), 1);
    }

    void pageLayout_data() {
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<double>("printableHeight");
        QTest::addColumn<QList<QStringList>>("expectedPages");

        const QString n64 = kCaptions[0];
        const QString jaguar = kCaptions[1];
        const QString tg16 = kCaptions[2];
        // 1400 twips hold four entries a page.
        QTest::newRow("only the second list: its header is page 1")
            << QList<int>{0, 3, 0} << 1400.0
            << QList<QStringList>{page(jaguar, 1, entries(jaguar, 1, 3), 3)};
        QTest::newRow("one list that fits")
            << QList<int>{2, 0, 0} << 1400.0
            << QList<QStringList>{page(n64, 1, entries(n64, 1, 2), 2)};
        QTest::newRow("each list on its own pages, none after the last")
            << QList<int>{1, 2, 1} << 1400.0
            << QList<QStringList>{page(n64, 1, entries(n64, 1, 1), 1),
                                  page(jaguar, 1, entries(jaguar, 1, 2), 2),
                                  page(tg16, 1, entries(tg16, 1, 1), 1)};
        QTest::newRow("page numbers start again for each list")
            << QList<int>{6, 0, 9} << 1400.0
            << QList<QStringList>{
                   page(n64, 1, entries(n64, 1, 4)), page(n64, 2, entries(n64, 5, 6), 6),
                   page(tg16, 1, entries(tg16, 1, 4)), page(tg16, 2, entries(tg16, 5, 8)),
                   page(tg16, 3, entries(tg16, 9, 9), 9)};
        // The empty line and the total line after the last entry are not tested: they go on
        // the page even past its bottom.
        QTest::newRow("closing lines need no room")
            << QList<int>{4, 0, 0} << 1400.0
            << QList<QStringList>{page(n64, 1, entries(n64, 1, 4), 4)};
        QTest::newRow("room exactly twice the entry's height: the entry stays")
            << QList<int>{5, 0, 0} << 1400.0
            << QList<QStringList>{page(n64, 1, entries(n64, 1, 4)),
                                  page(n64, 2, entries(n64, 5, 5), 5)};
        QTest::newRow("one twip less: the page breaks before the entry")
            << QList<int>{4, 0, 0} << 1399.0
            << QList<QStringList>{page(n64, 1, entries(n64, 1, 3)),
                                  page(n64, 2, entries(n64, 4, 4), 4)};
        QTest::newRow("a page too short for any entry still prints each under its header")
            << QList<int>{2, 0, 0} << 700.0
            << QList<QStringList>{page(n64, 1, {}), page(n64, 2, entries(n64, 1, 1)),
                                  page(n64, 3, entries(n64, 2, 2), 2)};
    }
    void pageLayout() {
        QFETCH(QList<int>, counts);
        QFETCH(double, printableHeight);
        QFETCH(QList<QStringList>, expectedPages);

        Collection collection;
        for (int tab = 0; tab < 3; ++tab) {
            fillList(collection, tab, counts[tab], kCaptions[tab]);
        }
        RecordingSurface surface(twoHundredTwipLines(printableHeight));
        printLists(collection, surface);

        QCOMPARE(surface.pageCount(), expectedPages.size());
        for (int p = 0; p < surface.pageCount(); ++p) {
            QCOMPARE(surface.pageTexts(p), expectedPages[p]);
            const RecordingSurface::Page& lines = surface.pages()[p];
            for (int i = 0; i < lines.size(); ++i) {
                const RecordingSurface::Line& line = lines[i];
                // Only the header is bold; every line is 10 points at the half-inch margin,
                // and the page starts at its top.
                QCOMPARE(line.bold, i == 0);
                QCOMPARE(line.fontSize, 10.0);
                QCOMPARE(line.x, 720.0);
                QCOMPARE(line.y, 200.0 * i);
            }
        }
        // The page-break test runs before each entry and nowhere else.
        QCOMPARE(surface.callCount(SurfaceOp::TextHeight), counts[0] + counts[1] + counts[2]);
        QCOMPARE(surface.endDocumentCalls(), 1);
        QCOMPARE(surface.calls().constLast().op, SurfaceOp::EndDocument);
    }

    // The room left is rounded to whole twips, halves to the even neighbour, and the entry's
    // own measured height decides.
    void pageBreakTest_data() {
        QTest::addColumn<double>("printableHeight");
        QTest::addColumn<double>("secondEntryHeight");
        QTest::addColumn<bool>("breaks");
        // Before the second entry the print position is 600.
        QTest::newRow("room 200.5 rounds to 200, less than 200.5") << 800.5 << 100.25 << true;
        QTest::newRow("room 201.5 rounds to 202, more than 201.5") << 801.5 << 100.75 << false;
        QTest::newRow("room 200.4 rounds to 200, equal to 200") << 800.4 << 100.0 << false;
        QTest::newRow("a tall entry breaks where a line would fit") << 1400.0 << 401.0 << true;
        QTest::newRow("a short entry fits where a line would not") << 900.0 << 150.0 << false;
    }
    void pageBreakTest() {
        QFETCH(double, printableHeight);
        QFETCH(double, secondEntryHeight);
        QFETCH(bool, breaks);

        Collection collection;
        const QStringList names = fillList(collection, 0, 2, QStringLiteral("Game"));
        SurfaceSettings settings = twoHundredTwipLines(printableHeight);
        settings.textHeights.insert(names[1], secondEntryHeight);
        RecordingSurface surface(settings);
        printLists(collection, surface);

        QCOMPARE(surface.pageCount(), breaks ? 2 : 1);
        if (breaks) {
            QCOMPARE(surface.pageTexts(1).mid(0, 3),
                     (QStringList{header(QStringLiteral("N64"), 2), QString(), names[1]}));
        } else {
            QCOMPARE(surface.pageTexts(0).mid(2, 2), names);
        }
    }

    void totalAndHeaderTexts_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expectedHeader");
        QTest::addColumn<QString>("expectedTotal");
        QTest::newRow("57 games") << 0 << QString() << 57 << "N64 List - Page 1"
                                  << "N64 Total = 57";
        QTest::newRow("one game") << 0 << QString() << 1 << "N64 List - Page 1"
                                  << "N64 Total = 1";
        QTest::newRow("third list") << 2 << QString() << 12 << "TG16 List - Page 1"
                                    << "TG16 Total = 12";
        QTest::newRow("caption read from the collection")
            << 1 << "Lynx" << 3 << "Lynx List - Page 1"
            << "Lynx Total = 3";
        QTest::newRow("caption with blanks kept") << 0 << " N 64 " << 2 << " N 64  List - Page 1"
                                                  << " N 64  Total = 2";
    }
    void totalAndHeaderTexts() {
        QFETCH(int, tab);
        QFETCH(QString, caption);
        QFETCH(int, count);
        QFETCH(QString, expectedHeader);
        QFETCH(QString, expectedTotal);

        Collection collection;
        if (!caption.isEmpty()) {
            collection.setCaption(tab, caption);
        }
        fillList(collection, tab, count, QStringLiteral("Game"));
        RecordingSurface surface;  // ten-inch pages: 57 entries fit
        printLists(collection, surface);

        QCOMPARE(surface.pageCount(), 1);
        QCOMPARE(surface.pageTexts(0).constFirst(), expectedHeader);
        QCOMPARE(surface.pageTexts(0).constLast(), expectedTotal);
        QCOMPARE(surface.pageTexts(0).size(), count + 4);
    }

    void entriesPrintedUnchanged() {
        Collection collection;
        const QString wide = QStringLiteral("Wide ") + QString(600, QLatin1Char('W'));
        const QString blanks = QStringLiteral("  two  blanks  ");
        collection.addName(0, wide);
        collection.addName(0, blanks);
        RecordingSurface surface;
        printLists(collection, surface);
        // Sorted as the list shows them, neither wrapped nor shortened nor trimmed.
        QCOMPARE(surface.allTexts(), page(QStringLiteral("N64"), 1, {blanks, wide}, 2));
    }

    // From the font size on, a failing operation is skipped and the printout goes on to the
    // end of the document. A read that fails means no page break.
    void failuresIgnored_data() {
        QTest::addColumn<QList<int>>("failing");
        QTest::addColumn<QStringList>("expectedAttempts");
        QTest::addColumn<int>("expectedPages");

        // Five entries on 1400-twip pages: the fifth goes on page 2.
        const QString n64 = kCaptions[0];
        const QStringList normal = page(n64, 1, entries(n64, 1, 4)) +
                                   page(n64, 2, entries(n64, 5, 5), 5) +
                                   page(kCaptions[2], 1, entries(kCaptions[2], 1, 1), 1);
        const QStringList unbroken = page(n64, 1, entries(n64, 1, 5), 5) +
                                     page(kCaptions[2], 1, entries(kCaptions[2], 1, 1), 1);
        auto row = [](SurfaceOp op) { return QList<int>{int(op)}; };
        QTest::newRow("setFontSize") << row(SurfaceOp::SetFontSize) << normal << 3;
        QTest::newRow("setBold") << row(SurfaceOp::SetBold) << normal << 3;
        QTest::newRow("setHorizontalOrigin") << row(SurfaceOp::SetHorizontalOrigin) << normal << 3;
        QTest::newRow("setPosition") << row(SurfaceOp::SetPosition) << normal << 3;
        QTest::newRow("currentY") << row(SurfaceOp::CurrentY) << unbroken << 2;
        QTest::newRow("printableHeight") << row(SurfaceOp::PrintableHeight) << unbroken << 2;
        QTest::newRow("textHeight") << row(SurfaceOp::TextHeight) << unbroken << 2;
        // Without new pages the position keeps going down: the third list breaks at once.
        const QStringList noNewPages =
            page(n64, 1, entries(n64, 1, 4)) + page(n64, 2, entries(n64, 5, 5), 5) +
            page(kCaptions[2], 1, {}) + page(kCaptions[2], 2, entries(kCaptions[2], 1, 1), 1);
        QTest::newRow("newPage") << row(SurfaceOp::NewPage) << noNewPages << 1;
        QTest::newRow("endDocument") << row(SurfaceOp::EndDocument) << normal << 3;
        // Nothing lands on the page, so the position never moves and no page breaks.
        QTest::newRow("printLine") << row(SurfaceOp::PrintLine) << unbroken << 0;
        QList<int> all;
        for (int op = int(SurfaceOp::SetFontSize); op <= int(SurfaceOp::EndDocument); ++op) {
            all << op;
        }
        QTest::newRow("everything") << all << unbroken << 0;
    }
    void failuresIgnored() {
        QFETCH(QList<int>, failing);
        QFETCH(QStringList, expectedAttempts);
        QFETCH(int, expectedPages);

        Collection collection;
        fillList(collection, 0, 5, kCaptions[0]);
        fillList(collection, 2, 1, kCaptions[2]);
        SurfaceSettings settings = twoHundredTwipLines(1400);
        for (int op : failing) {
            settings.failing.insert(SurfaceOp(op));
        }
        RecordingSurface surface(settings);
        printLists(collection, surface);

        QStringList attempts;
        for (const RecordingSurface::Call& call : surface.calls()) {
            if (call.op == SurfaceOp::PrintLine) {
                attempts << call.text;
            }
        }
        QCOMPARE(attempts, expectedAttempts);
        QCOMPARE(surface.pageCount(), expectedPages);
        QCOMPARE(surface.endDocumentCalls(), 1);
        QCOMPARE(surface.calls().constLast().op, SurfaceOp::EndDocument);
    }
};

QTEST_GUILESS_MAIN(TestListPrintout)
#include "tst_listprintout.moc"
