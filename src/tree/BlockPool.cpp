#include "tree/BlockPool.h"

#include <cstdlib>
#include <map>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define XANTU_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define XANTU_ASAN 1
#endif
#endif

namespace xantu {

namespace {

// Room for about 1,000 nodes of the larger kinds per chunk: few enough
// chunks for a big list, little waste for a small one.
constexpr std::size_t kChunkBytes = 64 * 1024;

std::size_t Rounded(std::size_t size) {
    const std::size_t align = alignof(std::max_align_t);
    if (size < sizeof(void*))
        size = sizeof(void*);
    return (size + align - 1) / align * align;
}

} // namespace

TBlockPool::TBlockPool(std::size_t blockSize)
    : size_(Rounded(blockSize)), chunkBytes_((kChunkBytes / size_ > 0 ? kChunkBytes / size_ : 1) * size_) {}

TBlockPool::~TBlockPool() {
    for (void* chunk : chunks_) {
#ifdef XANTU_ASAN
        ASAN_UNPOISON_MEMORY_REGION(chunk, chunkBytes_);
#endif
        ::operator delete(chunk);
    }
}

TBlockPool& TBlockPool::ForSize(std::size_t size) {
    // Leaked on purpose: objects may be freed by static destructors after
    // any pool object would have been destroyed.
    static auto* pools = new std::map<std::size_t, TBlockPool*>();
    TBlockPool*& pool = (*pools)[Rounded(size)];
    if (!pool)
        pool = new TBlockPool(size);
    return *pool;
}

void* TBlockPool::AllocateFromChunk() {
    if (next_ == end_) {
        char* chunk = static_cast<char*>(::operator new(chunkBytes_));
        chunks_.push_back(chunk);
        next_ = chunk;
        end_ = chunk + chunkBytes_;
#ifdef XANTU_ASAN
        ASAN_POISON_MEMORY_REGION(chunk, chunkBytes_);
#endif
    }
    void* p = next_;
    next_ += size_;
    Unpoison(p);
    ++live_;
    return p;
}

void TBlockPool::Free(void* p) noexcept {
    if (kKeepFreedBlocks) {
        Poison(p);
    } else {
        *static_cast<void**>(p) = free_;
        free_ = p;
    }
    if (--live_ == 0)
        ReleaseChunks();
}

void TBlockPool::ReleaseChunks() noexcept {
    // The first chunk stays for the next objects: a single object made and
    // freed over and over does not take a chunk from the heap each time.
    for (std::size_t i = 1; i < chunks_.size(); ++i) {
#ifdef XANTU_ASAN
        ASAN_UNPOISON_MEMORY_REGION(chunks_[i], chunkBytes_);
#endif
        ::operator delete(chunks_[i]);
    }
    chunks_.resize(chunks_.empty() ? 0 : 1);
    free_ = nullptr;
    next_ = chunks_.empty() ? nullptr : static_cast<char*>(chunks_[0]);
    end_ = next_ ? next_ + chunkBytes_ : nullptr;
#ifdef XANTU_ASAN
    if (next_)
        ASAN_POISON_MEMORY_REGION(next_, chunkBytes_);
#endif
}

void TBlockPool::Poison([[maybe_unused]] void* p) const noexcept {
#ifdef XANTU_ASAN
    ASAN_POISON_MEMORY_REGION(p, size_);
#endif
}

void TBlockPool::Unpoison([[maybe_unused]] void* p) const noexcept {
#ifdef XANTU_ASAN
    ASAN_UNPOISON_MEMORY_REGION(p, size_);
#endif
}

} // namespace xantu
