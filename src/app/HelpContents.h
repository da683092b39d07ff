#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ludora {

// The places where the help document is looked for, in order: beside the program, then in
// the installed layout's share folder.
QStringList helpFileCandidates(const QString& programDir);
// The first candidate that exists, or an empty string.
QString findHelpFile(const QString& programDir);
// Opens the help document with the desktop's viewer; tells the user when it is missing or
// cannot be shown.
void showHelpContents(QWidget* parent, const QString& programDir);

}  // namespace ludora
