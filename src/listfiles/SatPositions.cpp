// satpositionen.xml: the user's list of satellite positions, and the fill-in
// of missing positions after a satellite box was loaded.
#include "listfiles/SatPositions.h"

#include "listfiles/Texts.h"
#include "listfiles/UXml.h"

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

// A position from the list goes into services.xml and every entry's
// sat_position as an attribute value. One that is empty, or that could end
// an element there ('<', as in "</sat>") or could not be quoted at all
// (both kinds of quote), would be written as a list the box cannot read
// back; such a line gives no position.
bool UsablePosition(std::string_view position) {
    return !position.empty() && position.find('<') == std::string_view::npos &&
           (position.find('"') == std::string_view::npos || position.find('\'') == std::string_view::npos);
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

void ReadSatPositions(std::string_view text, std::vector<std::string>& lines) {
    std::string uncommented;
    std::string_view x = GetListRoot(text, "satellites", "satellites", "satpositionen.xml", uncommented);
    if (x.empty())
        throw EXMLException(listfiles_texts::SatellitesRootMissing);
    TTagList entries;
    TAttrList attrs;
    GetTagListOrThrow(ElementContent(x), "sat", entries, "satpositionen.xml");
    for (std::string_view entry : entries) {
        GetAttrList(entry, attrs);
        std::string line(FindAttr(attrs, "name"));
        line.append(kSeparator);
        line.append(FindAttr(attrs, "position"));
        lines.push_back(std::move(line));
    }
}

void FillSatPositions(TServiceTree& services, const std::vector<std::string>& lines,
                      const std::function<void(const TSat&, const std::string* found)>& tell) {
    PSNode root = services.GetFirst();
    std::string name, position;
    for (std::size_t s = 0; root && s < root->ChildCount(); ++s) {
        TBasicSNode* d = root->Child(s)->Data();
        if (!d || d->Kind != SKindSat)
            continue;
        TSat& sat = *d->Sat;
        if (!sat.Position.empty())
            continue;
        bool found = false;
        for (const std::string& line : lines) {
            SplitSatPosition(line, name, position);
            if (UsablePosition(position) && SameNameAsciiFolded(sat.Name, name)) {
                found = true;
                break;
            }
        }
        tell(sat, found ? &position : nullptr);
        if (found)
            sat.Position = position;
        else
            sat.Position.assign(1, '0');
    }
}

void CopySatPositions(TBouquetTree& bouquets) {
    bouquets.ForEach([](PBNode n) {
        TBasicBNode* d = n->Data();
        if (d && d->Kind == BKindChannel && d->Channel->Service && d->Channel->Service->Transponder &&
            d->Channel->Service->Transponder->Sat)
            d->Channel->SatPosition = d->Channel->Service->Transponder->Sat->Position;
    });
}

} // namespace xantu
