// services.xml: read into a services tree, written from one.
#pragma once

#include "listfiles/ListTrees.h"

#include <string>
#include <string_view>

namespace xantu {

class TServiceIndex;

// What a read found besides the tree. Filled as the read goes, so that after
// a failure it tells what was read up to there.
struct TServicesRead {
    uint8_t BoxType = BoxNone;
    int CountAll = 0;
    int CountTV = 0;
    int CountRadio = 0;
    // Every name read is valid UTF-8.
    bool NamesUtf8 = true;
};

// Empties `tree` and reads the whole text into it below the root "Services".
// Raises EXMLException, EConvertError or Exception on a malformed text; the
// tree then keeps what was read before. With `index`, every service read is
// indexed too (the index is emptied first).
void ReadServices(std::string_view text, TServiceTree& tree, TServicesRead& report,
                  TServiceIndex* index = nullptr);

// Gives every service without channel number the number "0".
void DefaultChannelNumbers(TServiceTree& tree);

// The file text for the tree, in the line format of `boxType`. Raises
// Exception for a box of neither kind: no box reads such a file.
std::string WriteServices(const TServiceTree& tree, uint8_t boxType);

} // namespace xantu
