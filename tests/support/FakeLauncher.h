#pragma once

#include <QSet>
#include <QStringList>
#include <QUrl>

#include "platform/Launcher.h"

namespace ludora::test {

// Records what the program asks to start or open; nothing is started.
class FakeLauncher final : public platform::Replaceable<platform::Launcher>::Replacement {
public:
    void openUrl(const QUrl& url, std::function<void()> failed) override {
        openedUrls << url;
        if (!openSucceeds && failed) {
            failed();
        }
    }
    bool startProgram(const QString& commandLine, bool hiddenWindow) override {
        started << commandLine;
        startedHidden << hiddenWindow;
        return startSucceeds.contains(commandLine);
    }
    bool fileExists(const QString& path) override {
        testedFiles << path;
        return existingFiles.contains(path);
    }

    QList<QUrl> openedUrls;
    QStringList started;
    QList<bool> startedHidden;
    QStringList testedFiles;
    bool openSucceeds = true;
    QSet<QString> startSucceeds;  // command lines that start; any other fails
    QSet<QString> existingFiles;
};

}  // namespace ludora::test
