#include "collection/CollectionLineReader.h"

#include <QIODevice>
#include <QStringDecoder>
#include <algorithm>
#include <bit>
#include <cstring>

#include "collection/FileFormat.h"
#include "collection/Windows1252.h"

namespace ludora {
namespace {

using format::kEndMark;
// A Windows-1252 file is decoded this many bytes at a time, from the start of a line, or a
// whole line if longer.
constexpr qsizetype kDecodeAhead = 32 * 1024;

inline bool isStop(char c) {
    return c == format::kCr || c == format::kLf || c == kEndMark;
}

// The first byte at or after from that ends a line or the data, or end. Every such byte is
// below 27, and eight bytes are tested for one at a time: subtracting 27 from each byte
// borrows into its top bit exactly when it is below 27 (the lowest flagged byte is always a
// true one; those above it may not be).
inline qsizetype findStop(const char* data, qsizetype from, qsizetype end) {
    constexpr quint64 kOnes = 0x0101010101010101u;
    constexpr quint64 kTops = 0x8080808080808080u;
    qsizetype i = from;
    while (i + 8 <= end) {
        quint64 word;
        std::memcpy(&word, data + i, sizeof word);
        const quint64 low = (word - kOnes * (kEndMark + 1)) & ~word & kTops;
        if (low == 0) {
            i += 8;
            continue;
        }
        i += std::countr_zero(low) / 8;
        if (isStop(data[i])) {
            return i;
        }
        ++i;  // another control character: look on from the next byte
    }
    while (i < end && !isStop(data[i])) {
        ++i;
    }
    return i;
}

}  // namespace

CollectionLineReader::CollectionLineReader(QIODevice& device) : device_(device) {}

CollectionLineReader::CollectionLineReader(QIODevice& device, Encoding encoding, qint64 chunkSize)
    : device_(device), chunkSize_(chunkSize), started_(true), encoding_(encoding) {}

qint64 CollectionLineReader::offset() const {
    return device_.pos() - (buffer_.size() - pos_);
}

bool CollectionLineReader::fill() {
    if (deviceAtEnd_ || failed_) {
        return false;
    }
    if (pos_ > 0) {
        // Moves what is left to the front; the buffer keeps its memory for the next chunk.
        const qsizetype rest = buffer_.size() - pos_;
        std::memmove(buffer_.data(), buffer_.constData() + pos_, size_t(rest));
        buffer_.resize(rest);
        // The characters decoded ahead of the next line move with their bytes.
        const qsizetype keep = std::max(decodedBase_, pos_);
        if (decodedEnd_ > keep) {
            std::memmove(decoded_.get(), decoded_.get() + (keep - decodedBase_),
                         size_t(decodedEnd_ - keep) * sizeof(char16_t));
            decodedBase_ = keep - pos_;
            decodedEnd_ -= pos_;
        } else {
            decodedBase_ = decodedEnd_ = 0;
        }
        pos_ = 0;
    }
    // Files are read in chunks (1 MB unless told), no bigger than what is left of them.
    qint64 want = chunkSize_;
    if (!device_.isSequential()) {
        want = std::clamp(device_.size() - device_.pos(), qint64(1), chunkSize_);
    }
    const qsizetype old = buffer_.size();
    buffer_.resize(old + want);
    const qint64 got = device_.read(buffer_.data() + old, want);
    if (got < 0) {
        buffer_.resize(old);
        failed_ = true;
        errorString_ = device_.errorString();
        return false;
    }
    buffer_.resize(old + got);
    if (got == 0) {
        deviceAtEnd_ = true;
        return false;
    }
    return true;
}

void CollectionLineReader::decodeFrom(qsizetype from, qsizetype to) {
    const qsizetype end = std::min(buffer_.size(), std::max(to, from + kDecodeAhead));
    if (end - from > decodedCapacity_) {
        decodedCapacity_ = std::max(end - from, kDecodeAhead);
        decoded_ = std::make_unique_for_overwrite<char16_t[]>(size_t(decodedCapacity_));
    }
    windows1252::decodeTo(buffer_.constData() + from, end - from, decoded_.get());
    decodedBase_ = from;
    decodedEnd_ = end;
}

QStringView CollectionLineReader::lineAt(qsizetype from, qsizetype to) {
    invalidUtf8_ = false;
    if (encoding_ == Encoding::Windows1252) {
        if (from < decodedBase_ || to > decodedEnd_) {
            decodeFrom(from, to);
        }
        return QStringView(decoded_.get() + (from - decodedBase_), to - from);
    }
    // A byte gives at most one character; the line keeps its memory from line to line. The
    // file's byte-order mark is gone already: one at the start of a line is a character of
    // the line (U+FEFF), which the decoder would otherwise drop.
    utf8Line_.resize(to - from);
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QChar* end = utf8.appendToBuffer(utf8Line_.data(),
                                           QByteArrayView(buffer_.constData() + from, to - from));
    utf8Line_.truncate(end - utf8Line_.constData());
    invalidUtf8_ = utf8.hasError();
    return QStringView(utf8Line_);
}

bool CollectionLineReader::readLine(QString& line) {
    QStringView view;
    if (!readLine(view)) {
        return false;
    }
    line.resize(view.size());  // keeps the memory of the string from line to line
    if (!view.isEmpty()) {
        std::memcpy(line.data(), view.data(), size_t(view.size()) * sizeof(QChar));
    }
    return true;
}

bool CollectionLineReader::readLine(QStringView& line) {
    if (ended_) {
        return false;
    }
    if (!started_) {
        started_ = true;
        while (buffer_.size() < 3 && fill()) {
        }
        if (buffer_.startsWith(format::kByteOrderMark)) {
            encoding_ = Encoding::Utf8;
            pos_ = 3;
        }
    }
    qsizetype scan = pos_;
    for (;;) {
        const char* data = buffer_.constData();
        const qsizetype size = buffer_.size();
        scan = findStop(data, scan, size);
        if (scan < size && data[scan] == format::kCr && scan + 1 == size && !deviceAtEnd_) {
            // A CR at the end of what was read: the next byte decides between CR and CR LF.
            const qsizetype offset = scan - pos_;
            const bool more = fill();
            scan = pos_ + offset;
            if (!more && failed_) {
                break;
            }
            continue;
        }
        if (scan < size) {
            break;
        }
        const qsizetype offset = scan - pos_;
        const bool more = fill();
        // fill() drops the bytes before pos_, so the scan position moves with them.
        scan = pos_ + offset;
        if (!more) {
            break;
        }
    }
    if (failed_) {
        ended_ = true;
        return false;
    }
    const char* data = buffer_.constData();
    const qsizetype size = buffer_.size();
    if (scan >= size) {
        // The end of the file: what is left is a last line without a line end.
        ended_ = true;
        if (scan == pos_) {
            return false;
        }
        line = lineAt(pos_, scan);
        pos_ = scan;
        lineEnd_ = LineEnd::None;
        ++lineNumber_;
        return true;
    }
    if (data[scan] == kEndMark) {
        sawEndMark_ = true;
        ended_ = true;
        if (scan == pos_) {
            pos_ = scan + 1;
            return false;
        }
        // Text before the end mark on its line is still a line.
        line = lineAt(pos_, scan);
        pos_ = scan + 1;
        lineEnd_ = LineEnd::None;
        ++lineNumber_;
        return true;
    }
    line = lineAt(pos_, scan);
    if (data[scan] == format::kCr && scan + 1 < size && data[scan + 1] == format::kLf) {
        lineEnd_ = LineEnd::CrLf;
        pos_ = scan + 2;
    } else {
        lineEnd_ = data[scan] == format::kCr ? LineEnd::Cr : LineEnd::Lf;
        pos_ = scan + 1;
    }
    ++lineNumber_;
    return true;
}

bool CollectionLineReader::dataAfterEndMark() {
    if (!sawEndMark_) {
        return false;
    }
    // The end mark itself is behind pos_ already.
    while (buffer_.size() - pos_ < 2 && fill()) {
    }
    QByteArrayView rest(buffer_.constData() + pos_, buffer_.size() - pos_);
    if (rest.startsWith(format::kLineEnd)) {
        pos_ += 2;
    } else if (rest.startsWith(format::kCr) || rest.startsWith(format::kLf)) {
        pos_ += 1;
    }
    if (pos_ < buffer_.size()) {
        return true;
    }
    return fill();
}

}  // namespace ludora
