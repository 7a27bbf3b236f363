// The byte-level steps of the tag scanner: byte classes, name comparison,
// and the walks through one tag. Shared by the element and attribute halves
// of the scanner; not for use outside it.
#pragma once

#include "listfiles/FastStrings.h"
#include "listfiles/UXml.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace xantu::tagbytes {

inline constexpr std::size_t npos = std::string_view::npos;

// Byte classes for the tag walks: a table look-up per byte instead of a
// chain of comparisons keeps the scan of big lists cheap.
enum : uint8_t { kBlank = 1, kNameStop = 2, kTagStop = 4 };
inline const std::array<uint8_t, 256> kClass = [] {
    std::array<uint8_t, 256> t{};
    for (unsigned char c : {' ', '\t', '\n', '\r'})
        t[c] = kBlank | kNameStop;
    for (unsigned char c : {'=', '>', '/'})
        t[c] = kNameStop;
    for (unsigned char c : {'"', '\''})
        t[c] = kNameStop | kTagStop;
    t[static_cast<unsigned char>('>')] |= kTagStop;
    return t;
}();

inline uint8_t ClassOf(char c) {
    return kClass[static_cast<unsigned char>(c)];
}

inline bool IsBlank(char c) {
    return (ClassOf(c) & kBlank) != 0;
}

// What may follow an element's name in its tag.
inline bool IsNameEnd(char c) {
    return IsBlank(c) || c == '/' || c == '>';
}

// Whether two texts of the same size hold the same bytes. Names and tags
// are short; comparing them a word at a time spares a loop per byte.
inline bool SameBytes(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    const char* x = a.data();
    const char* y = b.data();
    const auto word8 = [](const char* p) {
        uint64_t w;
        std::memcpy(&w, p, sizeof w);
        return w;
    };
    const auto word4 = [](const char* p) {
        uint32_t w;
        std::memcpy(&w, p, sizeof w);
        return w;
    };
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 <= n; i += 8)
            if (word8(x + i) != word8(y + i))
                return false;
        return word8(x + n - 8) == word8(y + n - 8);
    }
    if (n >= 4)
        return word4(x) == word4(y) && word4(x + n - 4) == word4(y + n - 4);
    for (std::size_t i = 0; i < n; ++i)
        if (x[i] != y[i])
            return false;
    return true;
}

inline bool SameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    // The lists write their names in one case: equal bytes settle it.
    if (SameBytes(a, b))
        return true;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

inline std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// The first byte at or after `i` (below `n`) that ends an attribute name
// (a blank, '=', '>', '/' or a quote), or `n`.
inline std::size_t NameStopFrom(const char* p, std::size_t i, std::size_t n) {
#if defined(__SSE2__)
    // Sixteen bytes at a time: attribute names and the values in between are
    // what a list's tags consist of.
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const auto is = [&v](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
        const __m128i blank = _mm_or_si128(_mm_or_si128(is(' '), is('\t')), _mm_or_si128(is('\n'), is('\r')));
        const __m128i other = _mm_or_si128(_mm_or_si128(is('='), is('>')),
                                           _mm_or_si128(is('/'), _mm_or_si128(is('"'), is('\''))));
        const int mask = _mm_movemask_epi8(_mm_or_si128(blank, other));
        if (mask != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    while (i < n && !(ClassOf(p[i]) & kNameStop))
        ++i;
    return i;
}

// The first `c` at or after `i` (below `n`), or `n`.
inline std::size_t CharFrom(const char* p, std::size_t i, std::size_t n, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted));
        if (mask != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    while (i < n && p[i] != c)
        ++i;
    return i;
}

// The '>' that ends the tag opening at `lt` (0-based), or npos. A quote
// right after "=" (blanks between allowed) opens a value that runs to the
// same quote, so a '>' inside a name does not end the tag.
std::size_t TagEnd(std::string_view text, std::size_t lt);

// The start tag opening at `lt`, whose element name ends at `i`, read in one
// walk when it has the form the lists are written in: each attribute a
// blank, a name, "=" (blanks around it allowed) and a value in quotes, and
// the tag closed by ">" or "/>" after optional blanks. Then its '>' is the
// one TagEnd finds, what GetAttrList reads has been appended to `attrs`,
// and the answer is true. Any other form (a stray byte, a name glued to a
// value, an open quote) answers false and leaves both to the long way; what
// was appended of such a tag is for the caller to drop.
bool ScanPlainTag(std::string_view text, std::size_t i, std::size_t& gt, TAttrList& attrs);

} // namespace xantu::tagbytes
