#pragma once

#include <QByteArray>
#include <QString>

namespace ludora {
class Collection;
}

namespace ludora::ldx {

enum class Format { Json, Csv, Text };

// Parses "json", "csv" or "text"; returns false for anything else.
bool parseFormat(const QString& name, Format* format);

// The collection in one of the export formats, UTF-8.
QByteArray exportCollection(const Collection& collection, Format format);

// Fills an empty collection from json or csv text, adding every name as the program would.
// On bad input returns false with a reason that names the line (csv) or the field (json).
bool importCollection(const QByteArray& input, Format format, Collection& collection,
                      QString* error);

}  // namespace ludora::ldx
