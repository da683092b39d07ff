#pragma once

#include <QList>

#include "interchange/GameReaders.h"
#include "interchange/Interchange.h"

namespace ludora::interchange {

// Puts the games into a new collection in result.collection, and fills in the summary and
// the games that found no place.
void placeGames(const QList<Game>& games, ImportResult& result);

// The caption a tab of games without a platform gets.
inline constexpr char16_t kNoPlatformCaption[] = u"No platform";

}  // namespace ludora::interchange
