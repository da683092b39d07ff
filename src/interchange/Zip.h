#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ludora::interchange {

// The few parts of the zip format that collection files of other programs need: reading one
// member (stored or deflated) and writing an archive of one member. No zip64, no encryption.

// Whether the bytes begin as a zip archive does.
bool looksLikeZip(const QByteArray& bytes);

// The content of the first member whose name is one of `names`. On a damaged archive, a
// missing member or a method other than stored or deflate, returns false with the reason.
bool readZipMember(const QByteArray& zip, const QStringList& names, QByteArray* content,
                   QString* error);

// An archive holding one deflated member.
QByteArray writeZip(const QString& name, const QByteArray& content);

}  // namespace ludora::interchange
