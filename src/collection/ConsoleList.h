#pragma once

#include <QString>

#include "collection/NameStore.h"

namespace ludora {

// One console tab: its caption, its sorted names with their selection flags, and whether
// the user can switch to it.
struct ConsoleList {
    QString caption;
    NameStore names;
    bool available = true;
};

}  // namespace ludora
