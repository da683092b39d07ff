// Must not build: the platform layer knows no printer; printing sits above it.
#include "platform/Dialogs.h"
#include "printing/PrintService.h"
