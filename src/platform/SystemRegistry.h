#pragma once

#include <QString>

#include "platform/Registry.h"

namespace ludora::platform {

// The system's registry. On Windows, the registry itself through advapi32's RegOpenKeyExA,
// RegQueryValueExA and RegCloseKey (WindowsRegistry.cpp).
//
// Other systems have none (DesktopRegistry.cpp). There it holds one value, the one the
// About box reads for the path of the system information tool (HKEY_LOCAL_MACHINE, key
// "SOFTWARE\Microsoft\Shared Tools\MSINFO", value "PATH"), and only while the desktop has
// such a program: the first of these found on PATH, in this order,
//   1. kinfocenter                          KDE's Info Center,
//   2. gnome-control-center info-overview   GNOME's About panel in its settings program,
//   3. hardinfo                             a system profiler for any desktop.
// The value is a command line, the program's full path (quoted when it holds blanks)
// followed by its arguments, which the launcher splits again and starts without a shell.
// The About box then starts it as it would start Windows' tool, and says the tool is
// unavailable when none is installed. Every other key is missing.
class SystemRegistry final : public Registry {
public:
    long openKey(quint32 root, const QByteArray& keyName, quint32 access, Handle* key) override;
    long queryValue(Handle key, const QByteArray& valueName, quint32* type, char* data,
                    quint32* size) override;
    long closeKey(Handle key) override;

#ifndef Q_OS_WIN
private:
    static constexpr Handle kToolKey = 1;
    static constexpr long InvalidHandle = 6;
    QString commandLine_;  // read when the key is opened
#endif
};

}  // namespace ludora::platform
