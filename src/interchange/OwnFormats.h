#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace ludora {
class Collection;
}

namespace ludora::interchange {

// Ludora's own text forms of a whole collection, all UTF-8:
//   JSON: {"captions": [25 strings], "lists": [25 arrays of names]}
//   CSV:  a "tab,caption,name" header, then one RFC 4180 row per name
//   text: each caption with its games indented under it (written only)

QByteArray writeJson(const Collection& collection);
QByteArray writeOwnCsv(const Collection& collection);
QByteArray writeText(const Collection& collection);

// Whether the text's first line is the header of Ludora's own CSV.
bool isOwnCsv(QByteArrayView start);

// Fill an empty collection, adding every name as the program would, reading the device a
// piece at a time. On bad input they return false with a reason that names the line (CSV),
// or the field or the offset (JSON).
bool readJson(QIODevice& device, Collection& collection, QString* error);
bool readOwnCsv(QIODevice& device, Collection& collection, QString* error);

}  // namespace ludora::interchange
