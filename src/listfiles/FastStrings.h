// Substring and character search over byte strings. Positions are 1-based;
// 0 means not found.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace xantu {

// Upper-case image of every byte in Windows-1252, the code page of the
// program's own texts; comparisons without regard to case go through it.
extern const std::array<unsigned char, 256> FoldTable;

inline unsigned char Fold(char c) {
    return FoldTable[static_cast<unsigned char>(c)];
}

// First occurrence of `needle` in `haystack` at or after `start`
// (Boyer-Moore-Horspool). Throws Exception("BufferLen is 0") for an empty
// needle.
std::size_t TextPos(std::string_view needle, std::string_view haystack, bool caseSensitive,
                    std::size_t start);
std::size_t CharPos(std::string_view text, char c, std::size_t start);
std::size_t CharPosNoCase(std::string_view text, char c, std::size_t start);

} // namespace xantu

namespace xantu {

// The same answer as TextPos without regard to case, found faster where the
// needle holds a byte that only matches itself under folding (such as '<',
// '"' or '>'): the text is scanned for that byte with memchr and each hit is
// checked in full. The tag scanner's patterns all hold one.
std::size_t TextPosNoCaseAnchored(std::string_view needle, std::string_view haystack, std::size_t start);

} // namespace xantu
