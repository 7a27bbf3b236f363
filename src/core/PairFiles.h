// Saving the list pair: the two texts are made, read back with the program's
// own readers and compared with the trees before anything is written, and
// then written as one.
#pragma once

#ifdef XANTU_LISTFILES_LIBRARY
#error "The list files build on the model and the trees alone; pass them what they need from the document."
#endif

#include "core/ListDocument.h"

#include <string>
#include <string_view>

namespace xantu {

struct TPairTexts {
    std::string Services;
    std::string Bouquets;
};

// Empty when the two texts read back to the trees of `doc` (every bouquet,
// entry, network, transponder and service with all fields and kept
// attributes), else a German description of the first difference.
std::string FirstReadBackDifference(const TListDocument& doc, std::string_view services,
                                    std::string_view bouquets);

// The texts the writers make for `doc`, checked as above. Throws Exception
// when they do not read back; nothing should be written then.
TPairTexts SavePairTexts(const TListDocument& doc);

// SavePairTexts, then both files written as a pair. Throws Exception with a
// German message naming the first difference or the file that failed.
void SaveListPair(const TListDocument& doc, const std::string& bouquetsPath, const std::string& servicesPath);

} // namespace xantu
