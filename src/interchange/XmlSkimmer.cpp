#include "interchange/XmlSkimmer.h"

#include <algorithm>
#include <cstring>

namespace ludora::interchange {
namespace {

constexpr qint64 kSkimChunk = 256 * 1024;
// markupEnd(): a document type with declarations of its own.
constexpr qsizetype kDeclarations = -2;

bool startsWith(const QByteArray& bytes, qsizetype at, const char* prefix) {
    const auto length = qsizetype(std::strlen(prefix));
    return bytes.size() - at >= length &&
           std::memcmp(bytes.constData() + at, prefix, size_t(length)) == 0;
}

// The name of the tag that begins at `at` ('<', then the name).
QByteArrayView tagName(const QByteArray& bytes, qsizetype at) {
    qsizetype end = at + 1;
    while (end < bytes.size() && !std::strchr(" \t\r\n/>", bytes[end])) {
        ++end;
    }
    return QByteArrayView(bytes.constData() + at + 1, end - at - 1);
}

}  // namespace

XmlSkimmer::XmlSkimmer(QIODevice& source, QByteArray item, QList<QByteArray> kept)
    : source_(source), item_(std::move(item)), kept_(std::move(kept)) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qsizetype XmlSkimmer::markupEnd(qsizetype at) const {
    const auto find = [this, at](const char* end, qsizetype from) -> qsizetype {
        const qsizetype found = in_.indexOf(end, at + from);
        return found < 0 ? -1 : found + qsizetype(std::strlen(end));
    };
    if (startsWith(in_, at, "<!--")) {
        return find("-->", 4);
    }
    if (startsWith(in_, at, "<![CDATA[")) {
        return find("]]>", 9);
    }
    if (startsWith(in_, at, "<?")) {
        return find("?>", 2);
    }
    if (startsWith(in_, at, "<!")) {
        if (in_.size() - at < 9) {
            return -1;  // a comment or a section may begin: too short to tell yet
        }
        const qsizetype close = in_.indexOf('>', at);
        const qsizetype open = in_.indexOf('[', at);
        if (open >= 0 && (close < 0 || open < close)) {
            return kDeclarations;
        }
        return close < 0 ? -1 : close + 1;
    }
    // A tag: its end is the first '>' outside the quotes of its attributes.
    char quote = 0;
    for (qsizetype i = at + 1; i < in_.size(); ++i) {
        const char c = in_[i];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return -1;
}

qsizetype XmlSkimmer::skippableEnd(qsizetype at, bool* more) const {
    const auto unfinished = [this, at, more] {
        *more = !sourceEnded_ && in_.size() - at <= kMaxSkipped;
        return -1;
    };
    qsizetype end = markupEnd(at);
    if (end < 0) {
        return unfinished();
    }
    for (int depth = in_[end - 2] == '/' ? 0 : 1; depth > 0;) {
        if (end - at > kMaxSkipped) {
            return -1;
        }
        const qsizetype next = in_.indexOf('<', end);
        if (next < 0 || next + 1 >= in_.size()) {
            return unfinished();
        }
        const char kind = in_[next + 1];
        if (kind == '!' || kind == '?') {
            return -1;  // a comment, a section, an instruction: passed on for the reader
        }
        end = markupEnd(next);
        if (end < 0) {
            return unfinished();
        }
        depth += kind == '/' ? -1 : (in_[end - 2] == '/' ? 0 : 1);
    }
    return end;
}

bool XmlSkimmer::skim() {
    while (at_ < in_.size()) {
        if (passAll_) {
            out_.append(in_.constData() + at_, in_.size() - at_);
            at_ = in_.size();
            break;
        }
        const qsizetype lt = in_.indexOf('<', at_);
        if (lt < 0) {
            out_.append(in_.constData() + at_, in_.size() - at_);
            at_ = in_.size();
            break;
        }
        out_.append(in_.constData() + at_, lt - at_);
        at_ = lt;
        if (lt + 1 >= in_.size() && !sourceEnded_) {
            return false;
        }
        const char kind = lt + 1 < in_.size() ? in_[lt + 1] : 0;
        const bool startTag = kind != '/' && kind != '!' && kind != '?' && kind != 0;
        if (startTag && depth_ == childDepth_ &&
            std::none_of(kept_.begin(), kept_.end(),
                         [name = tagName(in_, lt)](const QByteArray& k) { return k == name; })) {
            bool more = false;
            const qsizetype end = skippableEnd(lt, &more);
            if (more) {
                return false;
            }
            if (end >= 0) {
                at_ = end;  // left out
                continue;
            }
        }
        const qsizetype end = markupEnd(lt);
        if (end == kDeclarations || (end < 0 && (sourceEnded_ || in_.size() - lt > kMaxSkipped))) {
            passAll_ = true;
            continue;
        }
        if (end < 0) {
            return false;
        }
        out_.append(in_.constData() + lt, end - lt);
        at_ = end;
        if (startTag && in_[end - 2] != '/') {
            ++depth_;
            if (childDepth_ < 0 && tagName(in_, lt) == item_) {
                childDepth_ = depth_;
            }
        } else if (kind == '/') {
            if (depth_ == childDepth_) {
                childDepth_ = -1;
            }
            --depth_;
        }
    }
    return true;
}

qint64 XmlSkimmer::readData(char* data, qint64 maxSize) {
    if (failed_) {
        return -1;
    }
    while (outAt_ >= out_.size()) {
        out_.clear();
        outAt_ = 0;
        in_.remove(0, at_);
        at_ = 0;
        skim();
        if (!out_.isEmpty()) {
            break;
        }
        if (sourceEnded_) {
            if (in_.isEmpty()) {
                return 0;
            }
            passAll_ = true;  // what is left cannot be decided: the reader gets it as it is
            continue;
        }
        const qsizetype kept = in_.size();
        in_.resize(kept + kSkimChunk);
        const qint64 got = source_.read(in_.data() + kept, kSkimChunk);
        in_.resize(kept + std::max<qint64>(got, 0));
        if (got < 0) {
            failed_ = true;
            setErrorString(source_.errorString());
            return -1;
        }
        sourceEnded_ = got == 0;
    }
    const qint64 n = std::min<qint64>(maxSize, out_.size() - outAt_);
    std::memcpy(data, out_.constData() + outAt_, size_t(n));
    outAt_ += n;
    return n;
}

}  // namespace ludora::interchange
