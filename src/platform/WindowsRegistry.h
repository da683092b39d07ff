#pragma once

#include "platform/Registry.h"

#ifdef Q_OS_WIN

namespace ludora::platform {

// The Windows registry through advapi32's RegOpenKeyExA, RegQueryValueExA and RegCloseKey.
class WindowsRegistry final : public Registry {
public:
    long openKey(quint32 root, const QByteArray& keyName, quint32 access, Handle* key) override;
    long queryValue(Handle key, const QByteArray& valueName, quint32* type, char* data,
                    quint32* size) override;
    long closeKey(Handle key) override;
};

}  // namespace ludora::platform

#endif  // Q_OS_WIN
