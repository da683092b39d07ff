// Must not build: the collection knows no layer above it.
#include "collection/Collection.h"
#include "commands/FileCommands.h"
