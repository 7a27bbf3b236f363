#include "core/JsonDump.h"

#include "core/ListDocument.h"
#include "text/ListText.h"

#include <cstdio>

namespace xantu {

namespace {

void Str(std::string& out, std::string_view bytes) {
    std::string text = BytesAsUtf8(bytes);
    out.push_back('"');
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out.append(buf);
            } else {
                out.push_back(ch);
            }
        }
    }
    out.push_back('"');
}

void Key(std::string& out, const char* key) {
    out.push_back('"');
    out.append(key);
    out.append("\":");
}
void Int(std::string& out, const char* key, long long v) {
    Key(out, key);
    out.append(std::to_string(v));
    out.push_back(',');
}
void Bool(std::string& out, const char* key, bool v) {
    Key(out, key);
    out.append(v ? "true" : "false");
    out.push_back(',');
}
void Text(std::string& out, const char* key, std::string_view v) {
    Key(out, key);
    Str(out, v);
    out.push_back(',');
}
// Attributes kept from the file; left out when there are none, so that the
// dump of an ordinary list stays as it is.
void Extra(std::string& out, const std::string& extra) {
    if (!extra.empty())
        Text(out, "extra", extra);
}
// Drops the comma after the last member of an object or array.
void CloseWith(std::string& out, char c) {
    if (!out.empty() && out.back() == ',')
        out.back() = c;
    else
        out.push_back(c);
    out.push_back(',');
}

} // namespace

namespace {

void DumpServices(std::string& out, const TListDocument& doc) {
    Key(out, "services");
    out.push_back('[');
    PSNode sroot = doc.VTS.GetFirst();
    for (std::size_t s = 0; sroot && s < sroot->ChildCount(); ++s) {
        PSNode sn = sroot->Child(s);
        const TSat& sat = *sn->Data()->Sat;
        out.push_back('{');
        Text(out, "name", sat.Name);
        Text(out, "diseqc", sat.Diseqc);
        Text(out, "position", sat.Position);
        Extra(out, sat.Extra);
        Key(out, "transponders");
        out.push_back('[');
        for (std::size_t t = 0; t < sn->ChildCount(); ++t) {
            PSNode tn = sn->Child(t);
            const TTransponder& tp = *tn->Data()->Transponder;
            out.push_back('{');
            Int(out, "id", tp.Id);
            Int(out, "onid", tp.Onid);
            Int(out, "frequency", tp.Frequency);
            Text(out, "inversion", tp.Inversion);
            Int(out, "symbolRate", tp.SymbolRate);
            Int(out, "fecInner", tp.FecInner);
            Int(out, "polarization", tp.Polarization);
            Extra(out, tp.Extra);
            Key(out, "channels");
            out.push_back('[');
            for (std::size_t c = 0; c < tn->ChildCount(); ++c) {
                const TTrChannel& ch = *tn->Child(c)->Data()->Channel;
                out.push_back('{');
                Text(out, "name", ch.Name);
                Int(out, "serviceId", ch.ServiceId);
                Int(out, "serviceType", ch.ServiceType);
                Text(out, "channelNr", ch.ChannelNr);
                Extra(out, ch.Extra);
                CloseWith(out, '}');
            }
            CloseWith(out, ']');
            CloseWith(out, '}');
        }
        CloseWith(out, ']');
        CloseWith(out, '}');
    }
    CloseWith(out, ']');
}

void DumpBouquets(std::string& out, const TListDocument& doc) {
    Key(out, "bouquets");
    out.push_back('[');
    PBNode broot = doc.VTB.GetFirst();
    for (std::size_t b = 0; broot && b < broot->ChildCount(); ++b) {
        PBNode bn = broot->Child(b);
        const TBasicBNode& bd = *bn->Data();
        if (!bd.Bouquet)
            continue;
        out.push_back('{');
        Text(out, "name", bd.Bouquet->Name);
        Bool(out, "hidden", bd.Bouquet->Hidden);
        Bool(out, "locked", bd.Bouquet->Locked);
        Bool(out, "reserved", bd.Reserved);
        Extra(out, bd.Bouquet->Extra);
        Key(out, "channels");
        out.push_back('[');
        for (std::size_t c = 0; c < bn->ChildCount(); ++c) {
            const TBasicBNode& cd = *bn->Child(c)->Data();
            if (!cd.Channel)
                continue;
            out.push_back('{');
            Text(out, "name", cd.Channel->Name);
            Int(out, "serviceId", cd.Channel->ServiceId);
            Int(out, "tsid", cd.Channel->Tsid);
            Int(out, "onid", cd.Channel->Onid);
            Text(out, "satPosition", cd.Channel->SatPosition);
            Bool(out, "linked", cd.Channel->Service != nullptr);
            Int(out, "imageIndex", cd.ImageIndex);
            Bool(out, "reserved", cd.Reserved);
            Extra(out, cd.Channel->Extra);
            CloseWith(out, '}');
        }
        CloseWith(out, ']');
        CloseWith(out, '}');
    }
    CloseWith(out, ']');
}

} // namespace

std::string DumpJson(const TListDocument& doc) {
    std::string out = "{";
    Int(out, "boxType", doc.BoxType);
    DumpServices(out, doc);
    DumpBouquets(out, doc);
    CloseWith(out, '}');
    out.pop_back(); // the trailing comma after the document
    out.push_back('\n');
    return out;
}

} // namespace xantu
