#include "listfiles/FastStrings.h"

#include "model/XantuModel.h"

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

std::size_t TextPos(std::string_view needle, std::string_view haystack, bool caseSensitive, std::size_t start) {
    const std::size_t m = needle.size();
    if (m == 0)
        throw Exception("BufferLen is 0");
    if (start < 1)
        start = 1;
    const std::size_t n = haystack.size();
    if (n == 0 || start > n || m > n - (start - 1))
        return 0;

    std::array<std::size_t, 256> skip;
    skip.fill(m);
    const auto* pat = reinterpret_cast<const unsigned char*>(needle.data());
    const auto* src = reinterpret_cast<const unsigned char*>(haystack.data());
    if (caseSensitive) {
        for (std::size_t i = 0; i + 1 < m; ++i)
            skip[pat[i]] = m - 1 - i;
        std::size_t end = start - 1 + m - 1; // 0-based index aligned with the needle's last byte
        while (end < n) {
            std::size_t k = 0;
            while (k < m && src[end - k] == pat[m - 1 - k])
                ++k;
            if (k == m)
                return end - m + 2;
            end += skip[src[end]];
        }
        return 0;
    }
    for (std::size_t i = 0; i + 1 < m; ++i)
        skip[FoldTable[pat[i]]] = m - 1 - i;
    std::size_t end = start - 1 + m - 1;
    while (end < n) {
        std::size_t k = 0;
        while (k < m && FoldTable[src[end - k]] == FoldTable[pat[m - 1 - k]])
            ++k;
        if (k == m)
            return end - m + 2;
        end += skip[FoldTable[src[end]]];
    }
    return 0;
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
