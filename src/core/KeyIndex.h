// An open-addressing table from a 64-bit key to a pointer, for the joins of
// bouquet entries and services (service id + original network id). One
// allocation for the whole table instead of one per entry.
#pragma once

#include <cstdint>
#include <vector>

namespace xantu {

template <class V> class TKeyIndex {
  public:
    explicit TKeyIndex(std::size_t expected) {
        std::size_t cap = 16;
        while (cap < expected * 2)
            cap <<= 1;
        slots_.resize(cap);
        mask_ = cap - 1;
    }
    // Inserts unless the key is present; returns the value stored for it.
    V* Emplace(uint64_t key, V* value, bool& inserted) {
        if ((size_ + 1) * 2 > slots_.size())
            Grow();
        Slot& s = Find(key);
        inserted = !s.used;
        if (!s.used) {
            s = {key, value, true};
            ++size_;
        }
        return s.value;
    }
    V* Get(uint64_t key) const {
        const Slot& s = const_cast<TKeyIndex*>(this)->Find(key);
        return s.used ? s.value : nullptr;
    }
    bool Contains(uint64_t key) const { return const_cast<TKeyIndex*>(this)->Find(key).used; }

  private:
    struct Slot {
        uint64_t key = 0;
        V* value = nullptr;
        bool used = false;
    };
    static std::size_t Hash(uint64_t k) {
        k ^= k >> 33;
        k *= 0xff51afd7ed558ccdULL;
        k ^= k >> 33;
        return static_cast<std::size_t>(k);
    }
    Slot& Find(uint64_t key) {
        std::size_t i = Hash(key) & mask_;
        while (slots_[i].used && slots_[i].key != key)
            i = (i + 1) & mask_;
        return slots_[i];
    }
    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.size() * 2, Slot{});
        mask_ = slots_.size() - 1;
        for (const Slot& s : old)
            if (s.used)
                Find(s.key) = s;
    }
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

} // namespace xantu
