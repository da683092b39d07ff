#include "app/ToolbarIcons.h"

#include <QHash>

// The pictures are compiled into this library, which nothing else refers to; ask for them
// by name so that the linker keeps them.
static void initToolbarResources() {
    Q_INIT_RESOURCE(toolbar);
}

namespace ludora {

QIcon toolbarIcon(const QString& key) {
    static const bool resourcesReady = (initToolbarResources(), true);
    Q_UNUSED(resourcesReady);
    static const QHash<QString, QString> themeNames = {
        {QStringLiteral("Open"), QStringLiteral("document-open")},
        {QStringLiteral("Save"), QStringLiteral("document-save-as")},
        {QStringLiteral("Print"), QStringLiteral("document-print")},
    };
    const QIcon own(QStringLiteral(":/toolbar/%1.png").arg(key.toLower()));
    const QString themeName = themeNames.value(key);
    return themeName.isEmpty() ? own : QIcon::fromTheme(themeName, own);
}

}  // namespace ludora
