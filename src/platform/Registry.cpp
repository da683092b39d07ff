#include "platform/Registry.h"

#ifdef Q_OS_WIN
#include "platform/WindowsRegistry.h"
#else
#include "platform/DesktopRegistry.h"
#endif

namespace ludora::platform {
namespace {

#ifdef Q_OS_WIN
using SystemRegistry = WindowsRegistry;
#else
using SystemRegistry = DesktopRegistry;
#endif

}  // namespace

template <>
Registry& Replaceable<Registry>::system() {
    static SystemRegistry instance;
    return instance;
}

}  // namespace ludora::platform
