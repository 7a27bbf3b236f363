#include "core/PairFiles.h"

#include "core/FileIO.h"
#include "model/XmlFormat.h"
#include "text/ListText.h"
#include "text/VisibleText.h"

namespace xantu {

namespace {

std::string Shown(std::string_view bytes) {
    std::string shown = "\"";
    shown += BytesAsUtf8(VisibleText(bytes));
    shown += '"';
    return shown;
}

// Collects the first difference; later comparisons are skipped once one is
// found.
// The place of a difference is put into words only when one is found: the
// check walks every service of a big list.
class TDiff {
  public:
    bool Found() const { return !text_.empty(); }
    const std::string& Text() const { return text_; }
    template <class Where>
    void Text(const Where& where, std::string_view field, std::string_view want, std::string_view got) {
        if (!Found() && want != got)
            text_ = where() + ", " + std::string(field) + ": " + Shown(want) + " wird als " + Shown(got) +
                    " gelesen.";
    }
    template <class Where> void Int(const Where& where, std::string_view field, int32_t want, int32_t got) {
        if (!Found() && want != got)
            text_ = where() + ", " + std::string(field) + ": " + DecText(want) + " wird als " + DecText(got) +
                    " gelesen.";
    }
    template <class Where>
    void Count(const Where& where, std::string_view what, std::size_t want, std::size_t got) {
        if (!Found() && want != got)
            text_ = where() + ": " + std::to_string(want) + " " + std::string(what) + " geschrieben, " +
                    std::to_string(got) + " gelesen.";
    }

