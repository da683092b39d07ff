#pragma once

#include <QString>
#include <QUrl>
#include <functional>

#include "platform/Replaceable.h"

namespace ludora::platform {

// Starting other programs and opening documents, without a shell and without waiting.
class Launcher {
public:
    virtual ~Launcher() = default;

    // Opens a document or web address with the desktop's default program, without waiting.
    // `failed`, when given, is called on this thread when nothing could show it: no opener
    // could be started, or the opener gave up (it found no program for the document).
    virtual void openUrl(const QUrl& url, std::function<void()> failed) = 0;

    // Runs a program from a command line, without a shell. On Windows the whole command line
    // is the program's path (nothing is split or quoted); elsewhere it is the program
    // followed by its arguments, split at blanks outside double quotes. Returns false when
    // it cannot be started.
    virtual bool startProgram(const QString& commandLine, bool hiddenWindow) = 0;

    // Whether an ordinary file exists at the path.
    virtual bool fileExists(const QString& path) = 0;
};

template <>
Launcher& Replaceable<Launcher>::system();
// The launcher in use: the desktop's unless a test has put another in place.
inline Launcher& launcher() {
    return Replaceable<Launcher>::get();
}

}  // namespace ludora::platform
