#include "collection/CollectionFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "collection/CollectionLineReader.h"
#include "collection/Windows1252.h"

namespace ludora {
namespace {

constexpr int kKeyLength = 9;
constexpr qsizetype kFlushSize = 1 << 20;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kEndMarkLine[] = "\x1A\r\n";

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// Adds one name line to the lists: the text goes to the first tab, from `from` on, whose key
// begins it; the rest of the text after that key is tried on the later tabs in turn.
void distribute(QStringView text, const std::array<QString, Collection::kTabCount>& keys,
                std::array<NameStore, Collection::kTabCount>& batches) {
    int from = 0;
    while (text.size() >= kKeyLength && from < Collection::kTabCount) {
        const QStringView head = text.left(kKeyLength);
        int tab = from;
        while (tab < Collection::kTabCount && head != QStringView(keys[size_t(tab)])) {
            ++tab;
        }
        if (tab == Collection::kTabCount) {
            return;
        }
        text = text.mid(kKeyLength);
        batches[size_t(tab)].append(text);
        from = tab + 1;
    }
}

bool fitsWindows1252(const Collection& collection) {
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const ConsoleList& list = collection.list(tab);
        if (!windows1252::canEncode(list.caption)) {
            return false;
        }
        for (qsizetype pos = 0; pos < list.names.size(); ++pos) {
            if (!windows1252::canEncode(list.names.at(pos))) {
                return false;
            }
        }
    }
    return true;
}

class Encoder {
public:
    explicit Encoder(bool utf8) : utf8_(utf8) {}
    void append(QStringView text, QByteArray& out) const {
        if (utf8_) {
            out.append(text.toUtf8());
        } else {
            windows1252::encode(text, out);
        }
    }

private:
    bool utf8_;
};

}  // namespace

qsizetype ReadResult::refusedTotal() const {
    qsizetype total = 0;
    for (const qsizetype n : refused) {
        total += n;
    }
    return total;
}

QString ReadResult::refusedMessage(const Collection& collection) const {
    QStringList parts;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (refused[size_t(tab)] > 0) {
            parts << QStringLiteral("%1 names of the list \"%2\"")
                         .arg(refused[size_t(tab)])
                         .arg(collection.caption(tab));
        }
    }
    if (parts.isEmpty()) {
        return QString();
    }
    return QStringLiteral("A list holds at most %1 names. These were not loaded: %2.")
        .arg(Collection::kMaxNames)
        .arg(parts.join(QStringLiteral("; ")));
}

ReadResult ReadCollectionFile(Collection& collection, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult result;
        result.error = QStringLiteral("Could not open \"%1\": %2").arg(shown(path), file.errorString());
        return result;
    }
    return ReadCollectionFile(collection, file, path);
}

ReadResult ReadCollectionFile(Collection& collection, QIODevice& device, const QString& displayName) {
    ReadResult result;
    CollectionLineReader reader(device);
    QString line;
    std::array<QString, Collection::kTabCount> keys;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (!reader.readLine(line)) {
            if (reader.failed()) {
                result.error = QStringLiteral("Could not read \"%1\": %2")
                                   .arg(shown(displayName), reader.errorString());
            } else {
                result.error = QStringLiteral(
                                   "\"%1\" is not a Ludora collection: it has %2 lines, fewer "
                                   "than the 25 lines that hold the tab captions.")
                                   .arg(shown(displayName))
                                   .arg(tab);
            }
            return result;
        }
        // The first three tabs always keep their own captions.
        collection.setCaption(tab, tab < Collection::kFirstUserTab ? Collection::defaultCaption(tab)
                                                                   : line);
        keys[size_t(tab)] = Collection::captionKey(collection.caption(tab));
    }

    std::array<NameStore, Collection::kTabCount> batches;
    while (reader.readLine(line)) {
        distribute(line, keys, batches);
    }
    if (reader.failed()) {
        result.error =
            QStringLiteral("Could not read \"%1\": %2").arg(shown(displayName), reader.errorString());
        return result;
    }
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        result.refused[size_t(tab)] = collection.addNames(tab, std::move(batches[size_t(tab)]));
    }
    result.ok = true;
    return result;
}

WriteResult WriteCollectionFile(const Collection& collection, QIODevice& device,
                                const QString& displayName) {
    WriteResult result;
    const bool utf8 = !fitsWindows1252(collection);
    const Encoder encoder(utf8);
    QByteArray out;
    out.reserve(kFlushSize + 4096);
    bool ok = true;
    auto flush = [&](bool force) {
        if (ok && (force || out.size() >= kFlushSize)) {
            ok = device.write(out) == out.size();
            out.clear();
        }
    };
    if (utf8) {
        out.append(kByteOrderMark);
    }
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        encoder.append(collection.caption(tab), out);
        out.append("\r\n");
    }
    for (int tab = 0; tab < Collection::kTabCount && ok; ++tab) {
        const NameStore& names = collection.list(tab).names;
        QByteArray key;
        encoder.append(Collection::captionKey(collection.caption(tab)), key);
        for (qsizetype pos = 0; pos < names.size() && ok; ++pos) {
            out.append(key);
            encoder.append(names.at(pos), out);
            out.append("\r\n");
            flush(false);
        }
    }
    out.append(kEndMarkLine);
    flush(true);
    if (!ok) {
        result.error = QStringLiteral("Could not save \"%1\": %2").arg(shown(displayName), device.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

WriteResult WriteCollectionFile(const Collection& collection, const QString& path) {
    QSaveFile file(path);
    // Never write in place: a failed save must leave the previous file whole.
    file.setDirectWriteFallback(false);
    WriteResult result;
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("Could not save \"%1\": %2").arg(shown(path), file.errorString());
        return result;
    }
    result = WriteCollectionFile(collection, file, path);
    if (!result.ok) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.ok = false;
        result.error = QStringLiteral("Could not save \"%1\": %2").arg(shown(path), file.errorString());
    }
    return result;
}

}  // namespace ludora
