#pragma once

#include <QByteArray>
#include <QtGlobal>

#include "platform/Replaceable.h"

namespace ludora::platform {

// The system registry, read through the same three calls as on Windows. Other systems have
// none: there it holds only where the desktop's system information program is
// (SystemRegistry.h).
class Registry {
public:
    using Handle = quintptr;

    static constexpr quint32 HKeyLocalMachine = 0x80000002u;
    static constexpr long Success = 0;
    static constexpr long FileNotFound = 2;
    static constexpr long AccessDenied = 5;
    static constexpr long MoreData = 234;
    static constexpr quint32 TypeString = 1;  // REG_SZ
    static constexpr quint32 TypeDword = 4;   // REG_DWORD

    virtual ~Registry() = default;

    // RegOpenKeyExA: 0 on success, with the key's handle in *key.
    virtual long openKey(quint32 root, const QByteArray& keyName, quint32 access, Handle* key) = 0;
    // RegQueryValueExA: *size holds the buffer size on entry and the data size on return.
    virtual long queryValue(Handle key, const QByteArray& valueName, quint32* type, char* data,
                            quint32* size) = 0;
    // RegCloseKey.
    virtual long closeKey(Handle key) = 0;
};

template <>
Registry& Replaceable<Registry>::system();
// The registry in use: the system's unless a test has put another in place.
inline Registry& registry() {
    return Replaceable<Registry>::get();
}

}  // namespace ludora::platform
