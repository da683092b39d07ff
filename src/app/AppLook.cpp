#include "app/AppLook.h"

#include <QImageReader>
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

QIcon ludoraIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/ludora-%1.png").arg(size), QSize(size, size));
    }
    // The scalable drawing, where this Qt can read it.
    if (QImageReader::supportedImageFormats().contains("svg")) {
        icon.addFile(QStringLiteral(":/icons/ludora.svg"));
    }
    return icon;
}

}  // namespace ludora
