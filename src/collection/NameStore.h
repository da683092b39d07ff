#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

#include "collection/NameOrder.h"

namespace ludora {

class TextArena;

// The names of one list, in list order.
//
// Texts live in large blocks that never move, and the list order is a vector of small
// entries that point into them: inserting in the middle moves 12-byte entries, not strings,
// and a full collection costs little more memory than its characters. Removals leave their
// characters behind until the waste outgrows the live names; then the live names are
// copied into fresh blocks. A view returned by at() is therefore valid only until the store
// next changes. Blocks may be cut from an arena that other stores share (loading a file).
//
// A copy is cheap: it shares the entries and the blocks with the store copied (Qt's
// implicit sharing) until either changes. Characters once stored are never written again
// (mapCharacters() aside, which batches use before they join a list), so a copy may be read
// on another thread while the store it came from changes.
class NameStore {
public:
    NameStore() = default;
    NameStore(NameStore&&) noexcept = default;
    NameStore& operator=(NameStore&&) noexcept = default;
    // The copy stores new names in blocks of its own, never in the free end of a shared one.
    NameStore(const NameStore& other)
        : blocks_(other.blocks_),
          entries_(other.entries_),
          storedChars_(other.storedChars_),
          liveChars_(other.liveChars_) {}
    NameStore& operator=(const NameStore& other) {
        *this = NameStore(other);
        return *this;
    }

    qsizetype size() const { return qsizetype(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    QStringView at(qsizetype i) const { return view(entries_[i]); }

    // The position after every name that sorts before or equal to text.
    qsizetype upperBound(QStringView text) const;
    // The position after every name that sorts before text.
    qsizetype lowerBound(QStringView text) const;

    void insert(qsizetype pos, QStringView text);
    // Adds at the end, ignoring the order (for gathering a batch before sortStable()).
    void append(QStringView text) { insert(size(), text); }
    void reserve(qsizetype count) { entries_.reserve(size_t(count)); }
    // Moves every entry of another store to the end of this one, in their order.
    void append(NameStore&& other);
    // Cuts new blocks from the arena while it is set (it must outlive that); null stops it.
    void setArena(TextArena* arena) { arena_ = arena; }
    void removeAt(qsizetype pos);
    // Removes in one pass every entry whose position is marked (one mark per entry); the
    // others keep their order. Returns how many were removed.
    qsizetype removeMarked(const std::vector<bool>& marked);
    void truncate(qsizetype count);
    void clear();
    // Replaces each character c of every name by map(c), in place.
    template <typename Map>
    void mapCharacters(Map map) {
        for (const Entry& e : entries_) {
            char16_t* chars = blocks_[qsizetype(e.block)].data.get() + e.offset;
            for (quint32 i = 0; i < quint32(e.length); ++i) {
                chars[i] = map(chars[i]);
            }
        }
    }
    // Whether test(c) holds for any character held, removed names' included: one pass over
    // the blocks that the compiler can make many characters at a time.
    template <typename Test>
    bool anyCharacter(Test test) const {
        for (const Block& block : blocks_) {
            const char16_t* chars = block.data.get();
            unsigned char found = 0;
            for (quint32 i = 0; i < block.used; ++i) {
                found |= test(chars[i]) ? 1 : 0;
            }
            if (found != 0) {
                return true;
            }
        }
        return false;
    }

    // Sorts the entries in list order; equal names keep their relative order. Entries
    // already in that order (a file the program wrote) are found so in one pass and left.
    void sortStable();
    // Moves every entry of a sorted batch into this sorted store, at the places one insert
    // at upperBound() per name, in the batch's order, would give them.
    void mergeFrom(NameStore&& batch);

    // Characters held, including those of removed names not yet reclaimed.
    qsizetype storedCharacters() const { return storedChars_; }

private:
    struct Entry {
        quint32 block;
        quint32 offset;
        quint32 length;
    };
    struct Block {
        std::shared_ptr<char16_t[]> data;
        quint32 used = 0;
        quint32 capacity = 0;
    };

    static constexpr quint32 kBlockSize = 64 * 1024;  // characters
    static constexpr quint32 kFirstBlockSize = 1024;
    // Smaller when cut from an arena: every list leaves its last block part empty.
    static constexpr quint32 kArenaBlockSize = kBlockSize / 4;
    // Longer names get a block of their own.
    static constexpr quint32 kLongName = kBlockSize / 4;

    QStringView view(const Entry& e) const {
        return QStringView(blocks_[qsizetype(e.block)].data.get() + e.offset, qsizetype(e.length));
    }
    bool less(const Entry& a, const Entry& b) const { return nameLess(view(a), view(b)); }
    Entry store(QStringView text);
    // Adds a block with room for this many characters, or more.
    Block& addBlock(quint32 characters);
    // Takes over the blocks of another store, pointing its entries at them here.
    void adoptBlocks(NameStore& other);
    void reclaimIfWasteful();

    QList<Block> blocks_;
    QList<Entry> entries_;
    qsizetype current_ = -1;  // the block that takes short names, or -1
    TextArena* arena_ = nullptr;
    qsizetype storedChars_ = 0;
    qsizetype liveChars_ = 0;
};

}  // namespace ludora
