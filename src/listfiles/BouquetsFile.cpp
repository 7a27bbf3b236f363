// Reader and writer of bouquets.xml, the reserved bouquet "andere" and the
// ties between entries and services.
#include "listfiles/BouquetsFile.h"

#include "listfiles/ServiceIndex.h"
#include "listfiles/Texts.h"
#include "listfiles/UXml.h"
#include "text/ListText.h"

namespace xantu {

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

bool IsEntry(PBNode n) {
    return n->Data() && n->Data()->Kind == BKindChannel && n->Data()->Channel;
}

void NoteName(TBouquetsRead& report, std::string_view name) {
    if (report.NamesUtf8 && !IsValidUtf8(name))
        report.NamesUtf8 = false;
}

void ReadEntries(TBouquetTree& tree, PBNode bouquetNode, TBouquet* bouquet, const TElementList& channels,
                 TListNameArena& names, TBouquetsRead& report) {
    std::string_view v[5];
    tree.ReserveChildren(bouquetNode, channels.size());
    for (std::size_t k = 0; k < channels.size(); ++k) {
        // sat_position is known but never read: it is worked out anew after
        // every load.
        std::string extra =
            SortAttrs(channels.AttrsOf(k), {"serviceid", "name", "tsid", "onid", "sat_position"}, v);
        NoteName(report, v[1]);
        TListName name = names.Add(v[1]);
        auto cNode = std::make_unique<TBasicBNode>(name, ImgSpecial);
        const int32_t serviceId = HexValue(v[0]);
        const int32_t tsid = HexValue(v[2]);
        const int32_t onid = HexValue(v[3]);
        cNode->SetChannel(bouquet, std::move(name), serviceId, tsid, onid);
        cNode->Channel->Extra = std::move(extra);
        tree.AddChild(bouquetNode, std::move(cNode));
    }
}

// A new entry of "andere" for the service: named after it, tied to the
// service that answers for its key.
std::unique_ptr<TBasicBNode> AndereEntry(TBouquet* andere, const TTrChannel& service) {
    const TTransponder& tp = *service.Transponder;
    auto entry = std::make_unique<TBasicBNode>(service.Name, ImgSpecial);
    entry->SetChannel(andere, service.Name, service.ServiceId, tp.Id, tp.Onid);
    entry->Reserved = true;
    entry->ImageIndex = ImageOfServiceType(service.ServiceType);
    return entry;
}

void Tie(TBasicBNode& entry, PSNode service, bool refreshTsid) {
    TTrChannel* s = service->Data()->Channel.get();
    entry.Channel->Service = s;
    entry.ImageIndex = ImageOfServiceType(s->ServiceType);
    if (refreshTsid && s->Transponder)
        entry.Channel->Tsid = s->Transponder->Id;
}

} // namespace

void ReadBouquets(std::string_view text, TBouquetTree& tree, TBouquetsRead& report) {
    report = TBouquetsRead{};
    tree.Clear();
    std::string uncommented;
    TTagStarts starts;
    std::string_view x = GetListRoot(text, "xantu", "XANTU", "bouquets.xml", uncommented, &starts);
    if (x.empty())
        throw EXMLException(listfiles_texts::BouquetsRootMissing);

    TElementList bouquets;
    GetElementListOrThrow(ElementContent(x), "bouquet", bouquets, "bouquets.xml", &starts);
    if (bouquets.empty())
        return;

    PBNode root = tree.AddChild(nullptr, std::make_unique<TBasicBNode>("Bouquets", ImgStructure));
    tree.ReserveChildren(root, bouquets.size() + 1);
    TElementList channels;
    // The names of the file side by side; a node's caption shares its
    // payload's name.
    TListNameArena names;
    std::string_view v[3];
    for (std::size_t k = 0; k < bouquets.size(); ++k) {
        const std::string_view entry = bouquets.Elements[k];
        std::string extra = SortAttrs(bouquets.AttrsOf(k), {"name", "hidden", "locked"}, v);
        NoteName(report, v[0]);
        TListName name = names.Add(v[0]);
        auto bNode = std::make_unique<TBasicBNode>(name, ImgStructure);
        const bool locked = BoolValue(v[2]);
        const bool hidden = BoolValue(v[1]);
        bNode->SetBouquet(std::move(name), hidden, locked);
        bNode->Bouquet->Extra = std::move(extra);
        TBouquet* bouquet = bNode->Bouquet.get();
        PBNode bTreeNode = tree.AddChild(root, std::move(bNode));
        GetElementListOrThrow(ElementContent(entry), "channel", channels, "bouquets.xml", &starts);
        ReadEntries(tree, bTreeNode, bouquet, channels, names, report);
    }

    auto andere = std::make_unique<TBasicBNode>("andere", ImgReserved);
    andere->SetBouquet("andere", false, false);
    andere->Reserved = true;
    tree.AddChild(root, std::move(andere));
    root->Expanded = true;
}

