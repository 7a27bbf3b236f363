// satpositionen.xml: the user's list of satellite positions, and the fill-in
// of missing positions after a satellite box was loaded.
#include "core/FileIO.h"
#include "core/ListDocument.h"
#include "core/VisibleText.h"
#include "listfiles/UXml.h"
#include "text/ListText.h"

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

void TListDocument::LoadSatPositions(const std::string& path) {
    SatPositions.clear();
    std::string text;
    std::string why;
    switch (ReadListFile(path, text, &why)) {
    case TReadFailure::None:
        break;
    case TReadFailure::Missing:
    case TReadFailure::Folder:
        // A folder where the list should be is as good as no list.
        if (path == ProgramFolder() + "satpositionen.xml")
            Host().ShowMessage(TMsgKind::Error, "Die Datei \"satpositionen.xml\" im Hauptverzeichnis des "
                                                "XantuEditors\rwurde nicht gefunden!");
        else
            Host().ShowMessage(TMsgKind::Error,
                               "Die Datei \"" + BytesAsUtf8(VisibleText(path)) + "\"\rwurde nicht gefunden!");
        return;
    default:
        // Not a file that can be read (a FIFO, a device, too large): said
        // as such, and the program runs on without positions.
        Host().ShowMessage(TMsgKind::Error, BytesAsUtf8(why));
        return;
    }
    ParseSatPositions(text);
}

void TListDocument::ParseSatPositions(std::string_view text) {
    std::string uncommented;
    bool complete = true;
    std::string_view x = GetRootTag(BlankComments(text, uncommented), "satellites", complete);
    if (!complete)
        throw EXMLException(
            "Die Datei satpositionen.xml ist unvollst\xC3\xA4ndig: das Ende </satellites> fehlt.");
    if (x.empty())
        throw EXMLException("satellites tag load <satellites> failed");
    TTagList entries;
    TAttrList attrs;
    GetTagListOrThrow(ElementContent(x), "sat", entries, "satpositionen.xml");
    for (std::string_view entry : entries) {
        GetAttrList(entry, attrs);
        std::string line(FindAttr(attrs, "name"));
        line.append(kSeparator);
        line.append(FindAttr(attrs, "position"));
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
            if (UsablePosition(position) && SameNameAsciiFolded(sat.Name, name)) {
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
