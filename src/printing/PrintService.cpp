#include "printing/PrintService.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "printing/printout/PaintedSurface.h"

namespace ludora {
namespace {

// The printers of the system's printing service (CUPS on Linux).
class QtPrintService final : public PrintService {
public:
    QStringList printerNames() override { return QPrinterInfo::availablePrinterNames(); }

    QString defaultPrinterName() override { return QPrinterInfo::defaultPrinterName(); }

    std::unique_ptr<PrintSurface> beginDocument(const QString& deviceName,
                                                const QString& documentName) override {
        // A QPrinter made from a null QPrinterInfo quietly becomes a PDF printer without a
        // file, and CUPS finds a queue whatever the letter case of its name: only a printer
        // installed under exactly this name will do.
        if (deviceName.isEmpty() ||
            !QPrinterInfo::availablePrinterNames().contains(deviceName, Qt::CaseSensitive)) {
            return nullptr;
        }
        const QPrinterInfo info = QPrinterInfo::printerInfo(deviceName);
        if (info.isNull() || info.printerName() != deviceName) {
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        if (!printer->isValid() || printer->outputFormat() != QPrinter::NativeFormat ||
            printer->printerName() != deviceName) {
            return nullptr;
        }
        printer->setDocName(documentName);
        QPrinter* device = printer.get();
        return std::make_unique<PaintedSurface>(
            std::move(printer), [device] { return device->isValid(); },
            [device] { device->abort(); });
    }
};

}  // namespace

template <>
PrintService& platform::Replaceable<PrintService>::system() {
    static QtPrintService service;
    return service;
}

}  // namespace ludora
