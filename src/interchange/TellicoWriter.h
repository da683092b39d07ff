#pragma once

#include <QByteArray>

namespace ludora {
class Collection;
}

namespace ludora::interchange {

// A Tellico video-game collection (a .tc zip) holding one entry per name, its platform the
// tab's console: "Nintendo 64", "Atari Jaguar", "TurboGrafx-16", then the captions.
QByteArray writeTellico(const Collection& collection);

}  // namespace ludora::interchange
