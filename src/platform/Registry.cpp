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

SystemRegistry& realRegistry() {
    static SystemRegistry instance;
    return instance;
}

Registry* installed = nullptr;

}  // namespace

Registry& registry() {
    return installed ? *installed : realRegistry();
}

void setRegistry(Registry* replacement) {
    installed = replacement;
}

}  // namespace ludora::platform
