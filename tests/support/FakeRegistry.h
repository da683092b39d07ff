#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>

#include "platform/Registry.h"

namespace ludora::test {

// An in-memory registry. Keys hold values of any type as raw bytes; key and value names
// compare without regard to letter case, as on Windows. Every key opened and closed is
// recorded, so a test can check that nothing is left open.
class FakeRegistry final : public platform::Replaceable<platform::Registry>::Replacement {
public:
    static constexpr long InvalidHandle = 6;
    static constexpr long InvalidParameter = 87;
    // Read access only: standard read rights, query value, enumerate subkeys, notify.
    static constexpr quint32 ReadOnlyAccess = 0x20019u;

    void addKey(quint32 root, const QByteArray& keyName);
    // Stores the bytes exactly as given (no zero byte is added).
    void setValue(quint32 root, const QByteArray& keyName, const QByteArray& valueName,
                  quint32 type, const QByteArray& data);
    // A REG_SZ value stored with its closing zero byte, as Windows stores text.
    void setString(quint32 root, const QByteArray& keyName, const QByteArray& valueName,
                   const QByteArray& text);
    // The key grants only the rights in `allowed`; asking for any other gives AccessDenied.
    void restrictAccess(quint32 root, const QByteArray& keyName, quint32 allowed = ReadOnlyAccess);

    // Key names in the order they were asked for, opened or not.
    const QList<QByteArray>& openAttempts() const { return openAttempts_; }
    int openedCount() const { return openedCount_; }
    int closedCount() const { return closedCount_; }
    // Handles opened and not yet closed.
    int openHandles() const { return int(open_.size()); }
    // Access masks asked for, one per open attempt.
    const QList<quint32>& accessMasks() const { return accessMasks_; }

    long openKey(quint32 root, const QByteArray& keyName, quint32 access, Handle* key) override;
    long queryValue(Handle key, const QByteArray& valueName, quint32* type, char* data,
                    quint32* size) override;
    long closeKey(Handle key) override;

private:
    struct Value {
        quint32 type = 0;
        QByteArray data;
    };
    struct Key {
        QMap<QByteArray, Value> values;  // by lower-case name
        quint32 allowedAccess = 0xFFFFFFFFu;
    };
    static QByteArray path(quint32 root, const QByteArray& keyName);
    Key& key(quint32 root, const QByteArray& keyName);

    QHash<QByteArray, Key> keys_;     // by root and lower-case key name
    QHash<Handle, QByteArray> open_;  // handle to key path
    Handle nextHandle_ = 0x100;
    QList<QByteArray> openAttempts_;
    QList<quint32> accessMasks_;
    int openedCount_ = 0;
    int closedCount_ = 0;
};

}  // namespace ludora::test
