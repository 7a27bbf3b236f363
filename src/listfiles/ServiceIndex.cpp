#include "listfiles/ServiceIndex.h"

namespace xantu {

namespace {

// Half full at most: probes stay short, and 100,000 services take 4 MB.
std::size_t CapacityFor(std::size_t keys) {
    std::size_t cap = 16;
    while (cap < keys * 2)
        cap <<= 1;
    return cap;
}

} // namespace

void TServiceIndex::Build(const TServiceTree& tree) {
    Clear();
    Reserve(tree.TotalCount());
    tree.ForEach([this](PSNode n) { Add(n); });
}

void TServiceIndex::Clear() {
    for (Slot& s : slots_)
        s = Slot{};
    marks_.clear();
    size_ = 0;
}

void TServiceIndex::Reserve(std::size_t services) {
    const std::size_t cap = CapacityFor(services);
    if (cap > slots_.size())
        Rehash(cap);
}

void TServiceIndex::Rehash(std::size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    marks_.clear();
    for (const Slot& s : old)
        if (s.Node)
            slots_[SlotOf(s.Key)] = s;
}

std::size_t TServiceIndex::SlotOf(uint64_t key) const {
    std::size_t i = Mix(key) & mask_;
    while (slots_[i].Node && slots_[i].Key != key)
        i = (i + 1) & mask_;
    return i;
}

void TServiceIndex::Add(PSNode service) {
    const TBasicSNode* d = service ? service->Data() : nullptr;
    if (!d || d->Kind != SKindChannel || !d->Channel || !d->Channel->Transponder)
        return;
    Put(MatchKey(*d->Channel), service);
}

void TServiceIndex::Put(uint64_t key, PSNode service) {
    if ((size_ + 1) * 2 > slots_.size())
        Rehash(CapacityFor(size_ + 1));
    Slot& s = slots_[SlotOf(key)];
    if (s.Node)
        return;
    s = Slot{key, service};
    ++size_;
}

void TServiceIndex::AddAll(const std::vector<TKeyed>& services) {
    Reserve(size_ + services.size());
    // Far enough ahead for the memory to answer, near enough to stay cached.
    constexpr std::size_t kAhead = 16;
    const std::size_t n = services.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kAhead < n)
            Prefetch(services[i + kAhead].Key);
        Put(services[i].Key, services[i].Node);
    }
}

PSNode TServiceIndex::Find(int32_t serviceId, int32_t onid) const {
    return FindKey(MatchKey(serviceId, onid));
}

PSNode TServiceIndex::FindKey(uint64_t key) const {
    if (size_ == 0)
        return nullptr;
    return slots_[SlotOf(key)].Node;
}

void TServiceIndex::ClearMarks() {
    marks_.assign(slots_.size(), 0);
}

bool TServiceIndex::Mark(uint64_t key) {
    return MarkAndFind(key) != nullptr;
}

PSNode TServiceIndex::MarkAndFind(uint64_t key) {
    if (size_ == 0)
        return nullptr;
    if (marks_.size() != slots_.size())
        ClearMarks();
    const std::size_t i = SlotOf(key);
    if (!slots_[i].Node || marks_[i])
        return nullptr;
    marks_[i] = 1;
    return slots_[i].Node;
}

} // namespace xantu
