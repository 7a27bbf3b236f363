#include "EditTestKit.h"

#include <stdexcept>

namespace xantu::test {

std::string FixtureServices() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n"
           "\t<cable name=\"Netz\">\n"
           "\t\t<transponder id=\"0003\" onid=\"0001\" frequency=\"346000\" inversion=\"\" "
           "symbol_rate=\"6900000\" "
           "fec_inner=\"0\" modulation=\"5\">\n"
           "\t\t\t<channel service_id=\"0010\" name=\"Alpha\" service_type=\"01\" channel_nr=\"0\"/>\n"
           "\t\t\t<channel service_id=\"0011\" name=\"Beta\" service_type=\"01\" channel_nr=\"0\"/>\n"
           "\t\t\t<channel service_id=\"0012\" name=\"Gamma\" service_type=\"02\" channel_nr=\"0\"/>\n"
           "\t\t\t<channel service_id=\"0013\" name=\"Delta\" service_type=\"01\" channel_nr=\"0\"/>\n"
           "\t\t\t<channel service_id=\"0014\" name=\"Epsilon\" service_type=\"0C\" channel_nr=\"0\"/>\n"
           "\t\t\t<channel service_id=\"0015\" name=\"Ärzte TV\" service_type=\"01\" channel_nr=\"0\"/>\n"
           "\t\t\t<channel service_id=\"0016\" name=\"Omega\" service_type=\"01\" channel_nr=\"0\"/>\n"
           "\t\t\t<channel service_id=\"0017\" name=\"ARD 1\" service_type=\"01\" channel_nr=\"0\"/>\n"
           "\t\t\t<channel service_id=\"0018\" name=\"ARD\" service_type=\"02\" channel_nr=\"0\"/>\n"
           "\t\t</transponder>\n"
           "\t</cable>\n"
           "</XANTU>";
}

std::string FixtureBouquets() {
    auto entry = [](const char* sid, const char* name) {
        return std::string("\t\t<channel serviceID=\"") + sid + "\" name=\"" + name +
               "\" tsid=\"0003\" onid=\"0001\"/>\n";
    };
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<XANTU>\n"
           "\t<Bouquet name=\"Eins\" hidden=\"0\" locked=\"0\">\n" +
           entry("0010", "Alpha mine") + entry("0011", "Beta") + entry("0012", "Gamma") +
           "\t</Bouquet>\n"
           "\t<Bouquet name=\"Zwei\" hidden=\"1\" locked=\"0\">\n" +
           entry("0013", "Delta") + entry("0014", "Epsilon") + entry("0015", "Ärzte TV") +
           "\t</Bouquet>\n"
           "\t<Bouquet name=\"Drei\" hidden=\"0\" locked=\"1\">\n" +
           entry("0017", "ARD 1") + entry("0018", "ARD") + entry("0011", "Beta") +
           "\t</Bouquet>\n"
           "</XANTU>";
}

TEditFixture::TEditFixture() {
    Doc.ShowRadio = true;
    Doc.ShowSpezial = true;
    if (!Doc.LoadListTexts(FixtureServices(), FixtureBouquets()))
        throw std::runtime_error("fixture does not load");
    Editor.ListsReplaced();
    Host.Modified = false;
}

PBNode TEditFixture::Bouquet(const std::string& caption) const {
    PBNode root = Root();
    for (std::size_t i = 0; root && i < root->ChildCount(); ++i)
        if (root->Child(i)->Data()->Caption == caption)
            return root->Child(i);
    throw std::runtime_error("no bouquet " + caption);
}

PBNode TEditFixture::Entry(const std::string& bouquet, const std::string& caption) const {
    PBNode b = Bouquet(bouquet);
    for (std::size_t i = 0; i < b->ChildCount(); ++i)
        if (b->Child(i)->Data()->Caption == caption)
            return b->Child(i);
    throw std::runtime_error("no entry " + caption + " in " + bouquet);
}

std::string Shape(const TListDocument& doc) {
    std::string out;
    PBNode root = doc.VTB.GetFirst();
    for (std::size_t i = 0; root && i < root->ChildCount(); ++i) {
        PBNode b = root->Child(i);
        if (!out.empty())
            out += ' ';
        out += b->Data()->Caption + (b->Data()->Reserved ? "*" : "") + "[";
        for (std::size_t j = 0; j < b->ChildCount(); ++j) {
            const TBasicBNode* e = b->Child(j)->Data();
            out += (j ? "," : "") + e->Caption + (e->Reserved ? "*" : "");
        }
        out += "]";
    }
    return out;
}

std::string FullState(const TListDocument& doc) {
    std::string out;
    doc.VTB.ForEach([&](PBNode n) {
        const TBasicBNode* d = n->Data();
        out += std::to_string(n->Level()) + "|" + d->Caption + "|" + std::to_string(d->ImageIndex) + "|" +
               std::to_string(d->Kind) + (d->Reserved ? "|R" : "|-") + (n->Visible ? "V" : "h");
        if (d->Bouquet)
            out += "|" + d->Bouquet->Name + (d->Bouquet->Hidden ? "|H" : "|-") +
                   (d->Bouquet->Locked ? "L" : "-");
        if (d->Channel)
            out += "|" + d->Channel->Name + "|" + std::to_string(d->Channel->ServiceId) + "/" +
                   std::to_string(d->Channel->Onid) + "/" + std::to_string(d->Channel->Tsid) +
                   (d->Channel->Service ? "|linked:" + d->Channel->Service->Name : "|unlinked") + "|" +
                   d->Channel->SatPosition;
        out += "\n";
    });
    return out + doc.SaveBouquets();
}

std::string InvariantFaults(const TListDocument& doc) {
    std::string faults;
    doc.VTB.ForEach([&](PBNode n) {
        const TBasicBNode* d = n->Data();
        const TBasicBNode* parent = n->Parent() ? n->Parent()->Data() : nullptr;
        if (d->Kind == BKindChannel && d->Channel->Bouquet != parent->Bouquet.get())
            faults += d->Caption + ": bouquet link not its parent's\n";
        bool shouldBeReserved = d->Kind == BKindBouquet
                                    ? d->Caption == "andere" && d->ImageIndex == ImgReserved
                                    : d->Kind == BKindChannel && parent->Reserved;
        if (d->Reserved != shouldBeReserved)
            faults += d->Caption + ": reserved flag wrong\n";
    });
    return faults;
}

} // namespace xantu::test
