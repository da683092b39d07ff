#pragma once

#include <QString>

#include "identity/Version.h"

namespace ludora {

// The program's name and version, in one place for every window and tool.
struct AppIdentity {
    static constexpr const char* title = "Ludora";
    static constexpr int major = version::kMajor;
    static constexpr int minor = version::kMinor;
    static constexpr int revision = version::kRevision;
    static constexpr const char* helpBaseName = "Ldhelp";
    static constexpr const char* homePage = version::kHomePage;

    static QString titleText() { return QString::fromLatin1(title); }

    // "2.0.1": plain decimal numbers, no leading zeros.
    static QString versionText(int major_ = major, int minor_ = minor, int revision_ = revision) {
        return QStringLiteral("%1.%2.%3").arg(major_).arg(minor_).arg(revision_);
    }
};

}  // namespace ludora
