#pragma once

// Helpers shared by the reliability tests: files, folders and whole-collection comparisons.

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "fixtures/TestData.h"

namespace ludora::test {

// A file of the bad-input table kept in the tests' data folder.
inline QString badFile(const QString& name) {
    return QStringLiteral(LUDORA_TEST_DATA_DIR "/bad/") + name;
}

// The bytes the program writes for the collection: equal bytes mean equal captions and
// equal lists, so this compares whole collections of any size.
inline QByteArray collectionBytes(const Collection& collection) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const WriteResult written = WriteCollectionFile(collection, buffer, QStringLiteral("memory"));
    return written.ok ? bytes : QByteArray("<cannot write: ") + written.error.toUtf8() + '>';
}

// The names of a list in code-unit order: what was loaded, whatever the list's own order.
inline QStringList sortedNames(const Collection& collection, int tab) {
    QStringList names;
    names.reserve(collection.count(tab));
    for (int pos = 0; pos < collection.count(tab); ++pos) {
        names << collection.nameAt(tab, pos);
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline QStringList captions(const Collection& collection) {
    QStringList result;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        result << collection.caption(tab);
    }
    return result;
}

// Every entry of a folder but the given file: what a save left lying around.
inline QStringList entriesBeside(const QString& file) {
    const QFileInfo info(file);
    QStringList entries =
        info.dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    entries.removeAll(info.fileName());
    return entries;
}

}  // namespace ludora::test
