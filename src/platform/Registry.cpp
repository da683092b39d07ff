#include "platform/Registry.h"

#ifdef Q_OS_WIN
#include "platform/WindowsRegistry.h"
#endif

namespace ludora::platform {
namespace {

#ifndef Q_OS_WIN
// Systems other than Windows have no registry: no key can be opened, so nothing is ever read.
class RegistryWithoutKeys final : public Registry {
public:
    static constexpr long InvalidHandle = 6;

    long openKey(quint32, const QByteArray&, quint32, Handle* key) override {
        if (key) {
            *key = 0;
        }
        return FileNotFound;
    }
    long queryValue(Handle, const QByteArray&, quint32*, char*, quint32*) override {
        return InvalidHandle;
    }
    long closeKey(Handle) override { return InvalidHandle; }
};
using SystemRegistry = RegistryWithoutKeys;
#else
using SystemRegistry = WindowsRegistry;
#endif

}  // namespace

template <>
Registry& Replaceable<Registry>::system() {
    static SystemRegistry instance;
    return instance;
}

}  // namespace ludora::platform
