#include "about/SysInfo.h"

#include <QByteArray>
#include <QWidget>
#include <algorithm>
#include <array>

#include "platform/Dialogs.h"
#include "platform/Launcher.h"
#include "platform/Registry.h"

namespace ludora::sysinfo {
namespace {

using platform::Registry;

const char* const kToolPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kToolPathValue = "PATH";
const char* const kToolFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const kToolFolderValue = "MSINFO";
const char* const kToolFileName = "\\MSINFO32.EXE";
const char* const kUnavailable = "System Information Is Unavailable At This Time";

// Closes an opened key however the reading ends.
class OpenKey {
public:
    explicit OpenKey(Registry::Handle handle) : handle_(handle) {}
    ~OpenKey() { platform::registry().closeKey(handle_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    Registry::Handle handle() const { return handle_; }

private:
    Registry::Handle handle_;
};

// A program that does not start counts as the tool being unavailable.
void run(const QString& commandLine) {
    if (!platform::launcher().startProgram(commandLine, false)) {
        throw std::runtime_error("the program could not be started");
    }
}

}  // namespace

bool GetKeyValue(quint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal) {
    Registry& registry = platform::registry();
    Registry::Handle handle = 0;
    if (registry.openKey(KeyRoot, KeyName.toLocal8Bit(), kKeyAccess, &handle) !=
        Registry::Success) {
        KeyVal.clear();
        return false;
    }
    const OpenKey key(handle);

    std::array<char, kValueBufferSize> buffer{};
    quint32 size = kValueBufferSize;
    quint32 type = 0;
    if (registry.queryValue(key.handle(), SubKeyRef.toLocal8Bit(), &type, buffer.data(), &size) !=
        Registry::Success) {
        KeyVal.clear();
        return false;
    }

    // The text is everything before the first zero byte of the buffer.
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    if (end == buffer.end()) {
        throw KeyValueError("registry value without a closing zero byte");
    }
    const QByteArray text(buffer.data(), end - buffer.begin());

    switch (type) {
        case Registry::TypeString:
            KeyVal = QString::fromLocal8Bit(text);
            break;
        case Registry::TypeDword: {
            // Four bytes, least significant first.
            quint32 number = 0;
            for (int i = 3; i >= 0; --i) {
                number = (number << 8) | static_cast<unsigned char>(buffer[std::size_t(i)]);
            }
            KeyVal = QString::number(number);
            break;
        }
        default:
            break;  // other types are left as they were
    }
    return true;
}

void StartSysInfo(QWidget* parent) {
    try {
        QString SysInfoPath;
        // The path of the tool itself: run as it stands, without looking for it first.
        if (GetKeyValue(Registry::HKeyLocalMachine, QString::fromLatin1(kToolPathKey),
                        QString::fromLatin1(kToolPathValue), SysInfoPath)) {
            run(SysInfoPath);
            return;
        }
        // Otherwise the folder that holds it.
        if (GetKeyValue(Registry::HKeyLocalMachine, QString::fromLatin1(kToolFolderKey),
                        QString::fromLatin1(kToolFolderValue), SysInfoPath)) {
            const QString toolPath = SysInfoPath + QString::fromLatin1(kToolFileName);
            if (platform::launcher().fileExists(toolPath)) {
                run(toolPath);
                return;
            }
        }
    } catch (const std::exception&) {
        // Any failure on the way ends in the same message.
    }
    platform::inform(parent, QString::fromLatin1(kUnavailable));
}

}  // namespace ludora::sysinfo
