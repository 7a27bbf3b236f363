#include "edit/ChangeSummary.h"

#include "edit/Texts.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace xantu {

namespace {

using TEntries = std::vector<TBouquetSnapshot::TEntry>;

uint64_t EntryKey(const TChannel& c) {
    return (uint64_t(uint32_t(c.ServiceId)) << 32) | uint32_t(c.Onid);
}

// How many elements of `seq` stay in place when the others move: the length
// of its longest increasing run (not necessarily contiguous).
std::size_t LongestIncreasing(const std::vector<uint32_t>& seq) {
    std::vector<uint32_t> tails;
    for (const uint32_t v : seq) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), v);
        if (at == tails.end())
            tails.push_back(v);
        else
            *at = v;
    }
    return tails.size();
}

bool SameKeys(const TEntries& a, const TEntries& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x.Key == y.Key; });
}

uint64_t HashKeys(const TEntries& entries) {
    uint64_t h = 1469598103934665603ull;
    for (const auto& e : entries) {
        h ^= e.Key;
        h *= 1099511628211ull;
        h ^= h >> 29;
    }
    return h;
}

std::vector<uint64_t> DistinctKeys(const TEntries& entries) {
    std::vector<uint64_t> keys;
    keys.reserve(entries.size());
    for (const auto& e : entries)
        keys.push_back(e.Key);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

class TComparer {
  public:
    TComparer(const TBouquetSnapshot& before, const TBouquetSnapshot& after)
        : old_(before.Bouquets), new_(after.Bouquets), oldMatch_(old_.size(), -1),
          newMatch_(new_.size(), -1) {}

    TChangeCounts Run() {
        PairByName();
        PairByEqualEntries();
        PairByMostlyEqualEntries();
        CountBouquets();
        CountEntries();
        return counts_;
    }

  private:
    void Pair(std::size_t o, std::size_t n) {
        oldMatch_[o] = int(n);
        newMatch_[n] = int(o);
    }

    // Equal names pair in their order, so that two bouquets of one name
    // pair with the two of the other state.
    void PairByName() {
        std::unordered_map<std::string_view, std::vector<std::size_t>> byName;
        byName.reserve(old_.size());
        for (std::size_t o = old_.size(); o-- > 0;)
            byName[old_[o].Name].push_back(o);
        for (std::size_t n = 0; n < new_.size(); ++n) {
            const auto it = byName.find(new_[n].Name);
            if (it == byName.end() || it->second.empty())
                continue;
            Pair(it->second.back(), n);
            it->second.pop_back();
        }
    }

    // A bouquet renamed and left alone otherwise. Empty bouquets are not
    // paired this way: one deleted and another created say nothing of a
    // rename.
    void PairByEqualEntries() {
        std::unordered_map<uint64_t, std::vector<std::size_t>> byHash;
        for (std::size_t o = old_.size(); o-- > 0;)
            if (oldMatch_[o] < 0 && !old_[o].Entries.empty())
                byHash[HashKeys(old_[o].Entries)].push_back(o);
        if (byHash.empty())
            return;
        for (std::size_t n = 0; n < new_.size(); ++n) {
            if (newMatch_[n] >= 0 || new_[n].Entries.empty())
                continue;
            const auto it = byHash.find(HashKeys(new_[n].Entries));
            if (it == byHash.end())
                continue;
            auto& candidates = it->second;
            for (std::size_t i = candidates.size(); i-- > 0;) {
                const std::size_t o = candidates[i];
                if (SameKeys(old_[o].Entries, new_[n].Entries)) {
                    Pair(o, n);
                    candidates.erase(candidates.begin() + std::ptrdiff_t(i));
                    break;
                }
            }
        }
    }

    // A bouquet renamed and edited: it shares more than half of its services
    // with a bouquet of the other state that has no partner yet. The work
    // is capped, so a degenerate pair of states cannot make this quadratic;
    // what is left over then counts as deleted and new.
    void PairByMostlyEqualEntries() {
        std::vector<std::vector<uint64_t>> oldKeys(old_.size());
        std::unordered_map<uint64_t, std::vector<std::size_t>> holders;
        std::size_t total = 0;
        for (std::size_t o = 0; o < old_.size(); ++o) {
            if (oldMatch_[o] >= 0 || old_[o].Entries.empty())
                continue;
            oldKeys[o] = DistinctKeys(old_[o].Entries);
            for (const uint64_t k : oldKeys[o])
                holders[k].push_back(o);
            total += old_[o].Entries.size();
        }
        if (holders.empty())
            return;
        for (const auto& b : new_)
            total += b.Entries.size();
        std::size_t budget = 4 * total + 1024;
        std::unordered_map<std::size_t, std::size_t> votes;
        for (std::size_t n = 0; n < new_.size() && budget > 0; ++n) {
            if (newMatch_[n] >= 0 || new_[n].Entries.empty())
                continue;
            const std::vector<uint64_t> keys = DistinctKeys(new_[n].Entries);
            votes.clear();
            for (const uint64_t k : keys) {
                const auto it = holders.find(k);
                if (it == holders.end())
                    continue;
                for (const std::size_t o : it->second) {
                    if (budget == 0)
                        return;
                    --budget;
                    if (oldMatch_[o] < 0)
                        ++votes[o];
                }
            }
            std::size_t best = 0, bestVotes = 0;
            for (const auto& [o, v] : votes)
                if (v > bestVotes || (v == bestVotes && o < best)) {
                    best = o;
                    bestVotes = v;
                }
            if (bestVotes > 0 && 2 * bestVotes > std::max(keys.size(), oldKeys[best].size()))
                Pair(best, n);
        }
    }

    void CountBouquets() {
        std::vector<uint32_t> order; // old places of the paired bouquets, in the new order
        for (std::size_t n = 0; n < new_.size(); ++n) {
            const int o = newMatch_[n];
            if (o < 0) {
                ++counts_.BouquetsAdded;
                continue;
            }
            order.push_back(uint32_t(o));
            const auto& was = old_[std::size_t(o)];
            if (was.Name != new_[n].Name)
                ++counts_.BouquetsRenamed;
            if (was.Hidden != new_[n].Hidden || was.Locked != new_[n].Locked)
                ++counts_.BouquetsChanged;
        }
        counts_.BouquetsDeleted = int(old_.size() - order.size());
        counts_.BouquetsMoved = int(order.size() - LongestIncreasing(order));
    }

    void CountEntries() {
        for (std::size_t o = 0; o < old_.size(); ++o)
            if (oldMatch_[o] < 0)
                for (const auto& e : old_[o].Entries)
                    ++surplus_[e.Key].Removed;
        for (std::size_t n = 0; n < new_.size(); ++n) {
            if (newMatch_[n] < 0) {
                for (const auto& e : new_[n].Entries)
                    ++surplus_[e.Key].Added;
                continue;
            }
            ComparePair(old_[std::size_t(newMatch_[n])].Entries, new_[n].Entries);
        }
        // A service that left one bouquet and reached another was moved.
        for (const auto& [key, s] : surplus_) {
            const int moved = std::min(s.Added, s.Removed);
            counts_.EntriesMoved += moved;
            counts_.EntriesAdded += s.Added - moved;
            counts_.EntriesRemoved += s.Removed - moved;
        }
    }

    // The entries of one bouquet in both states. Per service, as many
    // entries as both states hold are kept; the rest were added or removed.
    // Of those kept, the ones outside a longest common order moved.
    void ComparePair(const TEntries& was, const TEntries& now) {
        if (SameKeys(was, now)) {
            for (std::size_t i = 0; i < was.size(); ++i)
                if (was[i].Name != now[i].Name)
                    ++counts_.EntriesRenamed;
            return;
        }
        // Each service of the old state gets a small number; its old places
        // are grouped by that number, in order (oldStart_/oldPos_), and so
        // are its new places (newStart_/newPos_).
        ids_.clear();
        idKey_.clear();
        oldId_.resize(was.size());
        for (std::size_t i = 0; i < was.size(); ++i) {
            const auto [it, fresh] = ids_.try_emplace(was[i].Key, uint32_t(idKey_.size()));
            if (fresh)
                idKey_.push_back(was[i].Key);
            oldId_[i] = it->second;
        }
        const std::size_t services = idKey_.size();
        constexpr uint32_t kNone = UINT32_MAX;
        newId_.resize(now.size());
        for (std::size_t j = 0; j < now.size(); ++j) {
            const auto it = ids_.find(now[j].Key);
            newId_[j] = it == ids_.end() ? kNone : it->second;
            if (newId_[j] == kNone)
                ++surplus_[now[j].Key].Added;
        }
        Group(oldId_, services, oldStart_, oldPos_);
        Group(newId_, services, newStart_, newPos_);

        std::size_t common = 0, pairs = 0;
        for (std::size_t id = 0; id < services; ++id) {
            const std::size_t oc = oldStart_[id + 1] - oldStart_[id];
            const std::size_t nc = newStart_[id + 1] - newStart_[id];
            common += std::min(oc, nc);
            pairs += oc * nc;
            if (nc > oc)
                surplus_[idKey_[id]].Added += int(nc - oc);
            else if (oc > nc)
                surplus_[idKey_[id]].Removed += int(oc - nc);
            counts_.EntriesRenamed += RenamedOf(was, now, id);
        }
        counts_.EntriesMoved += int(common - KeptInOrder(now.size(), pairs));
    }

    // Places grouped by id: the places of id i are pos[start[i]..start[i+1]),
    // ascending. Places without an id are left out.
    void Group(const std::vector<uint32_t>& idOf, std::size_t ids, std::vector<uint32_t>& start,
               std::vector<uint32_t>& pos) {
        start.assign(ids + 1, 0);
        for (const uint32_t id : idOf)
            if (id < ids)
                ++start[id + 1];
        for (std::size_t i = 0; i < ids; ++i)
            start[i + 1] += start[i];
        pos.resize(start[ids]);
        fill_ = start;
        for (uint32_t p = 0; p < idOf.size(); ++p)
            if (idOf[p] < ids)
                pos[fill_[idOf[p]]++] = p;
    }

    // The length of the longest order the kept entries share in both
    // states. Exact (every old place of a service tried for each new entry
    // of it, latest first) while services repeat little inside the bouquet;
    // beyond a bound the j-th entry of a service pairs with its j-th one.
    std::size_t KeptInOrder(std::size_t newCount, std::size_t pairs) {
        tails_.clear();
        const auto place = [&](uint32_t p) {
            const auto at = std::lower_bound(tails_.begin(), tails_.end(), p);
            if (at == tails_.end())
                tails_.push_back(p);
            else
                *at = p;
        };
        if (pairs <= 8 * newCount + 4096) {
            for (std::size_t j = 0; j < newCount; ++j) {
                const uint32_t id = newId_[j];
                if (id >= idKey_.size())
                    continue;
                for (uint32_t k = oldStart_[id + 1]; k-- > oldStart_[id];)
                    place(oldPos_[k]);
            }
            return tails_.size();
        }
        fill_.assign(oldStart_.begin(), oldStart_.end() - 1);
        for (std::size_t j = 0; j < newCount; ++j) {
            const uint32_t id = newId_[j];
            if (id < idKey_.size() && fill_[id] < oldStart_[id + 1])
                place(oldPos_[fill_[id]++]);
        }
        return tails_.size();
    }

    // Entries of service `id` kept in both states whose names differ: the
    // names both states hold for it are matched as a whole, so a removed
    // duplicate does not make its neighbours look renamed.
    int RenamedOf(const TEntries& was, const TEntries& now, std::size_t id) {
        const uint32_t o0 = oldStart_[id], o1 = oldStart_[id + 1];
        const uint32_t n0 = newStart_[id], n1 = newStart_[id + 1];
        if (o1 - o0 == 1 && n1 - n0 == 1)
            return was[oldPos_[o0]].Name != now[newPos_[n0]].Name ? 1 : 0;
        if (o1 == o0 || n1 == n0)
            return 0;
        oldNames_.clear();
        newNames_.clear();
        for (uint32_t k = o0; k < o1; ++k)
            oldNames_.push_back(was[oldPos_[k]].Name);
        for (uint32_t k = n0; k < n1; ++k)
            newNames_.push_back(now[newPos_[k]].Name);
        std::sort(oldNames_.begin(), oldNames_.end());
        std::sort(newNames_.begin(), newNames_.end());
        std::size_t same = 0;
        for (std::size_t a = 0, b = 0; a < oldNames_.size() && b < newNames_.size();) {
            if (oldNames_[a] < newNames_[b]) {
                ++a;
            } else if (newNames_[b] < oldNames_[a]) {
                ++b;
            } else {
                ++same;
                ++a;
                ++b;
            }
        }
        return int(std::min(oldNames_.size(), newNames_.size()) - same);
    }

    struct TSurplus {
        int Added = 0;
        int Removed = 0;
    };

    const std::vector<TBouquetSnapshot::TBouquet>& old_;
    const std::vector<TBouquetSnapshot::TBouquet>& new_;
    std::vector<int> oldMatch_, newMatch_;
    TChangeCounts counts_;
    std::unordered_map<uint64_t, TSurplus> surplus_;
    // Scratch of ComparePair, kept between bouquets.
    std::unordered_map<uint64_t, uint32_t> ids_;
    std::vector<uint64_t> idKey_;
    std::vector<uint32_t> oldId_, newId_, oldStart_, oldPos_, newStart_, newPos_, tails_, fill_;
    std::vector<std::string_view> oldNames_, newNames_;
};

void AddPart(std::string& out, int count, const char* singular, const char* plural, bool& groupStarted,
             const char* what) {
    if (count == 0)
        return;
    if (!out.empty())
        out += ", ";
    out += std::to_string(count);
    out += ' ';
    if (!groupStarted) {
        out += count == 1 ? singular : plural;
        out += ' ';
        groupStarted = true;
    }
    out += what;
}

} // namespace

