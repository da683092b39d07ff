#pragma once

#include <QString>
#include <QtGlobal>
#include <stdexcept>

class QWidget;

namespace ludora::sysinfo {

// Raised when a registry value cannot be turned into text (its data fill the whole buffer
// without a closing zero byte). StartSysInfo turns it into its message.
class KeyValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Access asked for when a key is opened: standard read rights plus query value, set value,
// create subkey, enumerate subkeys, notify and create link.
inline constexpr quint32 kKeyAccess = 0x2003Fu;
inline constexpr int kValueBufferSize = 1024;

// Reads the value SubKeyRef of the key KeyName below the root KeyRoot into KeyVal.
// Text values are returned as they stand, 32-bit numbers as decimal text; a value of any
// other type leaves KeyVal as it was. Returns false, with KeyVal emptied, when the key
// cannot be opened or the value cannot be read (missing, or larger than the buffer).
// Throws KeyValueError when the data hold no zero byte. The key is always closed again.
bool GetKeyValue(quint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal);

// Finds the system information tool through the registry and starts it; when that fails
// in any way, tells the user "System Information Is Unavailable At This Time". On Linux the
// registry's answer is the first of kinfocenter, gnome-control-center info-overview and
// hardinfo found on PATH: the list is kSystemInfoTools in platform/DesktopRegistry.cpp.
void StartSysInfo(QWidget* parent);

}  // namespace ludora::sysinfo
