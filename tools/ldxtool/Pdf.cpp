#include "Pdf.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "collection/Collection.h"
#include "printing/printout/ListPrintout.h"
#include "printing/printout/PaintedSurface.h"

namespace ludora::ldx {

bool writePrintoutPdf(const Collection& collection, const QString& outPath, PageSizeChoice size,
                      QString* error) {
    if (size == PageSizeChoice::FromLocale) {
        size = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                   ? PageSizeChoice::Letter
                   : PageSizeChoice::A4;
    }
    const QPageSize pageSize(size == PageSizeChoice::Letter ? QPageSize::Letter : QPageSize::A4);
    // Written beside the target under another name, then renamed over it.
    const QString partial =
        QStringLiteral("%1.partial-%2").arg(outPath).arg(QCoreApplication::applicationPid());
    {
        std::unique_ptr<PrintSurface> surface = makePdfSurface(partial, pageSize, error);
        if (!surface) {
            QFile::remove(partial);
            return false;
        }
        printLists(collection, *surface);
    }
    if (!QFileInfo(partial).isFile() || QFileInfo(partial).size() == 0) {
        QFile::remove(partial);
        *error = QStringLiteral("the PDF could not be written");
        return false;
    }
    if (std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(outPath).constData()) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(partial);
        return false;
    }
    return true;
}

}  // namespace ludora::ldx