PBNode ReservedBouquet(const TBouquetTree& tree) {
    // The reserved bouquet is a child of the root; no need to walk entries.
    for (std::size_t t = 0; t < tree.TopCount(); ++t) {
        PBNode top = tree.Top(t);
        if (top->Data() && top->Data()->Kind == BKindBouquet && top->Data()->Reserved)
            return top;
        for (std::size_t i = 0; i < top->ChildCount(); ++i) {
            PBNode n = top->Child(i);
            if (n->Data() && n->Data()->Kind == BKindBouquet && n->Data()->Reserved)
                return n;
        }
    }
    return nullptr;
}

std::size_t FillAndere(TBouquetTree& tree, const TServiceTree& services, TServiceIndex& index) {
    PBNode andere = ReservedBouquet(tree);
    if (!andere)
        return 0;
    // A key any entry holds, "andere" included, needs no entry; an entry
    // added here covers later services of the same key.
    index.ClearMarks();
    tree.ForEach([&](PBNode n) {
        if (IsEntry(n))
            index.Mark(MatchKey(*n->Data()->Channel));
    });
    TBouquet* bouquet = andere->Data()->Bouquet.get();
    std::size_t added = 0;
    services.ForEach([&](PSNode s) {
        const TBasicSNode* d = s->Data();
        if (!d || d->Kind != SKindChannel || !d->Channel->Transponder ||
            !IsTvOrRadio(d->Channel->ServiceType))
            return;
        if (!index.Mark(MatchKey(*d->Channel)))
            return;
        tree.AddChild(andere, AndereEntry(bouquet, *d->Channel));
        ++added;
    });
    return added;
}

std::vector<PBNode> LinkChannels(TBouquetTree& tree, const TServiceIndex& index, bool refreshTsids) {
    std::vector<PBNode> unlinked;
    tree.ForEach([&](PBNode n) {
        if (!IsEntry(n))
            return;
        TBasicBNode& entry = *n->Data();
        if (PSNode service = index.Find(*entry.Channel)) {
            Tie(entry, service, refreshTsids);
            return;
        }
        entry.Channel->Service = nullptr;
        unlinked.push_back(n);
    });
    return unlinked;
}

void RefreshTsids(TBouquetTree& tree) {
    tree.ForEach([](PBNode n) {
        if (IsEntry(n) && n->Data()->Channel->Service && n->Data()->Channel->Service->Transponder)
            n->Data()->Channel->Tsid = n->Data()->Channel->Service->Transponder->Id;
    });
}

namespace {

// How far ahead the index is asked to fetch a key's slot: far enough for the
// memory to answer, near enough for the slot to be still cached.
constexpr std::size_t kFetchAhead = 16;

} // namespace

