#pragma once

#include <QColor>
#include <QFont>

namespace ludora {

// The window's fonts were chosen for Windows; elsewhere the nearest metric-compatible
// font stands in (Liberation Mono for Courier New, Liberation Sans for MS Sans Serif).
QFont courierNewFont(qreal pointSize);
QFont msSansSerifFont(qreal pointSize);

// Pure blue, the colour of the game count and its label.
inline constexpr QColor kCountTextColour = QColor(0, 0, 255);

}  // namespace ludora
