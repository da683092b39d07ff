#pragma once

#include <QIcon>
#include <QString>

namespace ludora {

// The image of the toolbar button with this key ("Open", "Save", "Print"): the desktop
// theme's icon where there is one, else the program's own 16 by 16 picture.
QIcon toolbarIcon(const QString& key);

}  // namespace ludora
