#include "collection/TextArena.h"

#include <cstdlib>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace ludora {
namespace {

constexpr size_t kLargePage = 2 * 1024 * 1024;
// A large page is taken whole as soon as one character lands in it: below a few of them,
// small pages waste less.
constexpr size_t kLargePagesFrom = 4 * kLargePage;

struct Free {
    void operator()(char16_t* p) const { std::free(p); }
};

}  // namespace

TextArena::TextArena(qsizetype characters) {
    const size_t wanted = size_t(characters) * sizeof(char16_t);
    if (wanted < kLargePagesFrom) {
        memory_ = std::make_shared_for_overwrite<char16_t[]>(size_t(characters));
        capacity_ = characters;
        return;
    }
    // Whole large pages, aligned to them: the system can then back the stretch with them.
    const size_t bytes = (wanted + kLargePage - 1) & ~(kLargePage - 1);
    auto* memory = static_cast<char16_t*>(std::aligned_alloc(kLargePage, bytes));
    if (!memory) {
        return;
    }
#ifdef Q_OS_LINUX
    // Only advice: where the system has no large pages, small ones serve as before.
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    memory_ = std::shared_ptr<char16_t[]>(memory, Free());
    capacity_ = qsizetype(bytes / sizeof(char16_t));
}

std::shared_ptr<char16_t[]> TextArena::carve(quint32 characters) {
    if (capacity_ - used_ < qsizetype(characters)) {
        return nullptr;
    }
    // Shares the ownership of the whole stretch, pointing at the block.
    std::shared_ptr<char16_t[]> block(memory_, memory_.get() + used_);
    used_ += characters;
    return block;
}

}  // namespace ludora
