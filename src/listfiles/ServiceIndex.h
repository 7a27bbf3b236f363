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

    std::size_t Size() const { return size_; }
    // The first service the entry matches, or nullptr.
    PSNode Find(const TChannel& entry) const { return Find(entry.ServiceId, entry.Onid); }
    PSNode Find(int32_t serviceId, int32_t onid) const;

    // One mark per indexed key, for walks that must treat each key once.
    void ClearMarks();
    // Marks the key; true when it is indexed and was not marked before.
    bool Mark(uint64_t key);

  private:
    struct Slot {
        uint64_t Key = 0;
        PSNode Node = nullptr; // nullptr: the slot is free
    };
    std::size_t SlotOf(uint64_t key) const;
    void Rehash(std::size_t capacity);

    std::vector<Slot> slots_;
    std::vector<uint8_t> marks_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

} // namespace xantu
