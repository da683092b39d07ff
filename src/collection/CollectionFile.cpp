#include "collection/CollectionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>

#include "collection/CaptionKeys.h"
#include "collection/CollectionLineReader.h"
#include "collection/FileFormat.h"
#include "collection/NameSection.h"
#include "collection/ReadObserver.h"
#include "collection/Windows1252.h"

namespace ludora {
namespace {

constexpr qsizetype kFlushSize = 1 << 20;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Something that exists at the path but is neither a file nor a folder: a device, a named
// pipe or a socket (symbolic links are followed).
bool isSpecialFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

QString notAnOrdinaryFile(const QString& action, const QString& path) {
    return QStringLiteral("%1 \"%2\": it is not an ordinary file.").arg(action, shown(path));
}

// Per list: whether every character it holds is written as the byte of its own number.
// Most lists are: one pass over all they hold says so, and their names need no lookups.
using OwnByteLists = std::array<bool, Collection::kTabCount>;

OwnByteLists ownByteLists(const Collection& collection) {
    OwnByteLists ownBytes{};
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        ownBytes[size_t(tab)] = !collection.list(tab).names.anyCharacter(
            [](char16_t c) { return !windows1252::isOwnByte(c); });
    }
    return ownBytes;
}

// Whether the file can be written in Windows-1252. It cannot when a character has no byte
// there, nor when the first caption would begin with the bytes of the UTF-8 byte-order mark
// ("\u00ef\u00bb\u00bf"), which would make the reader take the file for UTF-8.
bool fitsWindows1252(const Collection& collection, const OwnByteLists& ownBytes) {
    if (collection.caption(0).startsWith(QStringView(u"\u00ef\u00bb\u00bf"))) {
        return false;
    }
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const ConsoleList& list = collection.list(tab);
        if (!windows1252::canEncode(list.caption)) {
            return false;
        }
        if (ownBytes[size_t(tab)]) {
            continue;
        }
        for (qsizetype pos = 0; pos < list.names.size(); ++pos) {
            if (!windows1252::canEncode(list.names.at(pos))) {
                return false;
            }
        }
    }
    return true;
}

// Writes every byte, or fails with the device's reason: a short write is followed by
// another, which then reports why the device took no more.
bool writeAll(QIODevice& device, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            return false;
        }
        done += written;
    }
    return true;
}

// Encodes lines into a buffer and hands it to the device a megabyte at a time. The buffer
// grows to that size as it fills, so a small collection takes a small buffer.
class LineWriter {
public:
    LineWriter(QIODevice& device, bool utf8) : device_(device), utf8_(utf8) {}

    bool ok() const { return ok_; }

    void put(QByteArrayView bytes) {
        if (!room(bytes.size())) {
            ok_ = ok_ && flush() && writeAll(device_, bytes.toByteArray());
            return;
        }
        std::memcpy(buffer_.data() + used_, bytes.data(), size_t(bytes.size()));
        used_ += bytes.size();
    }

    void put(QStringView text) {
        // UTF-8 takes at most three bytes for each UTF-16 unit.
        const qsizetype worst = utf8_ ? text.size() * 3 : text.size();
        if (!room(worst)) {
            put(encode(text));
            return;
        }
        char* out = buffer_.data() + used_;
        char* end =
            utf8_ ? utf8_encoder_.appendToBuffer(out, text) : windows1252::encodeTo(text, out);
        used_ += end - out;
    }

    // One name line: the key's bytes, the name, the line end. In Windows-1252, a name known
    // to hold only characters that are their own byte is narrowed without lookups.
    void putLine(QByteArrayView key, QStringView name, bool ownBytes) {
        const qsizetype worst = key.size() + (utf8_ ? name.size() * 3 : name.size()) + 2;
        if (!room(worst)) {
            put(key);
            put(name);
            put(QByteArrayView(format::kLineEnd));
            return;
        }
        char* out = buffer_.data() + used_;
        std::memcpy(out, key.data(), size_t(key.size()));
        out += key.size();
        if (utf8_) {
            out = utf8_encoder_.appendToBuffer(out, name);
        } else {
            out = ownBytes ? windows1252::narrowTo(name, out) : windows1252::encodeTo(name, out);
        }
        *out++ = format::kCr;
        *out++ = format::kLf;
        used_ = out - buffer_.constData();
    }

    QByteArray encode(QStringView text) const {
        QByteArray bytes;
        if (utf8_) {
            bytes = text.toUtf8();
        } else {
            windows1252::encode(text, bytes);
        }
        return bytes;
    }

    bool flush() {
        if (ok_ && used_ > 0) {
            ok_ = writeAll(device_, QByteArray::fromRawData(buffer_.constData(), used_));
        }
        used_ = 0;
        return ok_;
    }

private:
    // Makes room for size bytes in the buffer; false when they would never fit.
    bool room(qsizetype size) {
        if (used_ + size > buffer_.size() && buffer_.size() < kFlushSize) {
            buffer_.resize(std::min(kFlushSize, std::max(used_ + size, 2 * buffer_.size())));
        }
        if (used_ + size > buffer_.size()) {
            flush();
        }
        return size <= buffer_.size();
    }

    QIODevice& device_;
    bool utf8_;
    QStringEncoder utf8_encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    QByteArray buffer_;
    qsizetype used_ = 0;
    bool ok_ = true;
};

