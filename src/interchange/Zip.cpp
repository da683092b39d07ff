#include "Zip.h"

#include <zlib.h>
#include <QtEndian>

namespace ludora::interchange {
namespace {

constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kCentralHeader = 0x02014b50;
constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr qsizetype kEndSize = 22;
constexpr qsizetype kCentralSize = 46;
constexpr qsizetype kLocalSize = 30;
// A member larger than this is refused rather than inflated into memory.
constexpr qsizetype kMaxContent = qsizetype(1) << 30;

// Little-endian fields at an offset; the caller checks that they lie inside the bytes.
quint16 u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
void put16(QByteArray& b, quint16 v) {
    char bytes[2];
    qToLittleEndian(v, bytes);
    b.append(bytes, 2);
}
void put32(QByteArray& b, quint32 v) {
    char bytes[4];
    qToLittleEndian(v, bytes);
    b.append(bytes, 4);
}

bool fail(QString* error, const QString& reason) {
    *error = reason;
    return false;
}

bool inflateRaw(const char* data, qsizetype size, qsizetype expected, QByteArray* out) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return false;
    }
    out->resize(expected);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    stream.avail_in = uInt(size);
    stream.next_out = reinterpret_cast<Bytef*>(out->data());
    stream.avail_out = uInt(expected);
    const int status = inflate(&stream, Z_FINISH);
    const bool ok = status == Z_STREAM_END && stream.total_out == uLong(expected);
    inflateEnd(&stream);
    return ok;
}

}  // namespace

bool looksLikeZip(const QByteArray& bytes) {
    return bytes.size() >= 4 && u32(bytes, 0) == kLocalHeader;
}

bool readZipMember(const QByteArray& zip, const QStringList& names, QByteArray* content,
                   QString* error) {
    // The end record lies within the last 64 KB (its comment is at most 65,535 bytes).
    qsizetype end = zip.size() - kEndSize;
    const qsizetype lowest = std::max<qsizetype>(0, end - 0xFFFF);
    while (end >= lowest && (end < 0 || u32(zip, end) != kEndOfDirectory)) {
        --end;
    }
    if (end < lowest || end < 0) {
        return fail(error, QStringLiteral("the zip archive is damaged: it has no directory"));
    }
    const int count = u16(zip, end + 10);
    qsizetype at = u32(zip, end + 16);
    for (int i = 0; i < count; ++i) {
        if (at < 0 || at + kCentralSize > end || u32(zip, at) != kCentralHeader) {
            return fail(error, QStringLiteral("the zip archive is damaged: its directory is cut"));
        }
        const int method = u16(zip, at + 10);
        const quint32 crc = u32(zip, at + 16);
        const qsizetype packed = u32(zip, at + 20);
        const qsizetype size = u32(zip, at + 24);
        const qsizetype nameLength = u16(zip, at + 28);
        const qsizetype skip = nameLength + u16(zip, at + 30) + u16(zip, at + 32);
        const qsizetype local = u32(zip, at + 42);
        if (at + kCentralSize + nameLength > end) {
            return fail(error, QStringLiteral("the zip archive is damaged: its directory is cut"));
        }
        const QString name = QString::fromUtf8(zip.constData() + at + kCentralSize, nameLength);
        at += kCentralSize + skip;
        if (!names.contains(name)) {
            continue;
        }
        if (local + kLocalSize > zip.size() || u32(zip, local) != kLocalHeader) {
            return fail(error,
                        QStringLiteral("the zip archive is damaged: %1 is missing").arg(name));
        }
        const qsizetype data = local + kLocalSize + u16(zip, local + 26) + u16(zip, local + 28);
        if (data + packed > zip.size()) {
            return fail(error, QStringLiteral("the zip archive is cut short inside %1").arg(name));
        }
        if (size > kMaxContent) {
            return fail(error, QStringLiteral("%1 in the zip archive is too large").arg(name));
        }
        if (method == 0 && packed == size) {
            *content = zip.mid(data, size);
        } else if (method != Z_DEFLATED) {
            return fail(error, QStringLiteral("%1 in the zip archive is packed in a way (method "
                                              "%2) that cannot be read")
                                   .arg(name)
                                   .arg(method));
        } else if (!inflateRaw(zip.constData() + data, packed, size, content)) {
            return fail(
                error,
                QStringLiteral("the zip archive is damaged: %1 cannot be unpacked").arg(name));
        }
        const auto* bytes = reinterpret_cast<const Bytef*>(content->constData());
        if (crc32_z(0, bytes, size_t(content->size())) != crc) {
            return fail(
                error,
                QStringLiteral("the zip archive is damaged: %1 fails its checksum").arg(name));
        }
        return true;
    }
    return fail(error, QStringLiteral("the zip archive holds no %1").arg(names.join(u'/')));
}

QByteArray writeZip(const QString& name, const QByteArray& content) {
    QByteArray packed(qsizetype(compressBound(uLong(content.size()))), Qt::Uninitialized);
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.constData()));
    stream.avail_in = uInt(content.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);

    const QByteArray fileName = name.toUtf8();
    const auto crc = quint32(
        crc32_z(0, reinterpret_cast<const Bytef*>(content.constData()), size_t(content.size())));
    // Shared by the local and the central header: version 2.0, UTF-8 name, deflate,
    // 1 January 1980, CRC and sizes.
    QByteArray common;
    put16(common, 20);
    put16(common, 1 << 11);
    put16(common, Z_DEFLATED);
    put16(common, 0);
    put16(common, (0 << 9) | (1 << 5) | 1);
    put32(common, crc);
    put32(common, quint32(packed.size()));
    put32(common, quint32(content.size()));
    put16(common, quint16(fileName.size()));
    put16(common, 0);

    QByteArray zip;
    put32(zip, kLocalHeader);
    zip += common + fileName + packed;
    const auto directory = quint32(zip.size());
    put32(zip, kCentralHeader);
    put16(zip, 20);  // made by: version 2.0
    zip += common;
    put16(zip, 0);  // comment
    put16(zip, 0);  // disk
    put16(zip, 0);  // internal attributes
    put32(zip, 0);  // external attributes
    put32(zip, 0);  // where the local header is
    zip += fileName;
    const auto directorySize = quint32(zip.size()) - directory;
    put32(zip, kEndOfDirectory);
    put32(zip, 0);  // this disk, the directory's disk
    put16(zip, 1);
    put16(zip, 1);
    put32(zip, directorySize);
    put32(zip, directory);
    put16(zip, 0);
    return zip;
}

}  // namespace ludora::interchange
