#include "collection/NameSection.h"

#include <QFile>
#include <QIODevice>
#include <cerrno>
#include <thread>

#include "collection/CaptionKeys.h"
#include "collection/CollectionLineReader.h"
#include "collection/FileFormat.h"
#include "collection/ReadObserver.h"
#include "collection/TextArena.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ludora {
namespace {

// Below this many bytes of names one thread reads them: starting a thread and cutting the
// file cost more than they save.
constexpr qint64 kSplitMinimum = 1024 * 1024;
// Each piece reads its stretch in chunks of this size into a buffer that it reuses.
constexpr qint64 kPieceChunk = 64 * 1024;

// Routes every line the reader gives.
void readLines(CollectionLineReader& reader, const CaptionKeys& keys,
               Collection::Batches& batches) {
    QStringView line;
    while (reader.readLine(line)) {
        keys.route(line,
                   [&batches](int tab, QStringView name) { batches[size_t(tab)].append(name); });
    }
}

// The same, telling the observer about every line and where it went.
void readObservedLines(CollectionLineReader& reader, const CaptionKeys& keys,
                       Collection::Batches& batches, ReadObserver& observer) {
    QStringView line;
    while (reader.readLine(line)) {
        observer.lineRead(reader.lineNumber(), reader.lineEnd(), reader.lineHadInvalidUtf8());
        quint32 tabs = 0;
        keys.route(line, [&](int tab, QStringView name) {
            batches[size_t(tab)].append(name);
            tabs |= 1u << tab;
        });
        observer.nameLineRead(reader.lineNumber(), tabs);
    }
    if (!reader.failed()) {
        const bool sawEndMark = reader.sawEndMark();
        observer.dataEnded(sawEndMark, sawEndMark && reader.dataAfterEndMark());
    }
}

#ifdef Q_OS_UNIX

// A stretch of an open file. Reads with pread(), which leaves the file's own position
// alone, so that two threads can read two stretches of the one file at once.
class FileStretch final : public QIODevice {
public:
    FileStretch(int handle, qint64 begin, qint64 end) : handle_(handle), begin_(begin), end_(end) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return end_ - begin_; }

    // Reads at most size bytes at the offset in the file; -1 on failure, with errno set.
    static qint64 readAt(int handle, char* data, qint64 size, qint64 offset) {
        for (;;) {
            const ssize_t got = ::pread(handle, data, size_t(size), off_t(offset));
            if (got >= 0 || errno != EINTR) {
                return got;
            }
        }
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 at = begin_ + pos();
        const qint64 got = readAt(handle_, data, std::min(maxSize, end_ - at), at);
        if (got < 0) {
            setErrorString(qt_error_string(errno));
        }
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    int handle_;
    qint64 begin_;
    qint64 end_;
};

// Where the first line that starts at or after `from` starts: just past the next line end.
// The end of the data when there is none (or an end mark ends the data first, or the file
// cannot be read there: the piece before then meets that on its own).
qint64 nextLineStart(int handle, qint64 from, qint64 end) {
    char window[4096];
    qint64 at = from;
    while (at < end) {
        const qint64 got =
            FileStretch::readAt(handle, window, std::min<qint64>(sizeof window, end - at), at);
        if (got <= 0) {
            return end;
        }
        for (qint64 i = 0; i < got; ++i) {
            const char c = window[i];
            if (c == format::kEndMark) {
                return end;
            }
            if (c == format::kLf) {
                return at + i + 1;
            }
            if (c == format::kCr) {
                // A CR LF stays whole: the LF is the next byte, perhaps past this window.
                char next = 0;
                const qint64 lf = at + i + 1;
                const bool pair = lf < end && FileStretch::readAt(handle, &next, 1, lf) == 1 &&
                                  next == format::kLf;
                return pair ? lf + 1 : lf;
            }
        }
        at += got;
    }
    return end;
}

struct Piece {
    Collection::Batches batches;
    bool sawEndMark = false;
    bool failed = false;
    QString errorString;
};

// Reads the lines of one stretch of the file, keeping their characters in an arena.
void readPiece(int handle, qint64 begin, qint64 end, CollectionLineReader::Encoding encoding,
               const CaptionKeys& keys, Piece& piece) {
    FileStretch stretch(handle, begin, end);
    CollectionLineReader reader(stretch, encoding, kPieceChunk);
    // A name never has more characters than its line has bytes.
    TextArena arena(end - begin);
    for (NameStore& batch : piece.batches) {
        batch.setArena(&arena);
        // Room for a full list from the start, so that no list is copied as it grows; the
        // memory is only taken as it is used.
        batch.reserve(Collection::kMaxNames);
    }
    readLines(reader, keys, piece.batches);
    for (NameStore& batch : piece.batches) {
        batch.setArena(nullptr);
    }
    piece.sawEndMark = reader.sawEndMark();
    piece.failed = reader.failed();
    piece.errorString = reader.errorString();
}

// Reads the names in two pieces, one on another thread; false when the file is too small
// to be worth it.
bool readInTwoPieces(CollectionLineReader& reader, QFile& file, const CaptionKeys& keys,
                     NameSection& section) {
    const qint64 begin = reader.offset();
    const qint64 end = file.size();
    if (end - begin < kSplitMinimum || file.handle() < 0) {
        return false;
    }
    const int handle = file.handle();
    const qint64 cut = nextLineStart(handle, begin + (end - begin) / 2, end);
    Piece first;
    Piece second;
    std::thread helper;
    if (cut < end) {
        helper = std::thread(readPiece, handle, cut, end, reader.encoding(), std::cref(keys),
                             std::ref(second));
    }
    readPiece(handle, begin, cut, reader.encoding(), keys, first);
    if (helper.joinable()) {
        helper.join();
    }
    // The data end at an end mark: whatever the second piece found after it does not count.
    const bool secondCounts = cut < end && !first.failed && !first.sawEndMark;
    const Piece& failed = first.failed ? first : second;
    if (first.failed || (secondCounts && second.failed)) {
        section.errorString = failed.errorString;
        return true;
    }
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        NameStore& batch = section.batches[size_t(tab)];
        batch = std::move(first.batches[size_t(tab)]);
        if (secondCounts) {
            batch.append(std::move(second.batches[size_t(tab)]));
        }
    }
    section.ok = true;
    return true;
}

#endif

}  // namespace

NameSection readNameSection(CollectionLineReader& reader, QIODevice& device,
                            const CaptionKeys& keys, ReadObserver* observer) {
    NameSection section;
    if (observer) {
        readObservedLines(reader, keys, section.batches, *observer);
    } else if (!reader.sawEndMark() && !reader.failed()) {
#ifdef Q_OS_UNIX
        auto* file = qobject_cast<QFile*>(&device);
        if (file && !file->isSequential() && readInTwoPieces(reader, *file, keys, section)) {
            return section;
        }
#endif
        readLines(reader, keys, section.batches);
    }
    section.ok = !reader.failed();
    section.errorString = reader.errorString();
    return section;
}

}  // namespace ludora
