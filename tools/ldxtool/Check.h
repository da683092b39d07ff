#pragma once

#include <QString>
#include <QStringList>

namespace ludora::ldx {

// Everything the program would do to a collection file that a user might not expect, one
// finding a line as "FILE:LINE: text" (or "FILE: text"). Returns false when the file cannot
// be read at all, with the reason in *error.
bool checkCollectionFile(const QString& path, QStringList* findings, QString* error);

}  // namespace ludora::ldx
