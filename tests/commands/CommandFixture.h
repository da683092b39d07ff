#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "collection/Collection.h"
#include "fixtures/Names.h"

namespace ludora::test {

// The collection the command tests start from: Alpha on N64, Gamma on TG16, and Zeta on a
// sixth tab captioned "Custom".
inline void fillSample(Collection& c) {
    c.addName(0, QStringLiteral("Alpha"));
    c.addName(2, QStringLiteral("Gamma"));
    c.setCaption(5, QStringLiteral("Custom"));
    c.addName(5, QStringLiteral("Zeta"));
}

// The file that holds the sample collection, spelt out byte for byte.
inline QByteArray sampleFileBytes() {
    QByteArray bytes = "N64\r\nJAGUAR\r\nTG16\r\nUserDef3\r\nUserDef4\r\nCustom\r\n";
    for (int tab = 6; tab < 25; ++tab) {
        bytes += "UserDef" + QByteArray::number(tab) + "\r\n";
    }
    bytes += "N64      Alpha\r\nTG16     Gamma\r\nCustom   Zeta\r\n\x1a\r\n";
    return bytes;
}

// Another collection file, with its own caption on tab 3 and names on tabs 1 and 3.
inline QByteArray otherFileBytes() {
    QByteArray bytes = "N64\r\nJAGUAR\r\nTG16\r\nSNES\r\n";
    for (int tab = 4; tab < 25; ++tab) {
        bytes += "UserDef" + QByteArray::number(tab) + "\r\n";
    }
    bytes += "JAGUAR   Tempest 2000\r\nSNES     Zelda\r\nSNES     F-Zero\r\n\x1a\r\n";
    return bytes;
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every list of the collection as "caption: name, name" lines, for comparing whole states.
inline QStringList snapshot(const Collection& c) {
    QStringList lines;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        lines << c.caption(tab) + QStringLiteral(": ") + namesOf(c, tab).join(QStringLiteral(", "));
    }
    return lines;
}

}  // namespace ludora::test
