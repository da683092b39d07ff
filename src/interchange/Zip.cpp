#include "interchange/Zip.h"

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

// The archive's directory can be no larger than its 65,535 entries with the longest names.
constexpr qint64 kMaxDirectory = 64 * 1024 * 1024;
constexpr qint64 kZipChunk = 64 * 1024;

}  // namespace

bool looksLikeZip(QByteArrayView bytes) {
    return bytes.size() >= 4 && qFromLittleEndian<quint32>(bytes.data()) == kLocalHeader;
}

ZipMember::ZipMember(QIODevice& zip, const QString& name, int method, qint64 packed, qint64 size,
                     quint32 crc)
    : zip_(zip),
      name_(name),
      deflated_(method == Z_DEFLATED),
      packedLeft_(packed),
      packed_(packed),
      size_(size),
      crc_(crc),
      running_(quint32(crc32_z(0, nullptr, 0))) {
    if (deflated_ && inflateInit2(&stream_, -MAX_WBITS) != Z_OK) {
        fail(QStringLiteral("the zip archive cannot be unpacked"));
    }
    open(QIODevice::ReadOnly);
}

ZipMember::~ZipMember() {
    if (deflated_) {
        inflateEnd(&stream_);
    }
}

qint64 ZipMember::fail(const QString& reason) {
    failed_ = true;
    setErrorString(reason);
    return -1;
}

qint64 ZipMember::finish(qint64 produced) {
    done_ = true;
    if (out_ != size_) {
        return fail(QStringLiteral("the zip archive is damaged: %1 is not as long as its "
                                   "directory says")
                        .arg(name_));
    }
    if (running_ != crc_) {
        return fail(QStringLiteral("the zip archive is damaged: %1 fails its checksum").arg(name_));
    }
    return produced;
}

qint64 ZipMember::readData(char* data, qint64 maxSize) {
    if (failed_) {
        return -1;
    }
    if (done_ || maxSize <= 0) {
        return 0;
    }
    qint64 produced = 0;
    if (!deflated_) {
        const qint64 wanted = std::min(maxSize, packedLeft_);
        produced = wanted > 0 ? zip_.read(data, wanted) : 0;
        if (wanted > 0 && produced <= 0) {
            return fail(QStringLiteral("the zip archive is cut short inside %1").arg(name_));
        }
        packedLeft_ -= produced;
    } else {
        produced = inflateInto(data, maxSize);
        if (produced < 0) {
            return -1;
        }
    }
    running_ = quint32(crc32_z(running_, reinterpret_cast<const Bytef*>(data), size_t(produced)));
    out_ += produced;
    if (out_ > kMaxRatio * std::max<qint64>(packed_, 1)) {
        return fail(QStringLiteral("%1 in the zip archive unpacks to more than %2 times its "
                                   "packed size, as a zip bomb does: refused")
                        .arg(name_)
                        .arg(kMaxRatio));
    }
    if ((!deflated_ && packedLeft_ == 0) || (deflated_ && done_)) {
        return finish(produced);
    }
    return produced;
}

qint64 ZipMember::inflateInto(char* data, qint64 maxSize) {
    stream_.next_out = reinterpret_cast<Bytef*>(data);
    stream_.avail_out = uInt(std::min<qint64>(maxSize, kZipChunk));
    const uInt room = stream_.avail_out;
    while (stream_.avail_out == room) {
        if (stream_.avail_in == 0 && packedLeft_ > 0) {
            in_.resize(qsizetype(std::min(kZipChunk, packedLeft_)));
            const qint64 got = zip_.read(in_.data(), in_.size());
            if (got <= 0) {
                return fail(QStringLiteral("the zip archive is cut short inside %1").arg(name_));
            }
            packedLeft_ -= got;
            stream_.next_in = reinterpret_cast<Bytef*>(in_.data());
            stream_.avail_in = uInt(got);
        }
        const int status = inflate(&stream_, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            done_ = true;
            break;
        }
        if (status != Z_OK && !(status == Z_BUF_ERROR && packedLeft_ > 0)) {
            return fail(
                QStringLiteral("the zip archive is damaged: %1 cannot be unpacked").arg(name_));
        }
    }
    return qint64(room - stream_.avail_out);
}

