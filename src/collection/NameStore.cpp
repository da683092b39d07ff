#include "collection/NameStore.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace ludora {

qsizetype NameStore::upperBound(QStringView text) const {
    const auto it =
        std::upper_bound(entries_.begin(), entries_.end(), text,
                         [this](QStringView t, const Entry& e) { return nameLess(t, view(e)); });
    return qsizetype(it - entries_.begin());
}

NameStore::Entry NameStore::store(QStringView text) {
    const auto length = quint32(std::min<qsizetype>(text.size(), 0x7fffffff));
    Block* block = current_ >= 0 ? &blocks_[size_t(current_)] : nullptr;
    if (length > kBlockSize / 4) {
        // A long name gets a block of its own.
        Block own;
        own.data = std::make_unique_for_overwrite<char16_t[]>(std::max<quint32>(length, 1));
        own.capacity = length;
        blocks_.push_back(std::move(own));
        block = &blocks_.back();
    } else if (!block || block->capacity - block->used < length) {
        // Each block twice the last up to kBlockSize: a short list holds little memory.
        const quint32 capacity =
            std::max(length, block ? std::min(kBlockSize, block->capacity * 2) : kFirstBlockSize);
        Block fresh;
        fresh.data = std::make_unique_for_overwrite<char16_t[]>(capacity);
        fresh.capacity = capacity;
        blocks_.push_back(std::move(fresh));
        current_ = qsizetype(blocks_.size()) - 1;
        block = &blocks_.back();
    }
    const Entry entry{quint32(block - blocks_.data()), block->used, length, false};
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
    liveChars_ -= entries_[size_t(pos)].length;
    entries_.erase(entries_.begin() + pos);
    reclaimIfWasteful();
}

qsizetype NameStore::removeSelected() {
    const auto firstSelected =
        std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; });
    if (firstSelected == entries_.end()) {
        return 0;
    }
    for (auto it = firstSelected; it != entries_.end(); ++it) {
        if (it->selected) {
            liveChars_ -= it->length;
        }
    }
    const auto kept = std::stable_partition(firstSelected, entries_.end(),
                                            [](const Entry& e) { return !e.selected; });
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
    entries_.clear();
    entries_.shrink_to_fit();
    blocks_.clear();
    blocks_.shrink_to_fit();
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
        Entry copy = fresh.store(view(e));
        copy.selected = e.selected;
        fresh.entries_.push_back(copy);
    }
    *this = std::move(fresh);
}

void NameStore::sortStable() {
    if (entries_.size() < 2) {
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
        entries_[i] = keyed[i].entry;
    }
}

void NameStore::mergeFrom(NameStore&& batch) {
    if (batch.entries_.empty()) {
        return;
    }
    const auto blockShift = quint32(blocks_.size());
    for (Block& block : batch.blocks_) {
        blocks_.push_back(std::move(block));
    }
    for (Entry& e : batch.entries_) {
        e.block += blockShift;
    }
    storedChars_ += batch.storedChars_;
    liveChars_ += batch.liveChars_;

    std::vector<Entry> merged;
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
