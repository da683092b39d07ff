#include "collection/RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "collection/Collection.h"
#include "collection/FileFormat.h"

namespace ludora {
namespace {

constexpr QByteArrayView kFileTag = "file:";
// The file-name line always fits in this many bytes at the end of a copy: a path of at
// most 4,096 bytes, each percent-encoded in three.
constexpr qint64 kTailBytes = 16 * 1024;

QByteArray fileNameLine(const QString& fileName) {
    return kFileTag.toByteArray() + fileName.toUtf8().toPercentEncoding("/") +
           QByteArray(format::kLineEnd);
}

}  // namespace

WriteResult WriteRecoveryFile(const Collection& collection, const QString& path) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    WriteResult result;
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("Could not write \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    result = WriteCollectionFile(collection, file, path);
    if (result.ok && file.write(fileNameLine(collection.fileName())) < 0) {
        result.ok = false;
    }
    // QSaveFile syncs the new file to the disk before it takes the old one's place.
    if (!result.ok || !file.commit()) {
        result.ok = false;
        result.error = QStringLiteral("Could not write \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        file.cancelWriting();
    }
    return result;
}

ReadResult ReadRecoveryFile(Collection& collection, const QString& path) {
    ReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Could not open \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    // Names and captions never hold the end mark, so the last end-mark line is the file's.
    file.seek(std::max<qint64>(0, file.size() - kTailBytes));
    const QByteArray tail = file.readAll();
    const QByteArray endMark = QByteArray(format::kLineEnd) + QByteArray(format::kEndMarkLine);
    const qsizetype end = tail.lastIndexOf(endMark);
    const QByteArray line = end < 0 ? QByteArray() : tail.mid(end + endMark.size());
    if (!line.startsWith(kFileTag) || !line.endsWith(QByteArray(format::kLineEnd)) ||
        line.count('\n') != 1) {
        result.error =
            QStringLiteral("\"%1\" is not a recovery copy.").arg(QDir::toNativeSeparators(path));
        return result;
    }
    file.seek(0);
    result = ReadCollectionFile(collection, file, path);
    if (result.ok) {
        const QByteArray encoded = line.mid(kFileTag.size(), line.size() - kFileTag.size() - 2);
        collection.setFileName(QString::fromUtf8(QByteArray::fromPercentEncoding(encoded)));
        collection.setDirty(true);
    }
    return result;
}

}  // namespace ludora
