// Reader and writer of bouquets.xml, the reserved bouquet "andere" and the
// link between entries and services.
#include "core/ListDocument.h"
#include "listfiles/UXml.h"
#include "text/ListText.h"

#include "core/KeyIndex.h"

namespace xantu {

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

uint64_t MatchKey(int32_t serviceId, int32_t onid) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(serviceId)) << 32) | static_cast<uint32_t>(onid);
}

bool IsEntry(PBNode n) {
    return n->Data() && n->Data()->Kind == BKindChannel && n->Data()->Channel;
}

} // namespace

void TListDocument::LoadBouquets(std::string_view text) {
    VTB.Clear();
    std::string uncommented;
    bool complete = true;
    std::string_view x = GetRootTag(BlankComments(text, uncommented), "xantu", complete);
    if (!complete)
        throw EXMLException("Die Datei bouquets.xml ist unvollst\xC3\xA4ndig: das Ende </XANTU> fehlt.");
    if (x.empty())
        throw EXMLException("bouquets load <xantu> failed");

    TTagList bouquets;
    GetTagListOrThrow(ElementContent(x), "bouquet", bouquets, "bouquets.xml");
    if (bouquets.empty())
        return;

    PBNode root = AddBouquetNode(nullptr, std::make_unique<TBasicBNode>("Bouquets", ImgStructure));
    TTagList channels;
    TAttrList attrs;
    std::string_view v[5];
    for (std::string_view entry : bouquets) {
        GetAttrList(entry, attrs);
        std::string extra = SortAttrs(attrs, {"name", "hidden", "locked"}, v);
        std::string name(v[0]);
        auto bNode = std::make_unique<TBasicBNode>(name, ImgStructure);
        bool locked = BoolValue(v[2]);
        bool hidden = BoolValue(v[1]);
        bNode->SetBouquet(std::move(name), hidden, locked);
        bNode->Bouquet->Extra = std::move(extra);
        TBouquet* bouquet = bNode->Bouquet.get();
        PBNode bTreeNode = AddBouquetNode(root, std::move(bNode));

        GetTagListOrThrow(ElementContent(entry), "channel", channels, "bouquets.xml");
        VTB.ReserveChildren(bTreeNode, channels.size());
        for (std::string_view c : channels) {
            GetAttrList(c, attrs);
            // sat_position is known but never read: it is worked out anew
            // after every load.
            extra = SortAttrs(attrs, {"serviceid", "name", "tsid", "onid", "sat_position"}, v);
            std::string chName(v[1]);
            auto cNode = std::make_unique<TBasicBNode>(chName, ImgSpecial);
            int32_t serviceId = HexValue(v[0]);
            int32_t tsid = HexValue(v[2]);
            int32_t onid = HexValue(v[3]);
            cNode->SetChannel(bouquet, std::move(chName), serviceId, tsid, onid);
            cNode->Channel->Extra = std::move(extra);
            AddBouquetNode(bTreeNode, std::move(cNode));
        }
    }

    auto andere = std::make_unique<TBasicBNode>("andere", ImgReserved);
    andere->SetBouquet("andere", false, false);
    andere->Reserved = true;
    AddBouquetNode(root, std::move(andere));
    root->Expanded = true;
}

