#pragma once

#include "platform/Registry.h"

#ifndef Q_OS_WIN

#include <QString>

namespace ludora::platform {

// The registry on systems that have none. It holds one value, the one the About box reads
// for the path of the system information tool (HKEY_LOCAL_MACHINE, key
// "SOFTWARE\Microsoft\Shared Tools\MSINFO", value "PATH"), and only while the desktop has
// such a program: the first of these found on PATH, in this order,
//   1. kinfocenter                          KDE's Info Center,
//   2. gnome-control-center info-overview   GNOME's About panel in its settings program,
//   3. hardinfo                             a system profiler for any desktop.
// The value is a command line, the program's full path (quoted when it holds blanks)
// followed by its arguments, which the launcher splits again and starts without a shell.
// The About box then starts it as it would start Windows' tool, and says the tool is
// unavailable when none is installed. Every other key is missing.
class DesktopRegistry final : public Registry {
public:
    long openKey(quint32 root, const QByteArray& keyName, quint32 access, Handle* key) override;
    long queryValue(Handle key, const QByteArray& valueName, quint32* type, char* data,
                    quint32* size) override;
    long closeKey(Handle key) override;

private:
    static constexpr Handle kToolKey = 1;
    static constexpr long InvalidHandle = 6;
    QString commandLine_;  // read when the key is opened
};

}  // namespace ludora::platform

#endif  // !Q_OS_WIN
