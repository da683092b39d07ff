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
#ifdef Q_OS_WIN
        const QStringList words{commandLine};
#else
        QStringList words = QProcess::splitCommand(commandLine);
#endif
        if (words.isEmpty() || words.constFirst().isEmpty()) {
            return false;
        }
        const QString program = words.takeFirst();
        return QProcess::startDetached(program, words);
    }

    bool fileExists(const QString& path) override {
        return QFileInfo(path).isFile();
    }
};

}  // namespace

template <>
Launcher& Replaceable<Launcher>::system() {
    static DesktopLauncher service;
    return service;
}

}  // namespace ludora::platform
