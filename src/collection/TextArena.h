#pragma once

#include <QtGlobal>
#include <memory>

namespace ludora {

// One large stretch of memory for the characters of the names of a big file, cut into
// blocks that the lists of the collection share out. Each block keeps the whole stretch
// alive; it is freed when the last list lets go of its blocks.
//
// A big file's names take tens of megabytes, and touching fresh memory one small page at a
// time costs more than decoding it: the stretch asks the system for large pages.
class TextArena {
public:
    // Room for this many characters; nothing is touched yet.
    explicit TextArena(qsizetype characters);

    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;

    // The next block of the given number of characters, or null when the arena is used up.
    // One thread at a time.
    std::shared_ptr<char16_t[]> carve(quint32 characters);

private:
    std::shared_ptr<char16_t[]> memory_;
    qsizetype capacity_ = 0;
    qsizetype used_ = 0;
};

}  // namespace ludora