  private:
    std::string text_;
};

std::size_t Children(PSNode n) {
    return n ? n->ChildCount() : 0;
}

void CompareServices(const TListDocument& doc, const TListDocument& back, TDiff& diff) {
    auto file = [] { return std::string("services.xml"); };
    PSNode a = doc.VTS.GetFirst();
    PSNode b = back.VTS.GetFirst();
    diff.Count(file, "Satelliten/Kabelnetze", Children(a), Children(b));
    for (std::size_t s = 0; !diff.Found() && s < Children(a); ++s) {
        const TBasicSNode& na = *a->Child(s)->Data();
        const TBasicSNode& nb = *b->Child(s)->Data();
        auto where = [&] { return file() + ", Netz " + std::to_string(s + 1) + " " + Shown(na.Sat->Name); };
        diff.Text(where, "name", na.Sat->Name, nb.Sat->Name);
        diff.Text(where, "diseqc", na.Sat->Diseqc, nb.Sat->Diseqc);
        diff.Text(where, "position", na.Sat->Position, nb.Sat->Position);
        diff.Text(where, "weitere Attribute", na.Sat->Extra, nb.Sat->Extra);
        PSNode sa = a->Child(s), sb = b->Child(s);
        diff.Count(where, "Transponder", Children(sa), Children(sb));
        for (std::size_t t = 0; !diff.Found() && t < Children(sa); ++t) {
            const TTransponder& ta = *sa->Child(t)->Data()->Transponder;
            const TTransponder& tb = *sb->Child(t)->Data()->Transponder;
            auto tw = [&] { return where() + ", Transponder " + std::to_string(t + 1); };
            diff.Int(tw, "id", ta.Id, tb.Id);
            diff.Int(tw, "onid", ta.Onid, tb.Onid);
            diff.Int(tw, "frequency", ta.Frequency, tb.Frequency);
            diff.Text(tw, "inversion", ta.Inversion, tb.Inversion);
            diff.Int(tw, "symbol_rate", ta.SymbolRate, tb.SymbolRate);
            diff.Int(tw, "fec_inner", ta.FecInner, tb.FecInner);
            diff.Int(tw, doc.BoxType == BoxSat ? "polarization" : "modulation", ta.Polarization,
                     tb.Polarization);
            diff.Text(tw, "weitere Attribute", ta.Extra, tb.Extra);
            PSNode ra = sa->Child(t), rb = sb->Child(t);
            diff.Count(tw, "Services", Children(ra), Children(rb));
            for (std::size_t c = 0; !diff.Found() && c < Children(ra); ++c) {
                const TTrChannel& ca = *ra->Child(c)->Data()->Channel;
                const TTrChannel& cb = *rb->Child(c)->Data()->Channel;
                auto cw = [&] { return tw() + ", Service " + std::to_string(c + 1) + " " + Shown(ca.Name); };
                diff.Text(cw, "name", ca.Name, cb.Name);
                diff.Int(cw, "service_id", ca.ServiceId, cb.ServiceId);
                diff.Int(cw, "service_type", ca.ServiceType, cb.ServiceType);
                diff.Text(cw, "channel_nr", ca.ChannelNr, cb.ChannelNr);
                diff.Text(cw, "weitere Attribute", ca.Extra, cb.Extra);
            }
        }
    }
}

// The bouquets a file holds: every bouquet but the reserved one.
std::vector<PBNode> FileBouquets(const TListDocument& doc) {
    std::vector<PBNode> out;
    PBNode root = doc.VTB.GetFirst();
    for (std::size_t i = 0; root && i < root->ChildCount(); ++i) {
        PBNode n = root->Child(i);
        if (n->Data() && n->Data()->Kind == BKindBouquet && !n->Data()->Reserved)
            out.push_back(n);
    }
    return out;
}

void CompareBouquets(const TListDocument& doc, const TListDocument& back, TDiff& diff) {
    auto file = [] { return std::string("bouquets.xml"); };
    const std::vector<PBNode> a = FileBouquets(doc);
    const std::vector<PBNode> b = FileBouquets(back);
    diff.Count(file, "Bouquets", a.size(), b.size());
    for (std::size_t i = 0; !diff.Found() && i < a.size(); ++i) {
        const TBouquet& ba = *a[i]->Data()->Bouquet;
        const TBouquet& bb = *b[i]->Data()->Bouquet;
        auto where = [&] { return file() + ", Bouquet " + std::to_string(i + 1) + " " + Shown(ba.Name); };
        diff.Text(where, "name", ba.Name, bb.Name);
        diff.Int(where, "hidden", ba.Hidden, bb.Hidden);
        diff.Int(where, "locked", ba.Locked, bb.Locked);
        diff.Text(where, "weitere Attribute", ba.Extra, bb.Extra);
        diff.Count(where, "Kan\xC3\xA4le", a[i]->ChildCount(), b[i]->ChildCount());
        for (std::size_t k = 0; !diff.Found() && k < a[i]->ChildCount(); ++k) {
            const TChannel& ea = *a[i]->Child(k)->Data()->Channel;
            const TChannel& eb = *b[i]->Child(k)->Data()->Channel;
            auto ew = [&] { return where() + ", Kanal " + std::to_string(k + 1) + " " + Shown(ea.Name); };
            diff.Text(ew, "name", ea.Name, eb.Name);
            diff.Int(ew, "serviceID", ea.ServiceId, eb.ServiceId);
            diff.Int(ew, "tsid", ea.Tsid, eb.Tsid);
            diff.Int(ew, "onid", ea.Onid, eb.Onid);
            diff.Text(ew, "weitere Attribute", ea.Extra, eb.Extra);
        }
    }
}

const char kNotWritten[] = "Die Listen wurden nicht gespeichert: so geschrieben lie\xC3\x9F"
                           "en sie sich nicht wieder gleich lesen.\r";

} // namespace

std::string FirstReadBackDifference(const TListDocument& doc, std::string_view services,
                                    std::string_view bouquets) {
    TListDocument back;
    try {
        back.LoadServices(services);
        back.LoadBouquets(bouquets);
    } catch (const std::exception& e) {
        return std::string("Die geschriebenen Listen lassen sich nicht lesen: ") + e.what();
    }
    TDiff diff;
    if (back.BoxType != doc.BoxType)
        return "services.xml: die Art der Box wird anders gelesen.";
    CompareServices(doc, back, diff);
    if (!diff.Found())
        CompareBouquets(doc, back, diff);
    return diff.Text();
}

TPairTexts SavePairTexts(const TListDocument& doc) {
    TPairTexts texts;
    texts.Bouquets = doc.SaveBouquets();
    texts.Services = doc.SaveServices();
    const std::string difference = FirstReadBackDifference(doc, texts.Services, texts.Bouquets);
    if (!difference.empty())
        throw Exception(kNotWritten + difference);
    return texts;
}

void SaveListPair(const TListDocument& doc, const std::string& bouquetsPath,
                  const std::string& servicesPath) {
    const TPairTexts texts = SavePairTexts(doc);
    WriteFilePair(bouquetsPath, texts.Bouquets, servicesPath, texts.Services);
}

} // namespace xantu
