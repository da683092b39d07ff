#include "collection/FileRecord.h"

#include <QFile>

#include "collection/Hash.h"

namespace ludora {

quint64 fileFingerprint(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    constexpr qint64 kPiece = 1024 * 1024;
    QByteArray piece(kPiece, Qt::Uninitialized);
    quint64 hash = quint64(file.size());
    for (qint64 got; (got = file.read(piece.data(), kPiece)) > 0;) {
        hash = hashBytes(piece.constData(), size_t(got), hash);
    }
    return hash == 0 ? 1 : hash;
}

}  // namespace ludora