std::unique_ptr<ZipMember> openZipMember(QIODevice& zip, const QStringList& names, QString* error) {
    const auto refuse = [error](const QString& reason) {
        *error = reason;
        return std::unique_ptr<ZipMember>();
    };
    // The end record lies within the last 64 KB (its comment is at most 65,535 bytes).
    const qint64 size = zip.size();
    const qint64 tailStart = std::max<qint64>(0, size - kEndSize - 0xFFFF);
    if (!zip.seek(tailStart)) {
        return refuse(QStringLiteral("the zip archive cannot be read"));
    }
    const QByteArray tail = zip.read(size - tailStart);
    qsizetype end = tail.size() - kEndSize;
    while (end >= 0 && u32(tail, end) != kEndOfDirectory) {
        --end;
    }
    if (end < 0) {
        return refuse(QStringLiteral("the zip archive is damaged: it has no directory"));
    }
    const int count = u16(tail, end + 10);
    const qint64 directorySize = u32(tail, end + 12);
    const qint64 directoryAt = u32(tail, end + 16);
    if (directorySize > kMaxDirectory || directoryAt + directorySize > size ||
        !zip.seek(directoryAt)) {
        return refuse(QStringLiteral("the zip archive is damaged: its directory is cut"));
    }
    const QByteArray directory = zip.read(directorySize);
    qsizetype at = 0;
    for (int i = 0; i < count; ++i) {
        if (at + kCentralSize > directory.size() || u32(directory, at) != kCentralHeader) {
            return refuse(QStringLiteral("the zip archive is damaged: its directory is cut"));
        }
        const int method = u16(directory, at + 10);
        const quint32 crc = u32(directory, at + 16);
        const qint64 packed = u32(directory, at + 20);
        const qint64 unpacked = u32(directory, at + 24);
        const qsizetype nameLength = u16(directory, at + 28);
        const qsizetype skip = nameLength + u16(directory, at + 30) + u16(directory, at + 32);
        const qint64 local = u32(directory, at + 42);
        if (at + kCentralSize + nameLength > directory.size()) {
            return refuse(QStringLiteral("the zip archive is damaged: its directory is cut"));
        }
        const QString name =
            QString::fromUtf8(directory.constData() + at + kCentralSize, nameLength);
        at += kCentralSize + skip;
        if (!names.contains(name)) {
            continue;
        }
        QByteArray header;
        if (local + kLocalSize <= size && zip.seek(local)) {
            header = zip.read(kLocalSize);
        }
        if (header.size() < kLocalSize || u32(header, 0) != kLocalHeader) {
            return refuse(QStringLiteral("the zip archive is damaged: %1 is missing").arg(name));
        }
        const qint64 data = local + kLocalSize + u16(header, 26) + u16(header, 28);
        if (data + packed > size || !zip.seek(data)) {
            return refuse(QStringLiteral("the zip archive is cut short inside %1").arg(name));
        }
        if (method != 0 && method != Z_DEFLATED) {
            return refuse(QStringLiteral("%1 in the zip archive is packed in a way (method %2) "
                                         "that cannot be read")
                              .arg(name)
                              .arg(method));
        }
        if (method == 0 && packed != unpacked) {
            return refuse(QStringLiteral("the zip archive is damaged: %1 is not as long as its "
                                         "directory says")
                              .arg(name));
        }
        return std::make_unique<ZipMember>(zip, name, method, packed, unpacked, crc);
    }
    return refuse(QStringLiteral("the zip archive holds no %1").arg(names.join(u'/')));
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
