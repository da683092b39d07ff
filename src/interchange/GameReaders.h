#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "interchange/Interchange.h"
#include "interchange/Placement.h"

namespace ludora::interchange {

// Which of the other programs' formats (Tellico, GCstar, a spreadsheet) the content is, or
// Detect when it is none of them.
Format detectGamesFormat(const QByteArray& content);

// Each gives the games of its format to the placer, in file order. On content that is not of
// the format or is damaged, returns false with a reason a person understands.
bool readTellico(const QByteArray& content, Placer& games, QString* error);
bool readGcstar(const QByteArray& content, Placer& games, QString* error);
bool readSpreadsheet(const QByteArray& content, Placer& games, QString* error);

}  // namespace ludora::interchange
