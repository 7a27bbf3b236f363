// satpositionen.xml: the user's list of satellite positions, and the fill-in
// of missing positions after a satellite box was loaded.
#include "core/ListDocument.h"
#include "listfiles/UXml.h"
#include "text/ListText.h"

#include <fstream>
#include <iterator>

namespace xantu {

namespace {
constexpr std::string_view kSeparator = "; Position=";

bool SameNameAsciiFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}
} // namespace

void SplitSatPosition(std::string_view line, std::string& name, std::string& position) {
    std::size_t p = line.find(kSeparator);
    if (p == std::string_view::npos) {
        name.clear();
        position.clear();
        return;
    }
    name.assign(line.substr(0, p));
    position.assign(line.substr(p + kSeparator.size()));
}

void TListDocument::LoadSatPositions(const std::string& path) {
    SatPositions.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Host().ShowMessage(TMsgKind::Error, "Die Datei \"satpositionen.xml\" im Hauptverzeichnis des "
                                            "XantuEditors\rwurde nicht gefunden!");
        return;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ParseSatPositions(text);
}

void TListDocument::ParseSatPositions(std::string_view text) {
    std::string_view x = GetTag(text, "satellites");
    if (x.empty())
        throw EXMLException("satellites tag load <satellites> failed");
    TTagList entries;
    GetTagList(x, "sat", entries);
    for (std::string_view entry : entries) {
        std::string line(GetAttr(entry, "name"));
        line.append(kSeparator);
        line.append(GetAttr(entry, "position"));
        SatPositions.push_back(std::move(line));
    }
}

void TListDocument::ApplySatPositions() {
    if (BoxType != BoxSat)
        return;
    PSNode root = VTS.GetFirst();
    std::string name, position;
    for (std::size_t s = 0; root && s < root->ChildCount(); ++s) {
        TBasicSNode* d = root->Child(s)->Data();
        if (!d || d->Kind != SKindSat)
            continue;
        TSat& sat = *d->Sat;
        if (!sat.Position.empty())
            continue;
        bool found = false;
        for (const std::string& line : SatPositions) {
            SplitSatPosition(line, name, position);
            if (SameNameAsciiFolded(sat.Name, name)) {
                found = true;
                break;
            }
        }
        const std::string shown = DisplayText(sat.Name);
        if (found) {
            Host().ShowMessage(TMsgKind::Information,
                               "\"" + shown +
                                   "\" verf\xC3\xBCgt \xC3\xBC"
                                   "ber keine Position in services.xml!\r"
                                   "Es wird jetzt die Sat-Position: " +
                                   DisplayText(position) +
                                   " verwendet!\rWenn die Position nicht stimmt, mu\xC3\x9F die Datei "
                                   "\"satpositionen.xml\"\rauf den neuesten Stand gebracht werden!");
            sat.Position = position;
        } else {
            Host().ShowMessage(
                TMsgKind::Information,
                "\"" + shown +
                    "\" verf\xC3\xBCgt \xC3\xBC"
                    "ber keine Position in services.xml und\r"
                    "wird auch in der Sat-Positionsliste nicht gefunden!\rBringen Sie die Datei "
                    "\"satpositionen.xml\" auf den neuesten Stand\roder pr\xC3\xBC"
                    "fen Sie die "
                    "\"services.xml\"!");
            sat.Position.assign(1, '0');
        }
    }
    VTB.ForEach([](PBNode n) {
        TBasicBNode* d = n->Data();
        if (d && d->Kind == BKindChannel && d->Channel->Service && d->Channel->Service->Transponder &&
            d->Channel->Service->Transponder->Sat)
            d->Channel->SatPosition = d->Channel->Service->Transponder->Sat->Position;
    });
}

} // namespace xantu
