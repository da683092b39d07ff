// Feeds arbitrary bytes to ldxtool's csv or json import (chosen at build time).

#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "Formats.h"
#include "collection/Collection.h"

#ifndef LUDORA_FUZZ_FORMAT
#error "LUDORA_FUZZ_FORMAT must name the format"
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ludora::Collection collection;
    QString error;
    const bool ok = ludora::ldx::importCollection(bytes, ludora::ldx::Format::LUDORA_FUZZ_FORMAT,
                                                  collection, &error);
    // A refusal always says why.
    if (!ok && error.isEmpty()) {
        __builtin_trap();
    }
    return 0;
}
