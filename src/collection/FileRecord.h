#pragma once

#include <QFile>
#include <QFuture>
#include <QString>
#include <memory>

namespace ludora {

class Collection;

// What the current file held when the collection last read or wrote it, to tell whether
// another program (another machine, through a synchronised folder) has changed it since.
struct FileRecord {
    // The fingerprint of the file's bytes, found on a worker: Open and Save As need not wait
    // for a second reading of the file.
    QFuture<quint64> fingerprint;
    // Its captions and names, sharing their lists with the collection until either changes:
    // the base of a three-way merge.
    std::shared_ptr<const Collection> content;
};

// A fingerprint of a file's bytes, its size among them; 0 when it cannot be read.
quint64 fileFingerprint(const QString& path);
quint64 fileFingerprint(QFile& file);

// The file at the path, opened now and kept open for a fingerprint taken later: that reads
// the bytes that are there now, even when the file is replaced meanwhile (Ludora and the
// synchronisation services replace a file by renaming a new one over it). Null when the file
// cannot be opened.
std::shared_ptr<QFile> holdFile(const QString& path);

}  // namespace ludora
