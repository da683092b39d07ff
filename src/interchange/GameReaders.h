#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "interchange/Interchange.h"

namespace ludora::interchange {

// A game as another program's file holds it.
struct Game {
    QString name;
    QStringList platforms;  // as written, possibly none
};

// Which of the formats the content is, or Detect when it is none of them.
Format detectFormat(const QByteArray& content);

// Each reads the games of its format in file order. On content that is not of the format or
// is damaged, returns false with a reason a person understands.
bool readTellico(const QByteArray& content, QList<Game>& games, QString* error);
bool readGcstar(const QByteArray& content, QList<Game>& games, QString* error);
bool readSpreadsheet(const QByteArray& content, QList<Game>& games, QString* error);

}  // namespace ludora::interchange
