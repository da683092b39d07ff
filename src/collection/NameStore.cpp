#include "collection/NameStore.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "collection/TextArena.h"

namespace ludora {

qsizetype NameStore::upperBound(QStringView text) const {
    const auto it =
        std::upper_bound(entries_.begin(), entries_.end(), text,
                         [this](QStringView t, const Entry& e) { return nameLess(t, view(e)); });
    return qsizetype(it - entries_.begin());
}

qsizetype NameStore::lowerBound(QStringView text) const {
    const auto it =
        std::lower_bound(entries_.begin(), entries_.end(), text,
                         [this](const Entry& e, QStringView t) { return nameLess(view(e), t); });
    return qsizetype(it - entries_.begin());
}

NameStore::Block& NameStore::addBlock(quint32 characters) {
    Block block;
    if (arena_ && characters <= kArenaBlockSize) {
        block.data = arena_->carve(kArenaBlockSize);
        block.capacity = kArenaBlockSize;
    }
    if (!block.data) {
        // A long name gets a block of its own size. Short names fill blocks that double in
        // size up to kBlockSize, so that a list of a few names takes little memory.
        const quint32 previous = current_ >= 0 ? blocks_[size_t(current_)].capacity : 0;
        block.capacity =
            characters > kLongName
                ? characters
                : std::max(characters, std::clamp(2 * previous, kFirstBlockSize, kBlockSize));
        block.data = std::make_shared_for_overwrite<char16_t[]>(block.capacity);
    }
    blocks_.push_back(std::move(block));
    return blocks_.back();
}

NameStore::Entry NameStore::store(QStringView text) {
    const auto length = quint32(std::min<qsizetype>(text.size(), 0x7fffffff));
    Block* block = current_ >= 0 ? &blocks_[current_] : nullptr;
    if (length > kLongName) {
        // Short names keep filling the current block.
        block = &addBlock(length);
    } else if (!block || block->capacity - block->used < length) {
        block = &addBlock(length);
        current_ = qsizetype(blocks_.size()) - 1;
    }
    const Entry entry{quint32(block - blocks_.data()), block->used, length};
    if (length > 0) {
        std::memcpy(block->data.get() + block->used, text.utf16(), length * sizeof(char16_t));
    }
    block->used += length;
    storedChars_ += length;
    liveChars_ += length;
    return entry;
}

void NameStore::insert(qsizetype pos, QStringView text) {
    const Entry entry = store(text);
    entries_.insert(entries_.begin() + pos, entry);
}

void NameStore::removeAt(qsizetype pos) {
    liveChars_ -= entries_[pos].length;
    entries_.erase(entries_.begin() + pos);
    reclaimIfWasteful();
}

qsizetype NameStore::removeMarked(const std::vector<bool>& marked) {
    // One pass: the entries kept move up over those removed, in order.
    auto kept = entries_.begin();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (marked[size_t(it - entries_.begin())]) {
            liveChars_ -= it->length;
        } else {
            *kept++ = *it;
        }
    }
    const qsizetype removed = qsizetype(entries_.end() - kept);
    entries_.erase(kept, entries_.end());
    reclaimIfWasteful();
    return removed;
}

void NameStore::truncate(qsizetype count) {
    if (count >= size()) {
        return;
    }
    for (auto it = entries_.begin() + count; it != entries_.end(); ++it) {
        liveChars_ -= it->length;
    }
    entries_.erase(entries_.begin() + count, entries_.end());
    reclaimIfWasteful();
}

void NameStore::clear() {
    entries_ = QList<Entry>();
    blocks_ = QList<Block>();
    current_ = -1;
    storedChars_ = 0;
    liveChars_ = 0;
}

void NameStore::reclaimIfWasteful() {
    if (entries_.empty()) {
        clear();
        return;
    }
    const qsizetype waste = storedChars_ - liveChars_;
    if (waste <= std::max<qsizetype>(liveChars_, kBlockSize)) {
        return;
    }
    // Copy the live names into fresh blocks, in list order.
    NameStore fresh;
    fresh.entries_.reserve(entries_.size());
    for (const Entry& e : entries_) {
        fresh.entries_.push_back(fresh.store(view(e)));
    }
    *this = std::move(fresh);
}

void NameStore::sortStable() {
    // In order already: a stable sort would leave every entry where it is.
    if (std::is_sorted(entries_.begin(), entries_.end(),
                       [this](const Entry& a, const Entry& b) { return less(a, b); })) {
        return;
    }
    // Most comparisons are settled by the first characters: compare them as one number and
    // go through the names only on a tie, past the four characters the number covers.
    struct Keyed {
        quint64 prefix;
        Entry entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries_.size());
    for (const Entry& e : entries_) {
        keyed.push_back(Keyed{namePrefixKey(view(e)), e});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [this](const Keyed& a, const Keyed& b) {
        if (a.prefix != b.prefix) {
            return a.prefix < b.prefix;
        }
        const QStringView x = view(a.entry);
        const QStringView y = view(b.entry);
        if (x.size() >= 4 && y.size() >= 4) {
            return nameLess(x.mid(4), y.mid(4));
        }
        return nameLess(x, y);
    });
    for (size_t i = 0; i < keyed.size(); ++i) {
        entries_[qsizetype(i)] = keyed[i].entry;
    }
}

void NameStore::append(NameStore&& other) {
    if (entries_.empty() && blocks_.empty()) {
        TextArena* arena = arena_;
        *this = std::move(other);
        arena_ = arena;
        return;
    }
    adoptBlocks(other);
    entries_.append(other.entries_);
    other.clear();
}

void NameStore::adoptBlocks(NameStore& other) {
    const auto blockShift = quint32(blocks_.size());
    for (Block& block : other.blocks_) {
        blocks_.push_back(std::move(block));
    }
    for (Entry& e : other.entries_) {
        e.block += blockShift;
    }
    storedChars_ += other.storedChars_;
    liveChars_ += other.liveChars_;
}

void NameStore::mergeFrom(NameStore&& batch) {
    if (batch.entries_.empty()) {
        return;
    }
    adoptBlocks(batch);
    QList<Entry> merged;
    merged.reserve(entries_.size() + batch.entries_.size());
    // std::merge takes from the first range on ties, so names already here stay in front of
    // equal names from the batch, as single inserts after their equals would leave them.
    std::merge(entries_.begin(), entries_.end(), batch.entries_.begin(), batch.entries_.end(),
               std::back_inserter(merged),
               [this](const Entry& a, const Entry& b) { return less(a, b); });
    entries_ = std::move(merged);
    batch.clear();
}

}  // namespace ludora
