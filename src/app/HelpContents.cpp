#include "app/HelpContents.h"

#include <QDir>
#include <QPointer>
#include <QUrl>

#include "identity/AppIdentity.h"
#include "platform/Dialogs.h"
#include "platform/Launcher.h"

namespace ludora {

namespace {

QString helpFileName() {
    return QString::fromLatin1(AppIdentity::helpBaseName) + ".html";
}

}  // namespace

QStringList helpFileCandidates(const QString& programDir) {
    const QDir dir(programDir);
    return {
        QDir::cleanPath(dir.filePath(helpFileName())),
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/ludora/help/") + helpFileName()))};
}

QString findHelpFile(const QString& programDir) {
    for (const QString& path : helpFileCandidates(programDir)) {
        if (platform::launcher().fileExists(path)) {
            return path;
        }
    }
    return QString();
}

void showHelpContents(QWidget* parent, const QString& programDir) {
    const QString path = findHelpFile(programDir);
    if (path.isEmpty()) {
        platform::inform(
            parent,
            QObject::tr("The help document \"%1\" cannot be found. It was looked "
                        "for in:\n%2")
                .arg(helpFileName(), helpFileCandidates(programDir).join(QLatin1Char('\n'))),
            platform::Icon::Warning);
        return;
    }
    platform::launcher().openUrl(QUrl::fromLocalFile(path), [parent = QPointer(parent), path] {
        platform::inform(parent,
                         QObject::tr("The help document \"%1\" could not be opened: no program "
                                     "to show it was found.")
                             .arg(QDir::toNativeSeparators(path)),
                         platform::Icon::Warning);
    });
}

}  // namespace ludora
