#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

#include "interchange/Interchange.h"
#include "interchange/Placement.h"

namespace ludora::interchange {

// Which of the other programs' formats (Tellico, GCstar, a spreadsheet) the content is, or
// Detect when it is none of them.
Format detectGamesFormat(QByteArrayView content);

// Each gives the games of its format to the placer, in file order, reading the device (which
// must allow seeking) a piece at a time. On content that is not of the format or is
// damaged, returns false with a reason a person understands.
bool readTellico(QIODevice& device, Placer& games, QString* error);
bool readGcstar(QIODevice& device, Placer& games, QString* error);
bool readSpreadsheet(QIODevice& device, Placer& games, QString* error);

}  // namespace ludora::interchange
