#include "platform/SystemRegistry.h"

#ifndef Q_OS_WIN

#include <QStandardPaths>
#include <cstring>

namespace ludora::platform {
namespace {

struct Tool {
    const char* program;
    const char* argument;  // nullptr: none
};

// In the order they are looked for.
constexpr Tool kSystemInfoTools[] = {
    {"kinfocenter", nullptr},
    {"gnome-control-center", "info-overview"},
    {"hardinfo", nullptr},
};

const QByteArray kToolKeyName = "software\\microsoft\\shared tools\\msinfo";
const QByteArray kToolValueName = "path";

// A word the launcher splits back out as it stands (QProcess::splitCommand's quoting).
QString quoted(QString word) {
    if (!word.contains(QLatin1Char(' ')) && !word.contains(QLatin1Char('"'))) {
        return word;
    }
    word.replace(QLatin1String("\""), QLatin1String("\"\"\""));
    return QLatin1Char('"') + word + QLatin1Char('"');
}

// The command line of the desktop's system information program; empty when it has none.
QString systemInfoCommandLine() {
    for (const Tool& tool : kSystemInfoTools) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool.program));
        if (path.isEmpty()) {
            continue;
        }
        QString commandLine = quoted(path);
        if (tool.argument) {
            commandLine += QLatin1Char(' ') + QString::fromLatin1(tool.argument);
        }
        return commandLine;
    }
    return QString();
}

}  // namespace

long SystemRegistry::openKey(quint32 root, const QByteArray& keyName, quint32, Handle* key) {
    *key = 0;
    // Key names, like value names, compare without regard to letter case.
    if (root != HKeyLocalMachine || keyName.toLower() != kToolKeyName) {
        return FileNotFound;
    }
    commandLine_ = systemInfoCommandLine();
    if (commandLine_.isEmpty()) {
        return FileNotFound;
    }
    *key = kToolKey;
    return Success;
}

long SystemRegistry::queryValue(Handle key, const QByteArray& valueName, quint32* type, char* data,
                                quint32* size) {
    if (key != kToolKey) {
        return InvalidHandle;
    }
    if (valueName.toLower() != kToolValueName) {
        return FileNotFound;
    }
    const QByteArray text = commandLine_.toLocal8Bit();
    const auto needed = quint32(text.size() + 1);  // with its closing zero byte
    if (needed > *size) {
        *size = needed;
        return MoreData;
    }
    std::memcpy(data, text.constData(), needed);
    *type = TypeString;
    *size = needed;
    return Success;
}

long SystemRegistry::closeKey(Handle key) {
    return key == kToolKey ? Success : InvalidHandle;
}

}  // namespace ludora::platform

#endif  // !Q_OS_WIN
