#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "fixtures/RecordingSurface.h"
#include "printing/PrintService.h"

namespace ludora::test {

// A printing service with the printers a test lists. Documents are printed on recording
// surfaces that stay here for the test to look at. Installs itself for its lifetime.
class FakePrintService final : public platform::Replaceable<PrintService>::Replacement {
public:
    struct Document {
        QString printer;
        QString name;
        std::shared_ptr<RecordingSurface> surface;
    };

    QStringList printers;
    QString defaultPrinter;
    // Given to every surface handed out.
    SurfaceSettings surfaceSettings;

    // Documents begun, in order, each on the printer it went to.
    QList<Document> documents;
    // Names asked for that no installed printer has.
    QStringList refused;

    QStringList printerNames() override { return printers; }
    QString defaultPrinterName() override { return defaultPrinter; }
    std::unique_ptr<PrintSurface> beginDocument(const QString& deviceName,
                                                const QString& documentName) override;
};

}  // namespace ludora::test
