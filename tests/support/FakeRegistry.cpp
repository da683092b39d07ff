#include "support/FakeRegistry.h"

#include <cstring>

namespace ludora::test {

QByteArray FakeRegistry::path(quint32 root, const QByteArray& keyName) {
    return QByteArray::number(root, 16) + '\\' + keyName.toLower();
}

FakeRegistry::Key& FakeRegistry::key(quint32 root, const QByteArray& keyName) {
    return keys_[path(root, keyName)];
}

void FakeRegistry::addKey(quint32 root, const QByteArray& keyName) {
    key(root, keyName);
}

void FakeRegistry::setValue(quint32 root, const QByteArray& keyName, const QByteArray& valueName,
                            quint32 type, const QByteArray& data) {
    key(root, keyName).values.insert(valueName.toLower(), Value{type, data});
}

void FakeRegistry::setString(quint32 root, const QByteArray& keyName, const QByteArray& valueName,
                             const QByteArray& text) {
    QByteArray data = text;
    data.append('\0');
    setValue(root, keyName, valueName, TypeString, data);
}

void FakeRegistry::restrictAccess(quint32 root, const QByteArray& keyName, quint32 allowed) {
    key(root, keyName).allowedAccess = allowed;
}

long FakeRegistry::openKey(quint32 root, const QByteArray& keyName, quint32 access,
                           Handle* handle) {
    openAttempts_ << keyName;
    accessMasks_ << access;
    if (handle) {
        *handle = 0;
    }
    const auto found = keys_.constFind(path(root, keyName));
    if (found == keys_.constEnd()) {
        return FileNotFound;
    }
    if ((access & ~found->allowedAccess) != 0) {
        return AccessDenied;
    }
    const Handle opened = nextHandle_++;
    open_.insert(opened, found.key());
    ++openedCount_;
    if (handle) {
        *handle = opened;
    }
    return Success;
}

long FakeRegistry::queryValue(Handle handle, const QByteArray& valueName, quint32* type, char* data,
                              quint32* size) {
    const auto openKey = open_.constFind(handle);
    if (openKey == open_.constEnd()) {
        return InvalidHandle;
    }
    const Key& k = keys_[*openKey];
    const auto found = k.values.constFind(valueName.toLower());
    if (found == k.values.constEnd()) {
        return FileNotFound;
    }
    if (type) {
        *type = found->type;
    }
    const auto needed = quint32(found->data.size());
    if (!size) {
        return data ? InvalidParameter : Success;  // data without a size is a caller error
    }
    if (data && needed > *size) {
        *size = needed;
        return MoreData;
    }
    if (data && needed > 0) {
        std::memcpy(data, found->data.constData(), needed);
    }
    *size = needed;
    return Success;
}

long FakeRegistry::closeKey(Handle handle) {
    if (open_.remove(handle) == 0) {
        return InvalidHandle;
    }
    ++closedCount_;
    return Success;
}

}  // namespace ludora::test
