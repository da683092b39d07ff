#include "platform/Registry.h"

#include "platform/SystemRegistry.h"

namespace ludora::platform {

template <>
Registry& Replaceable<Registry>::system() {
    static SystemRegistry service;
    return service;
}

}  // namespace ludora::platform
