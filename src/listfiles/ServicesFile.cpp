// Reader and writer of services.xml.
#include "listfiles/ServicesFile.h"

#include "listfiles/ServiceIndex.h"
#include "listfiles/Texts.h"
#include "listfiles/UXml.h"
#include "model/XmlFormat.h"
#include "text/ListText.h"

namespace xantu {

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// One read: the tree, its report, the index, and the lists reused from
// element to element so that a big file does not allocate per element.
struct TServicesReader {
    TServiceTree& Tree;
    TServicesRead& Report;
    TServiceIndex* Index;
    bool Satellite;
    TElementList Transponders;
    TElementList Channels;
    // The names of the file side by side; a channel's caption shares its
    // name's bytes.
    TListNameArena Names;
    const TTagStarts* Starts;
    // The services for the index, taken into it together once all are read.
    std::vector<TServiceIndex::TKeyed> Keyed;

    void NoteName(std::string_view name) {
        if (Report.NamesUtf8 && !IsValidUtf8(name))
            Report.NamesUtf8 = false;
    }
    void Network(PSNode root, std::string_view entry, std::span<const TXmlAttr> attrs);
    void Transponder(PSNode satNode, TSat* sat, std::string_view tp, std::span<const TXmlAttr> attrs);
    void Channel(PSNode trNode, TTransponder* transponder, std::span<const TXmlAttr> attrs);
};

void TServicesReader::Network(PSNode root, std::string_view entry, std::span<const TXmlAttr> attrs) {
    std::string_view v[3];
    std::string extra = SortAttrs(attrs, {"name", "diseqc", "position"}, v);
    NoteName(v[0]);
    TListName name = Names.Add(v[0]);
    auto satNode = std::make_unique<TBasicSNode>(name, ImgStructure);
    if (Satellite)
        satNode->SetSat(std::move(name), std::string(v[1]), std::string(v[2]));
    else
        satNode->SetSat(std::move(name), {}, {});
    satNode->Sat->Extra = std::move(extra);
    TSat* sat = satNode->Sat.get();
    PSNode node = Tree.AddChild(root, std::move(satNode));

    GetElementListOrThrow(ElementContent(entry), "transponder", Transponders, "services.xml", Starts);
    Tree.ReserveChildren(node, Transponders.size());
    for (std::size_t k = 0; k < Transponders.size(); ++k)
        Transponder(node, sat, Transponders.Elements[k], Transponders.AttrsOf(k));
}

void TServicesReader::Transponder(PSNode satNode, TSat* sat, std::string_view tp,
                                  std::span<const TXmlAttr> attrs) {
    std::string_view v[8];
    // Both names of the last value are known on either kind of box; each box
    // reads its own.
    std::string extra = SortAttrs(
        attrs,
        {"id", "onid", "frequency", "inversion", "symbol_rate", "fec_inner", "polarization", "modulation"},
        v);
    auto trNode = std::make_unique<TBasicSNode>(std::string(), ImgStructure);
    // Converted in the order the values were always read, so that a file
    // with several bad values reports the same one.
    const int32_t onid = HexValue(v[1]);
    const int32_t frequency = IntValue(v[2]);
    std::string inversion(v[3]);
    const int32_t symbolRate = IntValue(v[4]);
    const int32_t fecInner = IntValue(v[5]);
    const int32_t polarization = IntValue(Satellite ? v[6] : v[7]);
    const int32_t id = HexValue(v[0]);
    trNode->SetTransponder(sat, id, onid, frequency, symbolRate, fecInner, polarization,
                           std::move(inversion));
    trNode->Transponder->Extra = std::move(extra);
    trNode->Caption = "Transponder 0x" + HexText(id, 4);
    TTransponder* transponder = trNode->Transponder.get();
    PSNode node = Tree.AddChild(satNode, std::move(trNode));

    GetElementListOrThrow(ElementContent(tp), "channel", Channels, "services.xml", Starts);
    Tree.ReserveChildren(node, Channels.size());
    for (std::size_t k = 0; k < Channels.size(); ++k)
        Channel(node, transponder, Channels.AttrsOf(k));
}

void TServicesReader::Channel(PSNode trNode, TTransponder* transponder, std::span<const TXmlAttr> attrs) {
    std::string_view v[4];
    std::string extra = SortAttrs(attrs, {"service_id", "name", "service_type", "channel_nr"}, v);
    auto chNode = std::make_unique<TBasicSNode>(std::string(), ImgSpecial);
    const int32_t serviceId = HexValue(v[0]);
    const int32_t serviceType = HexValue(v[2]);
    NoteName(v[1]);
    chNode->Caption = Names.Add(v[1]);
    chNode->SetChannel(transponder, chNode->Caption, std::string(v[3]), serviceType, serviceId);
    chNode->Channel->Extra = std::move(extra);
    chNode->ImageIndex = ImageOfServiceType(serviceType);
    if (chNode->ImageIndex == ImgTV)
        ++Report.CountTV;
    else if (chNode->ImageIndex == ImgRadio)
        ++Report.CountRadio;
    ++Report.CountAll;
    PSNode node = Tree.AddChild(trNode, std::move(chNode));
    if (Index)
        Keyed.push_back({MatchKey(serviceId, transponder->Onid), node});
}

} // namespace

