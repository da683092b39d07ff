#include "platform/Registry.h"

#include "platform/SystemRegistry.h"

namespace ludora::platform {

LUDORA_SYSTEM_SERVICE(Registry, SystemRegistry)

}  // namespace ludora::platform
