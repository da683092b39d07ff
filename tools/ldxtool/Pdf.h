#pragma once

#include <QString>

namespace ludora {
class Collection;
}

namespace ludora::ldx {

enum class PageSizeChoice { FromLocale, A4, Letter };

// Writes the list printout of the collection's first three lists into a PDF file. The file
// appears only when complete. Returns false with the reason in *error.
bool writePrintoutPdf(const Collection& collection, const QString& outPath, PageSizeChoice size,
                      QString* error);

}  // namespace ludora::ldx
