#pragma once

#include <QString>

class QWidget;

namespace ludora::sysinfo {

// Starts the system's information program, or tells the user "System Information Is
// Unavailable At This Time" when there is none or it cannot be started.
//
// On Windows that is msinfo32, found through the registry as Windows' own About boxes find
// it: the tool's path, or else the folder that holds MSINFO32.EXE. Elsewhere it is the first
// of the desktop's information programs found on PATH: KDE's Info Center (kinfocenter),
// GNOME's About panel (gnome-control-center info-overview), the profiler hardinfo.
void StartSysInfo(QWidget* parent);

#ifdef Q_OS_WIN
// Reads the text of the value SubKeyRef of the registry key KeyName below KeyRoot
// ("HKEY_LOCAL_MACHINE") into KeyVal. False, with KeyVal emptied, when the key or the value
// is missing, or the value is longer than 1023 characters.
bool GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal);
#endif

}  // namespace ludora::sysinfo
