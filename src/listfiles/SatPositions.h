// satpositionen.xml, the user's list of satellite positions, and how a
// satellite box's lists take their positions from it.
#pragma once

#include "listfiles/ListTrees.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xantu {

// Appends one line "name; Position=position" per satellite of the text, in
// file order. Raises EXMLException for a text without satellites element.
void ReadSatPositions(std::string_view text, std::vector<std::string>& lines);

// Splits such a line; a line without separator gives two empty texts.
void SplitSatPosition(std::string_view line, std::string& name, std::string& position);

// Gives every satellite of the tree without position the position of the
// first usable line of its name (A-Z folded), or "0" when there is none.
// `tell` hears of each satellite before it changes: the satellite and the
// position found (nullptr when none was found).
void FillSatPositions(TServiceTree& services, const std::vector<std::string>& lines,
                      const std::function<void(const TSat&, const std::string* found)>& tell);

// Each tied entry's satellite position := its service's satellite position.
void CopySatPositions(TBouquetTree& bouquets);

} // namespace xantu
