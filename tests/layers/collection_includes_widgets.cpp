// Must not build: the collection links Qt Core only.
#include <QWidget>

#include "collection/Collection.h"
