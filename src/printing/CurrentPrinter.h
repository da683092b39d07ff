#pragma once

#include <QString>

namespace ludora {

// The printer the lists are printed on, by device name, for the whole run of the program.
// It starts as the system's default printer (read when first needed, and read again while
// the system has none) and only the print dialog's Print button changes it.
QString currentPrinter();
void setCurrentPrinter(const QString& deviceName);
// Forgets the current printer, so that the next use takes the system default again.
void resetCurrentPrinter();

}  // namespace ludora
