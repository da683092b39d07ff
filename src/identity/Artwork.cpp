#include "identity/Artwork.h"

namespace ludora {

QIcon ludoraIcon() {
    // Each size is read at start-up, once for the program and its windows, so the big ones
    // (for menus and launchers) stay with the installed icon theme.
    static const QIcon icon = [] {
        QIcon sizes;
        for (int size : {16, 32, 48, 64}) {
            sizes.addFile(QStringLiteral(":/icons/ludora-%1.png").arg(size), QSize(size, size));
        }
        return sizes;
    }();
    return icon;
}

QPixmap ludoraLogo() {
    return QPixmap(QStringLiteral(":/icons/logo-78x81.png"));
}

}  // namespace ludora