void TListDocument::FillAndere() {
    PBNode andere = ReservedBouquet();
    if (!andere)
        return;
    // Keys of every entry present, "andere" included; a service whose key is
    // already there needs no entry, and an entry added here covers later
    // services with the same key.
    TKeyIndex<TChannel> referenced(VTB.TotalCount() + VTS.TotalCount());
    bool inserted = false;
    VTB.ForEach([&](PBNode n) {
        if (IsEntry(n))
            referenced.Emplace(MatchKey(n->Data()->Channel->ServiceId, n->Data()->Channel->Onid),
                               n->Data()->Channel.get(), inserted);
    });
    TBouquet* bouquet = andere->Data()->Bouquet.get();
    VTS.ForEach([&](PSNode s) {
        TBasicSNode* d = s->Data();
        if (!d || d->Kind != SKindChannel || !IsTvOrRadio(d->Channel->ServiceType))
            return;
        const TTrChannel& service = *d->Channel;
        const TTransponder& tp = *service.Transponder;
        referenced.Emplace(MatchKey(service.ServiceId, tp.Onid), nullptr, inserted);
        if (!inserted)
            return;
        auto entry = std::make_unique<TBasicBNode>(service.Name, ImgSpecial);
        entry->SetChannel(bouquet, service.Name, service.ServiceId, tp.Id, tp.Onid);
        entry->Reserved = true;
        entry->ImageIndex = ImageOfServiceType(service.ServiceType);
        AddBouquetNode(andere, std::move(entry));
    });
}

void TListDocument::LinkChannels() {
    // The first service in tree order wins for every key.
    TKeyIndex<TTrChannel> services(VTS.TotalCount());
    bool inserted = false;
    VTS.ForEach([&](PSNode s) {
        TBasicSNode* d = s->Data();
        if (d && d->Kind == SKindChannel && d->Channel->Transponder)
            services.Emplace(MatchKey(d->Channel->ServiceId, d->Channel->Transponder->Onid), d->Channel.get(),
                             inserted);
    });
    std::vector<TUnlinkedEntry> unlinked;
    VTB.ForEach([&](PBNode n) {
        if (!IsEntry(n))
            return;
        TBasicBNode& entry = *n->Data();
        if (TTrChannel* service = services.Get(MatchKey(entry.Channel->ServiceId, entry.Channel->Onid))) {
            entry.Channel->Service = service;
            entry.ImageIndex = ImageOfServiceType(service->ServiceType);
            return;
        }
        entry.Channel->Service = nullptr;
        if (Info_ChannelWithoutService) {
            PBNode parent = n->Parent();
            std::string bouquetCaption = parent && parent->Data() ? parent->Data()->Caption : std::string();
            unlinked.push_back({Display(bouquetCaption), Display(entry.Channel->Name)});
        }
    });
    if (!unlinked.empty())
        Host().ReportChannelsWithoutService(unlinked);
}

void TListDocument::RefreshTsids() {
    VTB.ForEach([](PBNode n) {
        if (IsEntry(n) && n->Data()->Channel->Service && n->Data()->Channel->Service->Transponder)
            n->Data()->Channel->Tsid = n->Data()->Channel->Service->Transponder->Id;
    });
}

std::string TListDocument::SaveBouquets() const {
    if (BoxType != BoxSat && BoxType != BoxCable)
        throw Exception("Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ...");
    const bool sat = BoxType == BoxSat;
    std::string out;
    out.reserve(VTB.TotalCount() * 96 + 64);
    out.append(kDeclaration);
    out.append("<XANTU>\n");
    // Every entry stands below its bouquet, so writing each bouquet with its
    // entries and then its closing line gives the same text as inserting the
    // entries before the closing line of the bouquet written last.
    PBNode root = VTB.GetFirst();
    bool open = false;
    for (PBNode n = root ? VTB.GetNext(root) : nullptr; n; n = VTB.GetNext(n)) {
        const TBasicBNode* d = n->Data();
        if (!d || d->Reserved)
            continue;
        if (d->Kind == BKindBouquet) {
            if (open)
                out.append("\t</Bouquet>\n");
            out.push_back('\t');
            out.append(sat ? d->SatBoxXml() : d->CableBoxXml());
            out.push_back('\n');
            open = true;
        } else if (d->Kind == BKindChannel && open) {
            out.append("\t\t");
            out.append(sat ? d->SatBoxXml() : d->CableBoxXml());
            out.push_back('\n');
        }
    }
    if (open)
        out.append("\t</Bouquet>\n");
    out.append("</XANTU>");
    return out;
}

} // namespace xantu
