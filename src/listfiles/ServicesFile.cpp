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
    for (std::string_view entry : networks) {
        std::string name(GetAttr(entry, "name"));
        auto satNode = std::make_unique<TBasicSNode>(name, ImgStructure);
        if (satellite) {
            std::string position(GetAttr(entry, "position"));
            std::string diseqc(GetAttr(entry, "diseqc"));
            satNode->SetSat(std::move(name), std::move(diseqc), std::move(position));
        } else {
            satNode->SetSat(std::move(name), {}, {});
        }
        TSat* sat = satNode->Sat.get();
        PSNode satTreeNode = doc.AddServiceNode(root, std::move(satNode));

        GetTagList(entry, "transponder", transponders);
        doc.VTS.ReserveChildren(satTreeNode, transponders.size());
        for (std::string_view tp : transponders) {
            auto trNode = std::make_unique<TBasicSNode>(std::string(), ImgStructure);
            int32_t onid = GetAttrHex(tp, "onid");
            int32_t frequency = GetAttrInt(tp, "frequency");
            std::string inversion(GetAttr(tp, "inversion"));
            int32_t symbolRate = GetAttrInt(tp, "symbol_rate");
            int32_t fecInner = GetAttrInt(tp, "fec_inner");
            int32_t polarization = GetAttrInt(tp, satellite ? "polarization" : "modulation");
            int32_t id = GetAttrHex(tp, "id");
            trNode->SetTransponder(sat, id, onid, frequency, symbolRate, fecInner, polarization,
                                   std::move(inversion));
            trNode->Caption = "Transponder 0x" + HexText(id, 4);
            TTransponder* transponder = trNode->Transponder.get();
            PSNode trTreeNode = doc.AddServiceNode(satTreeNode, std::move(trNode));

            GetTagList(tp, "channel", channels);
            doc.VTS.ReserveChildren(trTreeNode, channels.size());
            for (std::string_view ch : channels) {
                auto chNode = std::make_unique<TBasicSNode>(std::string(), ImgSpecial);
                int32_t serviceId = GetAttrHex(ch, "service_id");
                int32_t serviceType = GetAttrHex(ch, "service_type");
                std::string channelNr(GetAttr(ch, "channel_nr"));
                std::string chName(GetAttr(ch, "name"));
                chNode->Caption = chName;
                chNode->SetChannel(transponder, std::move(chName), std::move(channelNr), serviceType,
                                   serviceId);
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

    std::string_view x = GetTag(text, "xantu");
    if (x.empty())
        throw EXMLException("services load <xantu> failed");

    TTagList networks;
    GetTagList(x, "sat", networks);
    VTS.ReserveChildren(root, networks.size());
    if (!networks.empty()) {
        SetBoxType(BoxSat);
        ReadNetworks(*this, root, networks, true);
    } else {
        GetTagList(x, "cable", networks);
        if (!networks.empty()) {
            SetBoxType(BoxCable);
            ReadNetworks(*this, root, networks, false);
        }
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
