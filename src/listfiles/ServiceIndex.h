// The services of a services tree by their match key (service id and the
// original network id of the service's transponder), for every place that
// ties a bouquet entry to its service: the load, the refill of "andere", the
// entries a refill adds, the jump from an entry to its service. It answers
// exactly what Matches() answers, the first service in tree order winning.
#pragma once

#include "listfiles/ListTrees.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xantu {

class TServiceIndex {
  public:
    // Indexes every service of `tree`, dropping what was indexed before.
    void Build(const TServiceTree& tree);
    // Forgets every service; the table keeps its room for the next load.
    void Clear();
    // Room for `services` keys without growing.
    void Reserve(std::size_t services);
    // Adds one service node; a key that is there already keeps its node, so
    // adding in tree order lets the first service answer for its key.
    void Add(PSNode service);
    // One service with its key, as Add would take it.
    struct TKeyed {
        uint64_t Key;
        PSNode Node;
    };
    // Adds services with their keys in the order given, as Add one by one
    // would; the table's slots are fetched ahead, so that a big list does
    // not wait on memory once per service.
    void AddAll(const std::vector<TKeyed>& services);
    // Brings the key's slot and mark towards the processor ahead of a Find
    // or Mark of that key.
    void Prefetch(uint64_t key) const {
        if (slots_.empty())
            return;
        const std::size_t i = Mix(key) & mask_;
        FetchLine(&slots_[i]);
        if (marks_.size() == slots_.size())
            FetchLine(&marks_[i]);
    }

    std::size_t Size() const { return size_; }
    // The first service the entry matches, or nullptr.
    PSNode Find(const TChannel& entry) const { return Find(entry.ServiceId, entry.Onid); }
    PSNode Find(int32_t serviceId, int32_t onid) const;
    PSNode FindKey(uint64_t key) const;

    // One mark per indexed key, for walks that must treat each key once.
    void ClearMarks();
    // Marks the key; true when it is indexed and was not marked before.
    bool Mark(uint64_t key);
    // Mark, answering the key's service when the key was newly marked
    // (nullptr otherwise).
    PSNode MarkAndFind(uint64_t key);

  private:
    // The instruction itself where there is one: GCC 12 left the
    // __builtin_prefetch of a slot out of the compiled index altogether
    // (no prefetch in AddAll or the linking), and each look-up waited on
    // memory again.
    static void FetchLine(const void* p) {
#if defined(__x86_64__) && defined(__GNUC__)
        asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(p)));
#else
        __builtin_prefetch(p);
#endif
    }
    static std::size_t Mix(uint64_t k) {
        k ^= k >> 33;
        k *= 0xff51afd7ed558ccdULL;
        k ^= k >> 33;
        return static_cast<std::size_t>(k);
    }
    struct Slot {
        uint64_t Key = 0;
        PSNode Node = nullptr; // nullptr: the slot is free
    };
    std::size_t SlotOf(uint64_t key) const;
    void Put(uint64_t key, PSNode service);
    void Rehash(std::size_t capacity);

    std::vector<Slot> slots_;
    std::vector<uint8_t> marks_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

} // namespace xantu