std::vector<PBNode> LinkLoadedLists(TBouquetTree& tree, TServiceTree& services, TServiceIndex& index) {
    std::vector<PBNode> unlinked;
    index.ClearMarks();
    PBNode andere = ReservedBouquet(tree);
    // The keys are gathered in tree order first and looked up after: the
    // look-ups land anywhere in the index, and knowing the next keys lets
    // the index fetch their slots while the current one is handled.
    // The file's entries stand before "andere", which a load leaves empty.
    std::vector<PBNode> entries;
    std::vector<uint64_t> keys;
    tree.ForEach([&](PBNode n) {
        if (IsEntry(n)) {
            entries.push_back(n);
            keys.push_back(MatchKey(*n->Data()->Channel));
        }
    });
    std::vector<PSNode> found(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i + kFetchAhead < keys.size())
            index.Prefetch(keys[i + kFetchAhead]);
        found[i] = index.FindKey(keys[i]);
        if (found[i])
            index.Mark(keys[i]);
    }
    // The services found lie anywhere in memory, each reached through its
    // node and its wrapper: those are fetched ahead one step after another.
    const std::size_t n = entries.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i + 3 * kFetchAhead / 2 < n && found[i + 3 * kFetchAhead / 2])
            __builtin_prefetch(found[i + 3 * kFetchAhead / 2]);
        if (i + kFetchAhead < n && found[i + kFetchAhead])
            __builtin_prefetch(found[i + kFetchAhead]->Data());
        if (i + kFetchAhead / 2 < n && found[i + kFetchAhead / 2])
            __builtin_prefetch(found[i + kFetchAhead / 2]->Data()->Channel.get());
        TBasicBNode& entry = *entries[i]->Data();
        if (found[i]) {
            Tie(entry, found[i], true);
            continue;
        }
        entry.Channel->Service = nullptr;
        unlinked.push_back(entries[i]);
    }

    std::vector<TTrChannel*> candidates;
    keys.clear();
    services.ForEach([&](PSNode s) {
        TBasicSNode* d = s->Data();
        if (!d || d->Kind != SKindChannel)
            return;
        TTrChannel& service = *d->Channel;
        if (service.ChannelNr.empty())
            service.ChannelNr.assign(1, '0');
        if (!andere || !service.Transponder || !IsTvOrRadio(service.ServiceType))
            return;
        candidates.push_back(&service);
        keys.push_back(MatchKey(service));
    });
    if (!andere)
        return unlinked;
    TBouquet* bouquet = andere->Data()->Bouquet.get();
    tree.ReserveChildren(andere, andere->ChildCount() + candidates.size());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (i + kFetchAhead < keys.size())
            index.Prefetch(keys[i + kFetchAhead]);
        // A key any entry holds, or an earlier service, needs no entry.
        PSNode first = index.MarkAndFind(keys[i]);
        if (!first)
            continue;
        PBNode added = tree.AddChild(andere, AndereEntry(bouquet, *candidates[i]));
        Tie(*added->Data(), first, true);
    }
    return unlinked;
}

std::string WriteBouquets(const TBouquetTree& tree, uint8_t boxType) {
    if (boxType != BoxSat && boxType != BoxCable)
        throw Exception(listfiles_texts::NoListsToSave);
    const bool sat = boxType == BoxSat;
    std::string out;
    out.reserve(tree.TotalCount() * 96 + 64);
    out.append(kDeclaration);
    out.append("<XANTU>\n");
    // Every entry stands below its bouquet, so writing each bouquet with its
    // entries and then its closing line gives the same text as inserting the
    // entries before the closing line of the bouquet written last.
    PBNode root = tree.GetFirst();
    bool open = false;
    for (PBNode n = root ? tree.GetNext(root) : nullptr; n; n = tree.GetNext(n)) {
        const TBasicBNode* d = n->Data();
        if (!d || d->Reserved)
            continue;
        if (d->Kind == BKindBouquet) {
            if (open)
                out.append("\t</Bouquet>\n");
            out.push_back('\t');
            if (sat)
                d->AppendSatBoxXml(out);
            else
                d->AppendCableBoxXml(out);
            out.push_back('\n');
            open = true;
        } else if (d->Kind == BKindChannel && open) {
            out.append("\t\t");
            if (sat)
                d->AppendSatBoxXml(out);
            else
                d->AppendCableBoxXml(out);
            out.push_back('\n');
        }
    }
    if (open)
        out.append("\t</Bouquet>\n");
    out.append("</XANTU>");
    return out;
}

} // namespace xantu
