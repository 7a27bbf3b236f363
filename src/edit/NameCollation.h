// The order in which a German reader expects names: umlauts beside their
// base letters, case ignored, runs of digits by their value ("Kanal 2"
// before "Kanal 10").
#pragma once

#include <string>
#include <string_view>

namespace xantu {

// A name prepared once for many comparisons.
struct TCollationKey {
    // Letters folded to lower-case base letters (ä -> a, ß -> ss).
    std::u32string Primary;
    // Lower case with the accents kept: decides between names equal at the
    // first level, so "Arzte" comes before "Ärzte".
    std::u32string Secondary;
};

// `utf8`: readable text (invalid bytes count as the code points of their
// Windows-1252 reading).
TCollationKey MakeCollationKey(std::string_view utf8);

// <0, 0, >0 as `a` sorts before, with or after `b`.
int CompareCollation(const TCollationKey& a, const TCollationKey& b);

} // namespace xantu
