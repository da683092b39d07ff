#include "collection/FileRecord.h"

#include <QFileInfo>

#include "collection/Hash.h"

namespace ludora {

quint64 fileFingerprint(QFile& file) {
    constexpr qint64 kPiece = 1024 * 1024;
    QByteArray piece(kPiece, Qt::Uninitialized);
    quint64 hash = quint64(file.size());
    for (qint64 got; (got = file.read(piece.data(), kPiece)) > 0;) {
        hash = hashBytes(piece.constData(), size_t(got), hash);
    }
    return hash == 0 ? 1 : hash;
}

quint64 fileFingerprint(const QString& path) {
    const std::shared_ptr<QFile> file = holdFile(path);
    return file ? fileFingerprint(*file) : 0;
}

std::shared_ptr<QFile> holdFile(const QString& path) {
    // Ordinary files only: opening a named pipe would wait for a writer.
    if (!QFileInfo(path).isFile()) {
        return nullptr;
    }
    auto file = std::make_shared<QFile>(path);
    return file->open(QIODevice::ReadOnly) ? file : nullptr;
}

}  // namespace ludora
