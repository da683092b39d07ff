#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QSet>
#include <QTest>

#include "CollectionTestSupport.h"
#include "collection/CaptionKeys.h"
#include "fixtures/TestData.h"

namespace ludora::test {

QStringList entriesOf(const Collection& collection, int tab) {
    QStringList entries = namesOf(collection, tab);
    // The selection read once: asked row by row, each row would look through every range.
    if (const QItemSelectionModel* selection = collection.selectionModel(tab)) {
        for (const QModelIndex& index : selection->selectedRows()) {
            entries[index.row()].prepend(u'*');
        }
    }
    return entries;
}

QStringList captionsOf(const Collection& collection) {
    QStringList captions;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        captions << collection.caption(tab);
    }
    return captions;
}

QMap<int, QStringList> listsOf(const Collection& collection) {
    QMap<int, QStringList> lists;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (collection.count(tab) > 0) {
            lists.insert(tab, namesOf(collection, tab));
        }
    }
    return lists;
}

QByteArray writeToBytes(const Collection& collection) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const WriteResult result = WriteCollectionFile(collection, buffer, QStringLiteral("memory"));
    if (!result.ok) {
        QTest::qFail(qPrintable(QStringLiteral("writing to memory failed: ") + result.error),
                     __FILE__, __LINE__);
    }
    return bytes;
}

ReadResult readFromBytes(Collection& collection, const QByteArray& bytes, qint64 piece) {
    QByteArray copy = bytes;
    if (piece > 0) {
        TrickleBuffer buffer(&copy, piece);
        buffer.open(QIODevice::ReadOnly);
        return ReadCollectionFile(collection, buffer, QStringLiteral("memory"));
    }
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadCollectionFile(collection, buffer, QStringLiteral("memory"));
}

QList<QByteArray> defaultCaptionLines() {
    QList<QByteArray> lines{"N64", "JAGUAR", "TG16"};
    for (int tab = 3; tab < 25; ++tab) {
        lines << "UserDef" + QByteArray::number(tab);
    }
    return lines;
}

QByteArray crlf(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

QByteArray fileWithNames(const QList<QByteArray>& nameLines) {
    return crlf(defaultCaptionLines() + nameLines + QList<QByteArray>{"\x1A"});
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return file.readAll();
}

void putFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    if (!written) {
        QTest::qFail(qPrintable(QStringLiteral("could not write ") + path), __FILE__, __LINE__);
    }
}

QString dataFile(const QString& name) {
    return QStringLiteral(LUDORA_TEST_DATA_DIR "/") + name;
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

QString randomText(QRandomGenerator& rng, QStringView alphabet, int minLength, int maxLength) {
    const int length = minLength + int(rng.bounded(maxLength - minLength + 1));
    QString text;
    for (int i = 0; i < length; ++i) {
        text += alphabet.at(rng.bounded(int(alphabet.size())));
    }
    return text;
}

void fillRandom(Collection& collection, quint32 seed, bool nonWestern, int maxPerList) {
    QRandomGenerator rng(seed);
    // Letters of both cases, digits, blanks, punctuation, Western letters and the five
    // characters of the bytes Windows-1252 leaves unassigned.
    QString alphabet = QStringLiteral(
        "aAbBcCxXyYzZ09 -:'!\t\u00e9\u00c9\u00fc\u00dc\u00df"
        "\u20ac\u0152\u0153\u0081\u008d\u008f\u0090\u009d");
    if (nonWestern) {
        alphabet += QStringLiteral("\u30bc\u30eb\u30c0\u306e\u4f1d\u8aac\u0416\u03a9");
    }
    QSet<QString> keys;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (tab >= Collection::kFirstUserTab) {
            QString caption;
            do {
                caption = randomText(rng, alphabet, 0, 14);
            } while (keys.contains(CaptionKeys::keyOf(caption)));
            collection.setCaption(tab, caption);
        }
        keys.insert(CaptionKeys::keyOf(collection.caption(tab)));
    }
    auto startsWithKey = [&keys](const QString& name) {
        for (const QString& key : keys) {
            if (name.startsWith(key)) {
                return true;
            }
        }
        return false;
    };
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const int count = int(rng.bounded(maxPerList + 1));
        for (int i = 0; i < count; ++i) {
            QString name;
            const quint32 kind = rng.bounded(10);
            if (kind == 0) {
                name = QString();  // an empty name
            } else if (kind == 1 && collection.count(tab) > 0) {
                // Equal to a name already there but for letter case.
                const QString other =
                    collection.nameAt(tab, int(rng.bounded(collection.count(tab))));
                name = rng.bounded(2) ? other.toUpper() : other.toLower();
            } else {
                name = randomText(rng, alphabet, 1, 24);
            }
            if (!startsWithKey(name)) {
                collection.addName(tab, name);
            }
        }
    }
    if (nonWestern) {
        collection.addName(0, QStringLiteral("\u30bc\u30eb\u30c0\u306e\u4f1d\u8aac"));
    }
}

qint64 FailingBuffer::readData(char* data, qint64 maxSize) {
    if (passed_ >= limit_) {
        setErrorString(QString::fromLatin1(kFailingBufferReason));
        return -1;
    }
    const qint64 got = QBuffer::readData(data, std::min(maxSize, limit_ - passed_));
    passed_ += std::max<qint64>(got, 0);
    return got;
}

qint64 FailingBuffer::writeData(const char* data, qint64 size) {
    if (passed_ + size > limit_) {
        setErrorString(QString::fromLatin1(kFailingBufferReason));
        return -1;
    }
    passed_ += size;
    return QBuffer::writeData(data, size);
}

}  // namespace ludora::test
