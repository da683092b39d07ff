#include "app/AppLook.h"

#include <QStringList>

namespace ludora {

namespace {

QFont fontFrom(const QStringList& families, QFont::StyleHint hint, qreal pointSize) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(pointSize);
    return font;
}

}  // namespace

QFont courierNewFont(qreal pointSize) {
    return fontFrom({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                     QStringLiteral("Cousine"), QStringLiteral("DejaVu Sans Mono")},
                    QFont::TypeWriter, pointSize);
}

QFont msSansSerifFont(qreal pointSize) {
    return fontFrom(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
         QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
        QFont::SansSerif, pointSize);
}

}  // namespace ludora
