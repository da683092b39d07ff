// Must not build: the helpers every window shares know nothing of dialogs or launching.
#include "platform/Dialogs.h"
