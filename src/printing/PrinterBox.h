#pragma once

#include <QComboBox>

namespace ludora {

// The drop-down box of installed printers. It has no label beside it, so assistive
// technology reads it by a name of its own that says what it chooses and which printer is
// chosen: "Printer: LudoraPDF", or "Printer" while none is.
class PrinterBox final : public QComboBox {
    Q_OBJECT

public:
    explicit PrinterBox(QWidget* parent = nullptr);

    QString accessibleText() const;
};

}  // namespace ludora