void observeCaptionLine(ReadObserver& observer, const CollectionLineReader& reader,
                        const CaptionKeys& keys, int tab, const QString& line,
                        const QString& caption) {
    observer.lineRead(reader.lineNumber(), reader.lineEnd(), reader.lineHadInvalidUtf8());
    observer.captionRead(tab, reader.lineNumber(), line, caption);
    for (int earlier = 0; earlier < tab; ++earlier) {
        if (keys.key(earlier) == keys.key(tab)) {
            observer.keyTakenEarlier(tab, earlier, reader.lineNumber());
            break;
        }
    }
}

}  // namespace

qsizetype ReadResult::refusedTotal() const {
    qsizetype total = 0;
    for (const qsizetype n : refused) {
        total += n;
    }
    return total;
}

QString ReadResult::refusedMessage(const Collection& collection) const {
    QStringList parts;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (refused[size_t(tab)] > 0) {
            const qsizetype count = refused[size_t(tab)];
            parts << (count == 1 ? QStringLiteral("1 name of the list \"%2\"")
                                 : QStringLiteral("%1 names of the list \"%2\"").arg(count))
                         .arg(collection.caption(tab));
        }
    }
    if (parts.isEmpty()) {
        return QString();
    }
    return QStringLiteral("A list holds at most %1 names. These were not loaded: %2.")
        .arg(Collection::kMaxNames)
        .arg(parts.join(QStringLiteral("; ")));
}

ReadResult ReadCollectionFile(Collection& collection, const QString& path, ReadObserver* observer) {
    // A named pipe would keep the program waiting for a writer, and a device such as
    // /dev/zero never ends: only files and folders (which fail to open) go further.
    if (isSpecialFile(path)) {
        ReadResult result;
        result.error = notAnOrdinaryFile(QStringLiteral("Could not open"), path);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult result;
        result.error =
            QStringLiteral("Could not open \"%1\": %2").arg(shown(path), file.errorString());
        return result;
    }
    return ReadCollectionFile(collection, file, path, observer);
}

ReadResult ReadCollectionFile(Collection& collection, QIODevice& device, const QString& displayName,
                              ReadObserver* observer) {
    ReadResult result;
    CollectionLineReader reader(device);
    QString line;
    CaptionKeys keys;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (!reader.readLine(line)) {
            if (reader.failed()) {
                result.error = QStringLiteral("Could not read \"%1\": %2")
                                   .arg(shown(displayName), reader.errorString());
            } else {
                result.error =
                    QStringLiteral(
                        "\"%1\" is not a Ludora collection: it has %2, fewer than "
                        "the 25 lines that hold the tab captions.")
                        .arg(shown(displayName), tab == 1 ? QStringLiteral("1 line")
                                                          : QStringLiteral("%1 lines").arg(tab));
                result.tooShort = true;
                if (observer) {
                    observer->tooShort(tab);
                }
            }
            return result;
        }
        collection.setCaption(tab, CaptionKeys::captionFromLine(tab, line));
        keys.set(tab, collection.caption(tab));
        if (observer) {
            observeCaptionLine(*observer, reader, keys, tab, line, collection.caption(tab));
        }
    }

    NameSection names = readNameSection(reader, device, keys, observer);
    if (!names.ok) {
        result.error =
            QStringLiteral("Could not read \"%1\": %2").arg(shown(displayName), names.errorString);
        return result;
    }
    result.refused = collection.addNamesToAll(std::move(names.batches));
    result.ok = true;
    return result;
}

WriteResult WriteCollectionFile(const Collection& collection, QIODevice& device,
                                const QString& displayName) {
    WriteResult result;
    const OwnByteLists ownBytes = ownByteLists(collection);
    const bool utf8 = !fitsWindows1252(collection, ownBytes);
    LineWriter writer(device, utf8);
    if (utf8) {
        writer.put(QByteArrayView(format::kByteOrderMark));
    }
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        writer.put(QStringView(collection.caption(tab)));
        writer.put(QByteArrayView(format::kLineEnd));
    }
    for (int tab = 0; tab < Collection::kTabCount && writer.ok(); ++tab) {
        const NameStore& names = collection.list(tab).names;
        const QByteArray key = writer.encode(CaptionKeys::keyOf(collection.caption(tab)));
        for (qsizetype pos = 0; pos < names.size() && writer.ok(); ++pos) {
            writer.putLine(QByteArrayView(key), names.at(pos), ownBytes[size_t(tab)]);
        }
    }
    writer.put(QByteArrayView(format::kEndMarkLine));
    bool ok = writer.flush();
    // A buffered file device may hold the last bytes back; they must reach the file too.
    if (auto* file = qobject_cast<QFileDevice*>(&device); ok && file) {
        ok = file->flush();
    }
    if (!ok) {
        result.error = QStringLiteral("Could not save \"%1\": %2")
                           .arg(shown(displayName), device.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

WriteResult WriteCollectionFile(const Collection& collection, const QString& path) {
    // A device or a named pipe at the path would be replaced by the new file: leave it.
    if (isSpecialFile(path)) {
        WriteResult result;
        result.error = notAnOrdinaryFile(QStringLiteral("Could not save"), path);
        return result;
    }
    QSaveFile file(path);
    // Never write in place: a failed save must leave the previous file whole.
    file.setDirectWriteFallback(false);
    WriteResult result;
    // Unbuffered: every write reaches the file at once, so a failure shows where it happens
    // with the system's reason, and nothing is left to fail unseen when committing.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.error =
            QStringLiteral("Could not save \"%1\": %2").arg(shown(path), file.errorString());
        return result;
    }
    result = WriteCollectionFile(collection, file, path);
    if (!result.ok) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.ok = false;
        result.error =
            QStringLiteral("Could not save \"%1\": %2").arg(shown(path), file.errorString());
    }
    return result;
}

}  // namespace ludora
