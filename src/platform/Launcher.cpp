#include "platform/Launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace ludora::platform {
namespace {

// An opener still running after this long has shown the document; its later end (it may
// wait for the browser it started) says nothing about the opening.
constexpr qint64 kShownAfterMs = 10000;

class DesktopLauncher final : public Launcher {
public:
    void openUrl(const QUrl& url, std::function<void()> failed) override {
        if (!failed) {
            failed = [] {};
        }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        // Qt hands the address to xdg-open without waiting for it, so an xdg-open that finds
        // no program (exit status 3 or 4) would go unnoticed: it is watched here instead.
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (!opener.isEmpty()) {
            auto* process = new QProcess(QCoreApplication::instance());
            process->setProcessChannelMode(QProcess::ForwardedChannels);
            QElapsedTimer clock;
            clock.start();
            QObject::connect(process, &QProcess::finished, process,
                             [process, failed, clock](int code, QProcess::ExitStatus status) {
                                 if ((status != QProcess::NormalExit || code != 0) &&
                                     clock.elapsed() < kShownAfterMs) {
                                     failed();
                                 }
                                 process->deleteLater();
                             });
            QObject::connect(process, &QProcess::errorOccurred, process,
                             [process, failed](QProcess::ProcessError error) {
                                 if (error == QProcess::FailedToStart) {
                                     failed();
                                     process->deleteLater();
                                 }
                             });
            process->start(
                opener, {url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
            return;
        }
#endif
        if (!QDesktopServices::openUrl(url)) {
            failed();
        }
    }

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