void ReadServices(std::string_view text, TServiceTree& tree, TServicesRead& report, TServiceIndex* index) {
    report = TServicesRead{};
    tree.Clear();
    if (index)
        index->Clear();
    PSNode root = tree.AddChild(nullptr, std::make_unique<TBasicSNode>("Services", ImgStructure));

    std::string uncommented;
    TTagStarts starts;
    std::string_view x = GetListRoot(text, "xantu", "XANTU", "services.xml", uncommented, &starts);
    if (x.empty())
        throw EXMLException(listfiles_texts::ServicesRootMissing);

    TElementList networks;
    TElementList cables;
    GetElementListOrThrow(ElementContent(x), "sat", networks, "services.xml", &starts);
    GetElementListOrThrow(ElementContent(x), "cable", cables, "services.xml", &starts);
    // One list is for one kind of box; reading one kind and dropping the
    // other would lose the dropped networks on the next save.
    if (!networks.empty() && !cables.empty())
        throw EXMLException(listfiles_texts::SatAndCable);
    const bool satellite = !networks.empty();
    const TElementList& list = satellite ? networks : cables;
    if (!list.empty()) {
        report.BoxType = satellite ? BoxSat : BoxCable;
        tree.ReserveChildren(root, list.size());
        TServicesReader reader{tree, report, index, satellite, {}, {}, {}, &starts, {}};
        if (index)
            reader.Keyed.reserve(text.size() / 96); // a service line is about 100 bytes
        for (std::size_t k = 0; k < list.size(); ++k)
            reader.Network(root, list.Elements[k], list.AttrsOf(k));
        if (index)
            index->AddAll(reader.Keyed);
    }
    root->Expanded = true;
}

void DefaultChannelNumbers(TServiceTree& tree) {
    tree.ForEach([](PSNode n) {
        TBasicSNode* d = n->Data();
        if (d && d->Kind == SKindChannel && d->Channel->ChannelNr.empty())
            d->Channel->ChannelNr.assign(1, '0');
    });
}

std::string WriteServices(const TServiceTree& tree, uint8_t boxType) {
    const bool sat = boxType == BoxSat;
    if (boxType != BoxSat && boxType != BoxCable)
        throw Exception(listfiles_texts::NoListsToSave);
    const std::string_view closeNetwork = sat ? "\t</sat>\n" : "\t</cable>\n";

    std::string out;
    out.reserve(tree.TotalCount() * 96 + 64);
    out.append(kDeclaration);
    out.append("<XANTU>\n");
    // Each element is closed once all of its descendants are written, so the
    // text comes out in one forward pass.
    PSNode root = tree.GetFirst();
    for (std::size_t s = 0; root && s < root->ChildCount(); ++s) {
        PSNode satNode = root->Child(s);
        out.push_back('\t');
        if (sat)
            satNode->Data()->AppendSatBoxXml(out);
        else
            satNode->Data()->AppendCableBoxXml(out);
        out.push_back('\n');
        for (std::size_t i = 0; i < satNode->ChildCount(); ++i) {
            PSNode tr = satNode->Child(i);
            out.append("\t\t");
            if (sat)
                tr->Data()->AppendSatBoxXml(out);
            else
                tr->Data()->AppendCableBoxXml(out);
            out.push_back('\n');
            for (std::size_t k = 0; k < tr->ChildCount(); ++k) {
                out.append("\t\t\t");
                tr->Child(k)->Data()->AppendSatBoxXml(out);
                out.push_back('\n');
            }
            out.append("\t\t</transponder>\n");
        }
        out.append(closeNetwork);
    }
    out.append("</XANTU>");
    return out;
}

} // namespace xantu
