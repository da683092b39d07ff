#include "printing/printout/ListPrintout.h"

#include <QString>
#include <array>
#include <cmath>

#include "collection/Collection.h"
#include "printing/printout/PrintSurface.h"

namespace ludora {
namespace {

constexpr int kPrintedLists = 3;
constexpr double kFontPoints = 10;
constexpr double kLeftMarginTwips = 720;

QString headerLine(const QString& caption, int page) {
    return caption + QStringLiteral(" List - Page ") + QString::number(page);
}

QString totalLine(const QString& caption, int count) {
    return caption + QStringLiteral(" Total = ") + QString::number(count);
}

void printHeader(PrintSurface& surface, const QString& caption, int page) {
    surface.setBold(true);
    surface.printLine(headerLine(caption, page));
    surface.setBold(false);
    surface.printLine(QString());
}

// True when the entry no longer fits: twice its height is more than the room left on the
// page, the room rounded to whole twips (halves to even). A value the surface cannot give
// means no break.
bool needsPageBreak(PrintSurface& surface, const QString& entry) {
    const std::optional<double> height = surface.printableHeight();
    const std::optional<double> y = surface.currentY();
    const std::optional<double> textHeight = surface.textHeight(entry);
    if (!height || !y || !textHeight) {
        return false;
    }
    // The default rounding mode rounds halves to the even neighbour.
    const double room = std::nearbyint(*height - *y);
    return 2 * *textHeight > room;
}

}  // namespace

void printLists(const Collection& collection, PrintSurface& surface) {
    std::array<QString, kPrintedLists> captions;
    for (int k = 0; k < kPrintedLists; ++k) {
        captions[size_t(k)] = collection.caption(k);
    }

    // From here on a failing surface operation is skipped and the printout goes on.
    surface.setFontSize(kFontPoints);
    surface.setHorizontalOrigin(kLeftMarginTwips);
    surface.setPosition(0, 0);

    for (int k = 0; k < kPrintedLists; ++k) {
        const QString& caption = captions[size_t(k)];
        const NameStore& names = collection.list(k).names;
        if (names.isEmpty()) {
            continue;
        }
        int page = 1;
        printHeader(surface, caption, page);
        const qsizetype count = names.size();
        for (qsizetype i = 0; i < count; ++i) {
            const QString entry = names.at(i).toString();
            if (needsPageBreak(surface, entry)) {
                ++page;
                surface.newPage();
                printHeader(surface, caption, page);
            }
            surface.printLine(entry);
        }
        surface.printLine(QString());
        surface.printLine(totalLine(caption, collection.count(k)));
        surface.newPage();
    }

    surface.endDocument();
}

bool hasPrintableLists(const Collection& collection) {
    for (int k = 0; k < kPrintedLists; ++k) {
        if (collection.count(k) > 0) {
            return true;
        }
    }
    return false;
}

}  // namespace ludora
