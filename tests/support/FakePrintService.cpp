#include "support/FakePrintService.h"

namespace ludora::test {
namespace {

// Hands the caller a surface it may delete while the recording stays with the service.
class SharedSurface final : public PrintSurface {
public:
    explicit SharedSurface(std::shared_ptr<RecordingSurface> target) : target_(std::move(target)) {}

    bool setFontSize(double points) override { return target_->setFontSize(points); }
    bool setBold(bool bold) override { return target_->setBold(bold); }
    bool setHorizontalOrigin(double twips) override { return target_->setHorizontalOrigin(twips); }
    bool setPosition(double x, double y) override { return target_->setPosition(x, y); }
    std::optional<double> currentY() override { return target_->currentY(); }
    std::optional<double> printableHeight() override { return target_->printableHeight(); }
    std::optional<double> textHeight(const QString& text) override {
        return target_->textHeight(text);
    }
    bool printLine(const QString& text) override { return target_->printLine(text); }
    bool newPage() override { return target_->newPage(); }
    bool endDocument() override { return target_->endDocument(); }

private:
    std::shared_ptr<RecordingSurface> target_;
};

}  // namespace

std::unique_ptr<PrintSurface> FakePrintService::beginDocument(const QString& deviceName,
                                                              const QString& documentName) {
    // Like the system's service: exact names only, and never a fallback printer.
    if (deviceName.isEmpty() || !printers.contains(deviceName, Qt::CaseSensitive)) {
        refused << deviceName;
        return nullptr;
    }
    auto surface = std::make_shared<RecordingSurface>(surfaceSettings);
    documents.push_back(Document{deviceName, documentName, surface});
    return std::make_unique<SharedSurface>(surface);
}

}  // namespace ludora::test
