#pragma once

#include <QStringList>

class QObject;

namespace ludora::test {

// The controls below a window that assistive technology would read without a name: every
// button, box, list, tab, link, picture and menu entry in the accessibility tree of `root`
// whose name is empty. Controls and menu entries hidden on purpose are left out. Each is
// described by its role and object name.
QStringList unnamedControls(QObject* root);

// The roles and names of the accessibility tree below `root`, one "role: name" line per
// object, depth first, for a failure message.
QStringList accessibleOutline(QObject* root);

}  // namespace ludora::test
