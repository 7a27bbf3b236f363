#include "listfiles/FastStrings.h"

#include "listfiles/Texts.h"
#include "model/XantuModel.h"

#include <cstring>

namespace xantu {

namespace {

// The Windows-1252 upper-case mapping: ASCII letters, the accented Latin-1
// letters (except the division sign and the sharp s, which have no capital
// here), and the four letters cp1252 adds in 0x80..0x9F.
constexpr std::array<unsigned char, 256> BuildFoldTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (int i = 'a'; i <= 'z'; ++i)
        t[i] = static_cast<unsigned char>(i - 32);
    for (int i = 0xE0; i <= 0xFE; ++i)
        if (i != 0xF7)
            t[i] = static_cast<unsigned char>(i - 32);
    t[0x9A] = 0x8A; // s caron
    t[0x9C] = 0x8C; // oe
    t[0x9E] = 0x8E; // z caron
    t[0xFF] = 0x9F; // y diaeresis
    return t;
}

} // namespace

const std::array<unsigned char, 256> FoldTable = BuildFoldTable();

namespace {

// The Horspool scan proper. `Skip` is a byte-wide table for the usual short
// search texts (every shift fits) and a word-wide one for longer texts; the
// needle is given already folded when case does not matter.
template <bool Folded, class Skip>
std::size_t Horspool(const unsigned char* pat, std::size_t m, const unsigned char* src, std::size_t n,
                     std::size_t start, Skip& skip) {
    auto img = [](unsigned char c) { return Folded ? FoldTable[c] : c; };
    for (std::size_t i = 0; i + 1 < m; ++i)
        skip[pat[i]] = static_cast<typename Skip::value_type>(m - 1 - i);
    const unsigned char last = pat[m - 1];
    std::size_t end = start - 1 + m - 1; // 0-based index aligned with the needle's last byte
    while (end < n) {
        const unsigned char c = img(src[end]);
        if (c == last) {
            std::size_t k = 1;
            while (k < m && img(src[end - k]) == pat[m - 1 - k])
                ++k;
            if (k == m)
                return end - m + 2;
        }
        end += skip[c];
    }
    return 0;
}

template <bool Folded>
std::size_t Search(const unsigned char* pat, std::size_t m, const unsigned char* src, std::size_t n,
                   std::size_t start) {
    if (m <= 255) {
        std::array<uint8_t, 256> skip;
        skip.fill(static_cast<uint8_t>(m));
        return Horspool<Folded>(pat, m, src, n, start, skip);
    }
    std::array<std::size_t, 256> skip;
    skip.fill(m);
    return Horspool<Folded>(pat, m, src, n, start, skip);
}

// Checks the arguments every search shares: an empty needle is an error, a
// start before 1 counts as 1, and a needle that cannot fit finds nothing.
bool Fits(std::size_t m, std::size_t n, std::size_t& start) {
    if (m == 0)
        throw Exception(listfiles_texts::EmptySearchText);
    if (start < 1)
        start = 1;
    return n != 0 && start <= n && m <= n - (start - 1);
}

} // namespace

std::size_t TextPos(std::string_view needle, std::string_view haystack, bool caseSensitive,
                    std::size_t start) {
    const std::size_t m = needle.size();
    const std::size_t n = haystack.size();
    if (!Fits(m, n, start))
        return 0;
    const auto* src = reinterpret_cast<const unsigned char*>(haystack.data());
    const auto* pat = reinterpret_cast<const unsigned char*>(needle.data());
    if (caseSensitive)
        return Search<false>(pat, m, src, n, start);
    // Fold the needle once; the text is folded byte by byte as it is read.
    unsigned char small[256];
    std::string big;
    unsigned char* folded = small;
    if (m > sizeof small) {
        big.resize(m);
        folded = reinterpret_cast<unsigned char*>(big.data());
    }
    for (std::size_t i = 0; i < m; ++i)
        folded[i] = FoldTable[pat[i]];
    return Search<true>(folded, m, src, n, start);
}

std::size_t CharPos(std::string_view text, char c, std::size_t start) {
    if (start < 1)
        start = 1;
    if (start > text.size())
        return 0;
    std::size_t p = text.find(c, start - 1);
    return p == std::string_view::npos ? 0 : p + 1;
}

std::size_t CharPosNoCase(std::string_view text, char c, std::size_t start) {
    if (start < 1)
        start = 1;
    const unsigned char folded = Fold(c);
    for (std::size_t i = start - 1; i < text.size(); ++i)
        if (Fold(text[i]) == folded)
            return i + 1;
    return 0;
}

} // namespace xantu

namespace xantu {

namespace {
// Bytes that no other byte folds to and that fold to themselves.
bool IsFoldFixed(unsigned char c) {
    if (FoldTable[c] != c)
        return false;
    for (int i = 0; i < 256; ++i)
        if (i != c && FoldTable[static_cast<std::size_t>(i)] == c)
            return false;
    return true;
}
} // namespace

std::size_t TextPosNoCaseAnchored(std::string_view needle, std::string_view haystack, std::size_t start) {
    const std::size_t m = needle.size();
    const std::size_t n = haystack.size();
    if (!Fits(m, n, start))
        return 0;
    std::size_t anchor = m;
    for (std::size_t i = 0; i < m; ++i) {
        const auto c = static_cast<unsigned char>(needle[i]);
        if ((c == '<' || c == '>' || c == '"' || c == '/' || c == '=') || (c < 'A' && IsFoldFixed(c))) {
            anchor = i;
            break;
        }
    }
    if (anchor == m)
        return TextPos(needle, haystack, false, start);
    const char a = needle[anchor];
    const char* base = haystack.data();
    std::size_t from = start - 1 + anchor; // first index the anchor may stand at
    const std::size_t lastStart = n - m;   // last 0-based start of a full match
    while (from < n) {
        const void* hit = std::memchr(base + from, a, n - from);
        if (!hit)
            return 0;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        const std::size_t s = at - anchor;
        if (s > lastStart)
            return 0;
        std::size_t k = 0;
        while (k < m && Fold(base[s + k]) == Fold(needle[k]))
            ++k;
        if (k == m)
            return s + 1;
        from = at + 1;
    }
    return 0;
}

} // namespace xantu
