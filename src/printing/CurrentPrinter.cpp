#include "printing/CurrentPrinter.h"

#include "printing/PrintService.h"

namespace ludora {
namespace {

struct State {
    QString deviceName;
    bool known = false;
};

State& state() {
    static State instance;
    return instance;
}

}  // namespace

QString currentPrinter() {
    State& s = state();
    if (!s.known) {
        s.deviceName = printService().defaultPrinterName();
        s.known = !s.deviceName.isEmpty();
    }
    return s.deviceName;
}

void setCurrentPrinter(const QString& deviceName) {
    State& s = state();
    s.deviceName = deviceName;
    s.known = true;
}

void resetCurrentPrinter() {
    state() = State();
}

}  // namespace ludora
