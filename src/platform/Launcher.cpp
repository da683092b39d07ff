#include "platform/Launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>

namespace ludora::platform {
namespace {

class DesktopLauncher final : public Launcher {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }

    bool startProgram(const QString& commandLine, bool /*hiddenWindow*/) override {
        // Desktop programs here have no console window to hide.
        if (commandLine.isEmpty()) {
            return false;
        }
        return QProcess::startDetached(commandLine, QStringList());
    }

    bool fileExists(const QString& path) override { return QFileInfo(path).isFile(); }
};

}  // namespace

template <>
Launcher& Replaceable<Launcher>::system() {
    static DesktopLauncher instance;
    return instance;
}

}  // namespace ludora::platform
