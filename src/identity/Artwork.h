#pragma once

#include <QIcon>
#include <QPixmap>

namespace ludora {

// The program's monogram in the sizes a title bar and a task bar use.
QIcon ludoraIcon();
// The 78 x 81 pixel logo of the About box.
QPixmap ludoraLogo();

}  // namespace ludora
