// Reader and writer of services.xml.
#include "core/ListDocument.h"
#include "listfiles/UXml.h"
#include "model/XmlFormat.h"

namespace xantu {

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

void ReadNetworks(TListDocument& doc, PSNode root, const TTagList& networks, bool satellite) {
    TTagList transponders;
    TTagList channels;
    TAttrList attrs;
    std::string_view v[8];
    for (std::string_view entry : networks) {
        GetAttrList(entry, attrs);
        std::string extra = SortAttrs(attrs, {"name", "diseqc", "position"}, v);
        std::string name(v[0]);
        auto satNode = std::make_unique<TBasicSNode>(name, ImgStructure);
        if (satellite)
            satNode->SetSat(std::move(name), std::string(v[1]), std::string(v[2]));
        else
            satNode->SetSat(std::move(name), {}, {});
        satNode->Sat->Extra = std::move(extra);
        TSat* sat = satNode->Sat.get();
        PSNode satTreeNode = doc.AddServiceNode(root, std::move(satNode));

        GetTagListOrThrow(ElementContent(entry), "transponder", transponders, "services.xml");
        doc.VTS.ReserveChildren(satTreeNode, transponders.size());
        for (std::string_view tp : transponders) {
            GetAttrList(tp, attrs);
            // Both names of the last value are known on either kind of box;
            // each box reads its own.
            extra = SortAttrs(attrs,
                              {"id", "onid", "frequency", "inversion", "symbol_rate", "fec_inner",
                               "polarization", "modulation"},
                              v);
            auto trNode = std::make_unique<TBasicSNode>(std::string(), ImgStructure);
            // Converted in the order the values were always read, so that a
            // file with several bad values reports the same one.
            int32_t onid = HexValue(v[1]);
            int32_t frequency = IntValue(v[2]);
            std::string inversion(v[3]);
            int32_t symbolRate = IntValue(v[4]);
            int32_t fecInner = IntValue(v[5]);
            int32_t polarization = IntValue(satellite ? v[6] : v[7]);
            int32_t id = HexValue(v[0]);
            trNode->SetTransponder(sat, id, onid, frequency, symbolRate, fecInner, polarization,
                                   std::move(inversion));
            trNode->Transponder->Extra = std::move(extra);
            trNode->Caption = "Transponder 0x" + HexText(id, 4);
            TTransponder* transponder = trNode->Transponder.get();
            PSNode trTreeNode = doc.AddServiceNode(satTreeNode, std::move(trNode));

            GetTagListOrThrow(ElementContent(tp), "channel", channels, "services.xml");
            doc.VTS.ReserveChildren(trTreeNode, channels.size());
            for (std::string_view ch : channels) {
                GetAttrList(ch, attrs);
                extra = SortAttrs(attrs, {"service_id", "name", "service_type", "channel_nr"}, v);
                auto chNode = std::make_unique<TBasicSNode>(std::string(), ImgSpecial);
                int32_t serviceId = HexValue(v[0]);
                int32_t serviceType = HexValue(v[2]);
                std::string chName(v[1]);
                chNode->Caption = chName;
                chNode->SetChannel(transponder, std::move(chName), std::string(v[3]), serviceType, serviceId);
                chNode->Channel->Extra = std::move(extra);
                chNode->ImageIndex = ImageOfServiceType(serviceType);
                if (chNode->ImageIndex == ImgTV)
                    ++doc.CountTV;
                else if (chNode->ImageIndex == ImgRadio)
                    ++doc.CountRadio;
                ++doc.CountAll;
                doc.AddServiceNode(trTreeNode, std::move(chNode));
            }
        }
    }
}

} // namespace

void TListDocument::LoadServices(std::string_view text) {
    BoxType = BoxNone;
    CountAll = CountTV = CountRadio = 0;
    VTS.Clear();
    PSNode root = AddServiceNode(nullptr, std::make_unique<TBasicSNode>("Services", ImgStructure));

    std::string uncommented;
    bool complete = true;
    std::string_view x = GetRootTag(BlankComments(text, uncommented), "xantu", complete);
    if (!complete)
        throw EXMLException("Die Datei services.xml ist unvollst\xC3\xA4ndig: das Ende </XANTU> fehlt.");
    if (x.empty())
        throw EXMLException("services load <xantu> failed");

    TTagList networks;
    TTagList cables;
    GetTagListOrThrow(ElementContent(x), "sat", networks, "services.xml");
    GetTagListOrThrow(ElementContent(x), "cable", cables, "services.xml");
    // One list is for one kind of box; reading one kind and dropping the
    // other would lose the dropped networks on the next save.
    if (!networks.empty() && !cables.empty())
        throw EXMLException("Die Datei services.xml enth\xC3\xA4lt Satelliten (<sat>) und Kabelnetze "
                            "(<cable>) zugleich; eine Liste gilt nur f\xC3\xBCr eine Art von Box.");
    if (!networks.empty()) {
        VTS.ReserveChildren(root, networks.size());
        SetBoxType(BoxSat);
        ReadNetworks(*this, root, networks, true);
    } else if (!cables.empty()) {
        VTS.ReserveChildren(root, cables.size());
        SetBoxType(BoxCable);
        ReadNetworks(*this, root, cables, false);
    }
    root->Expanded = true;
    Host().ShowCounters(CountAll, CountTV, CountRadio);
    Host().FillServicePool();
}

void TListDocument::DefaultChannelNumbers() {
    VTS.ForEach([](PSNode n) {
        TBasicSNode* d = n->Data();
        if (d && d->Kind == SKindChannel && d->Channel->ChannelNr.empty())
            d->Channel->ChannelNr.assign(1, '0');
    });
}

std::string TListDocument::SaveServices() const {
    const bool sat = BoxType == BoxSat;
    if (BoxType != BoxSat && BoxType != BoxCable)
        throw Exception("Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ...");
    const std::string_view closeNetwork = sat ? "\t</sat>\n" : "\t</cable>\n";

    std::string out;
    out.reserve(VTS.TotalCount() * 96 + 64);
    out.append(kDeclaration);
    out.append("<XANTU>\n");
    // Each element is closed once all of its descendants are written, so the
    // text comes out in one forward pass.
    PSNode root = VTS.GetFirst();
    if (root) {
        for (std::size_t s = 0; s < root->ChildCount(); ++s) {
            PSNode satNode = root->Child(s);
            out.push_back('\t');
            out.append(sat ? satNode->Data()->SatBoxXml() : satNode->Data()->CableBoxXml());
            out.push_back('\n');
            for (std::size_t i = 0; i < satNode->ChildCount(); ++i) {
                PSNode tr = satNode->Child(i);
                out.append("\t\t");
                out.append(sat ? tr->Data()->SatBoxXml() : tr->Data()->CableBoxXml());
                out.push_back('\n');
                for (std::size_t k = 0; k < tr->ChildCount(); ++k) {
                    out.append("\t\t\t");
                    out.append(tr->Child(k)->Data()->SatBoxXml());
                    out.push_back('\n');
                }
                out.append("\t\t</transponder>\n");
            }
            out.append(closeNetwork);
        }
    }
    out.append("</XANTU>");
    return out;
}

} // namespace xantu
