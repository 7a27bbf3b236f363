// Blocks of one size for the many small objects of the two trees (nodes,
// wrappers, payloads): a list of 100,000 services makes half a million of
// them, and taking each from the general heap costs more time than reading
// the file and a header per object besides. Blocks come from large chunks;
// a freed block is reused by the next allocation of its size, and once the
// last block of a pool is freed (both trees emptied) the chunks go back to
// the heap, so that a small list loaded after a big one does not keep the
// big one's memory.
//
// The trees live on the program's one thread; the pools are not made for
// use from several threads.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace xantu {

class TBlockPool {
  public:
    explicit TBlockPool(std::size_t blockSize);
    // Frees the chunks; no block of the pool may be in use any more.
    ~TBlockPool();
    TBlockPool(const TBlockPool&) = delete;
    TBlockPool& operator=(const TBlockPool&) = delete;

    void* Allocate() {
        if (free_) {
            void* p = free_;
            free_ = *static_cast<void**>(p);
            ++live_;
            return p;
        }
        return AllocateFromChunk();
    }
    void Free(void* p) noexcept;

    std::size_t BlockSize() const { return size_; }
    std::size_t Live() const { return live_; }
    std::size_t Chunks() const { return chunks_.size(); }

    // The pool of blocks of `size` bytes; one per size, never destroyed, so
    // that objects freed during the program's exit still find it.
    static TBlockPool& ForSize(std::size_t size);

  private:
    // Under AddressSanitizer a freed block stays poisoned and is not handed
    // out again until its chunk is released: a use after free is reported
    // instead of reading the next object.
#if defined(__SANITIZE_ADDRESS__)
    static constexpr bool kKeepFreedBlocks = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    static constexpr bool kKeepFreedBlocks = true;
#else
    static constexpr bool kKeepFreedBlocks = false;
#endif
#else
    static constexpr bool kKeepFreedBlocks = false;
#endif
    void* AllocateFromChunk();
    void ReleaseChunks() noexcept;
    void Poison(void* p) const noexcept;
    void Unpoison(void* p) const noexcept;

    std::size_t size_;
    std::size_t chunkBytes_;
    void* free_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::size_t live_ = 0;
    std::vector<void*> chunks_;
};

// For the allocation functions of a class whose objects the pools hold.
// Sizes other than the class's own (a derived class) go to the heap.
template <class T> void* PooledNew(std::size_t n) {
    if (n != sizeof(T))
        return ::operator new(n);
    static TBlockPool& pool = TBlockPool::ForSize(sizeof(T));
    return pool.Allocate();
}
template <class T> void PooledDelete(void* p, std::size_t n) noexcept {
    if (!p)
        return;
    if (n != sizeof(T)) {
        ::operator delete(p);
        return;
    }
    static TBlockPool& pool = TBlockPool::ForSize(sizeof(T));
    pool.Free(p);
}

} // namespace xantu

// Inside a class: its objects come from the block pools.
#define XANTU_POOLED(T)                                                                                      \
    static void* operator new(std::size_t n) {                                                               \
        return ::xantu::PooledNew<T>(n);                                                                     \
    }                                                                                                        \
    static void operator delete(void* p, std::size_t n) noexcept {                                           \
        ::xantu::PooledDelete<T>(p, n);                                                                      \
    }
