#include "edit/NameCollation.h"

namespace xantu {

namespace {

// Code points 0x80..0x9F of Windows-1252 (0 where the code page has none).
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::u32string Decode(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool ok = len > 0 && i + static_cast<std::size_t>(len) <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            // A stray byte: read as the single-byte code page would.
            cp = b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : b;
            len = 1;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(len);
    }
    return out;
}

char32_t Lower(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    switch (c) {
    case 0x0152:
        return 0x0153; // Œ
    case 0x0160:
        return 0x0161; // Š
    case 0x017D:
        return 0x017E; // Ž
    case 0x0178:
        return 0xFF; // Ÿ
    default:
        return c;
    }
}

// The base letters of a lower-case letter; empty when it is its own base.
const char* Base(char32_t c) {
    if (c >= 0xE0 && c <= 0xE5)
        return "a";
    if (c >= 0xE8 && c <= 0xEB)
        return "e";
    if (c >= 0xEC && c <= 0xEF)
        return "i";
    if ((c >= 0xF2 && c <= 0xF6) || c == 0xF8)
        return "o";
    if (c >= 0xF9 && c <= 0xFC)
        return "u";
    switch (c) {
    case 0xE6:
        return "ae";
    case 0xE7:
        return "c";
    case 0xF0:
        return "d";
    case 0xF1:
        return "n";
    case 0xFD:
    case 0xFF:
        return "y";
    case 0xDF:
        return "ss";
    case 0xFE:
        return "th";
    case 0x0153:
        return "oe";
    case 0x0161:
        return "s";
    case 0x017E:
        return "z";
    default:
        return "";
    }
}

bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

// Compares two texts with digit runs taken by value.
int Natural(const std::u32string& a, const std::u32string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == '0')
                ++i;
            while (j < b.size() && b[j] == '0')
                ++j;
            std::size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei]))
                ++ei;
            while (ej < b.size() && IsDigit(b[ej]))
                ++ej;
            // More significant digits: the larger number.
            if (ei - i != ej - j)
                return ei - i < ej - j ? -1 : 1;
            for (; i < ei; ++i, ++j)
                if (a[i] != b[j])
                    return a[i] < b[j] ? -1 : 1;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace

TCollationKey MakeCollationKey(std::string_view utf8) {
    TCollationKey key;
    const std::u32string text = Decode(utf8);
    key.Secondary.reserve(text.size());
    key.Primary.reserve(text.size());
    for (char32_t c : text) {
        const char32_t lower = Lower(c);
        key.Secondary.push_back(lower);
        const char* base = Base(lower);
        if (*base)
            for (; *base; ++base)
                key.Primary.push_back(static_cast<char32_t>(*base));
        else
            key.Primary.push_back(lower);
    }
    return key;
}

int CompareCollation(const TCollationKey& a, const TCollationKey& b) {
    if (int c = Natural(a.Primary, b.Primary))
        return c;
    return Natural(a.Secondary, b.Secondary);
}

} // namespace xantu
