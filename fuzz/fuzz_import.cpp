// Feeds arbitrary bytes to the import of Ludora's own CSV or JSON (chosen at build time).

#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "interchange/Interchange.h"

#ifndef LUDORA_FUZZ_FORMAT
#error "LUDORA_FUZZ_FORMAT must name the format"
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    using ludora::interchange::Format;
    const ludora::interchange::ImportResult result = ludora::interchange::importCollection(
        bytes, QStringLiteral("fuzz"), Format::LUDORA_FUZZ_FORMAT);
    // A refusal always says why, and what is read is a collection.
    if (result.ok() != bool(result.collection) || (!result.ok() && result.error.isEmpty())) {
        __builtin_trap();
    }
    return 0;
}