TBouquetSnapshot TakeSnapshot(const TBouquetTree& tree) {
    TBouquetSnapshot snap;
    bool inReserved = false;
    tree.ForEach([&](PBNode node) {
        const TBasicBNode* d = node->Data();
        if (!d)
            return;
        if (d->Kind == BKindBouquet && d->Bouquet) {
            inReserved = d->Reserved;
            if (!inReserved) {
                snap.Bouquets.push_back({});
                TBouquetSnapshot::TBouquet& b = snap.Bouquets.back();
                b.Name = d->Bouquet->Name;
                b.Hidden = d->Bouquet->Hidden;
                b.Locked = d->Bouquet->Locked;
                b.Entries.reserve(node->ChildCount());
            }
        } else if (d->Kind == BKindChannel && d->Channel && !inReserved && !d->Reserved &&
                   !snap.Bouquets.empty()) {
            snap.Bouquets.back().Entries.push_back({EntryKey(*d->Channel), d->Channel->Name});
        }
    });
    return snap;
}

TChangeCounts CompareSnapshots(const TBouquetSnapshot& before, const TBouquetSnapshot& after) {
    return TComparer(before, after).Run();
}

std::string ChangeSummaryLine(const TChangeCounts& c) {
    using namespace edit_texts;
    std::string parts;
    bool bouquets = false, entries = false;
    AddPart(parts, c.BouquetsAdded, kBouquet, kBouquets, bouquets, kNew);
    AddPart(parts, c.BouquetsDeleted, kBouquet, kBouquets, bouquets, kDeleted);
    AddPart(parts, c.BouquetsRenamed, kBouquet, kBouquets, bouquets, kRenamed);
    AddPart(parts, c.BouquetsMoved, kBouquet, kBouquets, bouquets, kMoved);
    AddPart(parts, c.BouquetsChanged, kBouquet, kBouquets, bouquets, kFlagsChanged);
    AddPart(parts, c.EntriesAdded, kEntry, kEntries, entries, kAdded);
    AddPart(parts, c.EntriesRemoved, kEntry, kEntries, entries, kRemoved);
    AddPart(parts, c.EntriesMoved, kEntry, kEntries, entries, kMoved);
    AddPart(parts, c.EntriesRenamed, kEntry, kEntries, entries, kRenamed);
    return std::string(kChanges) + (parts.empty() ? kChangesNone : parts) + ".";
}

} // namespace xantu
