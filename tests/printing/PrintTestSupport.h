#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "fixtures/RecordingSurface.h"

namespace ludora {
class Collection;
class PrintSurface;
}  // namespace ludora

namespace ludora::test {

// Drops the offscreen platform's "does not support raise()" warning, which every opening
// of a window that brings itself to the front gives.
void ignoreOffscreenRaiseWarnings();

// Fills list `tab` with `count` names "<prefix> 0001", "<prefix> 0002", ... (already in list
// order) and returns them.
QStringList fillList(Collection& collection, int tab, int count, const QString& prefix);

// The metrics of a real surface as the printout uses them: 10 points, regular and bold.
SurfaceSettings measureSurface(PrintSurface& surface);

// What a reader of the page sees: each page's non-empty lines, blanks collapsed.
QList<QStringList> visibleLines(const RecordingSurface& surface);

// Through the poppler tools: whether the PDF has the printout's pages, each showing the
// printout's lines. Otherwise false, with what differs (or why a tool failed) in *error.
bool pdfShowsPrintout(const QString& pdf, const RecordingSurface& printout, QString* error);
// Renders the first page as a PNG at 60 dots per inch.
bool renderFirstPage(const QString& pdf, const QString& png, QString* error);

}  // namespace ludora::test
