// Feeds arbitrary bytes to the collection file reader, as if a user opened them.

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    ludora::Collection collection;
    const ludora::ReadResult read =
        ludora::ReadCollectionFile(collection, device, QStringLiteral("input"));
    if (read.ok) {
        // Whatever was loaded can be written again.
        QByteArray out;
        QBuffer sink(&out);
        sink.open(QIODevice::WriteOnly);
        const ludora::WriteResult written =
            ludora::WriteCollectionFile(collection, sink, QStringLiteral("output"));
        if (!written.ok) {
            __builtin_trap();
        }
    }
    return 0;
}
