#include "platform/SystemRegistry.h"

#ifdef Q_OS_WIN

#include <windows.h>

namespace ludora::platform {
namespace {

// Predefined roots such as HKEY_LOCAL_MACHINE are 32-bit values sign-extended to a handle.
HKEY rootHandle(quint32 root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY keyHandle(Registry::Handle key) {
    return reinterpret_cast<HKEY>(key);
}

}  // namespace

long SystemRegistry::openKey(quint32 root, const QByteArray& keyName, quint32 access, Handle* key) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootHandle(root), keyName.constData(), 0,
                                      static_cast<REGSAM>(access), &opened);
    if (key) {
        *key = result == ERROR_SUCCESS ? reinterpret_cast<Handle>(opened) : 0;
    }
    return result;
}

long SystemRegistry::queryValue(Handle key, const QByteArray& valueName, quint32* type, char* data,
                                quint32* size) {
    DWORD valueType = 0;
    DWORD dataSize = size ? static_cast<DWORD>(*size) : 0;
    const LONG result =
        RegQueryValueExA(keyHandle(key), valueName.constData(), nullptr, &valueType,
                         reinterpret_cast<LPBYTE>(data), size ? &dataSize : nullptr);
    if (type) {
        *type = static_cast<quint32>(valueType);
    }
    if (size) {
        *size = static_cast<quint32>(dataSize);
    }
    return result;
}

long SystemRegistry::closeKey(Handle key) {
    return RegCloseKey(keyHandle(key));
}

}  // namespace ludora::platform

#endif  // Q_OS_WIN
