#include "about/SysInfo.h"

#include <QStandardPaths>
#include <QWidget>

#include "platform/Dialogs.h"
#include "platform/Launcher.h"

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace ludora::sysinfo {
namespace {

const char* const kUnavailable = "System Information Is Unavailable At This Time";

#ifdef Q_OS_WIN

constexpr int kValueBufferSize = 1024;  // characters, the closing zero included

// The tool's path as the registry gives it (run unquoted and unchecked), or the folder that
// holds it followed by "\MSINFO32.EXE" when that file exists; empty when neither.
QString toolCommandLine() {
    const QString root = QStringLiteral("HKEY_LOCAL_MACHINE");
    QString path;
    if (GetKeyValue(root, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path)) {
        return path;
    }
    if (GetKeyValue(root, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"), path)) {
        path += QStringLiteral("\\MSINFO32.EXE");
        return platform::launcher().fileExists(path) ? path : QString();
    }
    return QString();
}

#else

// The first of the desktop's information programs found on PATH, as a command line the
// launcher splits again (a path with blanks in quotes); empty when none is installed.
QString toolCommandLine() {
    static const std::pair<const char*, const char*> kTools[] = {
        {"kinfocenter", ""}, {"gnome-control-center", " info-overview"}, {"hardinfo", ""}};
    for (const auto& [program, arguments] : kTools) {
        QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty()) {
            if (path.contains(u' ') || path.contains(u'"')) {
                path = u'"' + path.replace(QStringLiteral("\""), QStringLiteral("\"\"\"")) + u'"';
            }
            return path + QString::fromLatin1(arguments);
        }
    }
    return QString();
}

#endif

}  // namespace

#ifdef Q_OS_WIN
bool GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal) {
    const QSettings key(KeyRoot + u'\\' + KeyName, QSettings::NativeFormat);
    const QVariant value = key.value(SubKeyRef);
    KeyVal = value.isValid() ? value.toString() : QString();
    if (!value.isValid() || KeyVal.size() >= kValueBufferSize) {
        KeyVal.clear();
        return false;
    }
    return true;
}
#endif

void StartSysInfo(QWidget* parent) {
    const QString commandLine = toolCommandLine();
    if (commandLine.isEmpty() || !platform::launcher().startProgram(commandLine, false)) {
        platform::inform(parent, QString::fromLatin1(kUnavailable));
    }
}

}  // namespace ludora::sysinfo
