#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "platform/Replaceable.h"
#include "printing/printout/PrintSurface.h"

namespace ludora {

// The installed printers and printing on one of them.
class PrintService {
public:
    virtual ~PrintService() = default;

    // Device names of the installed printers, in the order the system enumerates them.
    virtual QStringList printerNames() = 0;
    // The system's default printer; empty when there is none.
    virtual QString defaultPrinterName() = 0;
    // Starts a document on the named printer, or nullptr when that printer cannot be used
    // (it never falls back to printing anywhere else).
    virtual std::unique_ptr<PrintSurface> beginDocument(const QString& deviceName,
                                                        const QString& documentName) = 0;
};

template <>
PrintService& platform::Replaceable<PrintService>::system();
// The printing service in use: the system's unless a test has put another in place.
inline PrintService& printService() {
    return platform::Replaceable<PrintService>::get();
}

}  // namespace ludora
