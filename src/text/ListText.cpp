#include "text/ListText.h"

#include <cstdint>
#include <cstring>

namespace xantu {

namespace {

// Code points of 0x80..0x9F in Windows-1252; 0 where the code page leaves
// the byte undefined (those stand for the C1 control of the same value).
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Length of the well-formed UTF-8 sequence at s[i] and its code point; 0
// when the bytes there are no such sequence.
std::size_t NextCodePoint(std::string_view s, std::size_t i, uint32_t& cp) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    std::size_t len;
    if ((c & 0xE0) == 0xC0) {
        len = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
        (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return 0;
    return len;
}

// The Windows-1252 byte of a code point, or -1 when the code page lacks it.
int Cp1252Byte(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    if (cp >= 0x80 && cp < 0xA0)
        return kHigh[cp - 0x80] == 0 ? static_cast<int>(cp) : -1; // the undefined bytes read back as C1
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == cp)
            return 0x80 + k;
    return -1;
}

// Decodes the reference starting at s[0] == '&'. Returns the length used
// (0 when it is no well-formed reference) and appends the character.
std::size_t DecodeReference(std::string_view s, std::string& out) {
    const std::size_t semi = s.find(';', 1);
    if (semi == std::string_view::npos || semi > 12)
        return 0;
    const std::string_view body = s.substr(1, semi - 1);
    static constexpr struct {
        std::string_view name;
        char ch;
    } kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& e : kNamed)
        if (body == e.name) {
            out.push_back(e.ch);
            return semi + 1;
        }
    if (body.size() < 2 || body[0] != '#')
        return 0;
    uint32_t cp = 0;
    const bool hex = body[1] == 'x' || body[1] == 'X';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty())
        return 0;
    for (char c : digits) {
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = static_cast<uint32_t>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            d = static_cast<uint32_t>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            d = static_cast<uint32_t>(c - 'A' + 10);
        else
            return 0;
        cp = cp * (hex ? 16 : 10) + d;
        if (cp > 0x10FFFF)
            return 0;
    }
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    AppendUtf8(out, cp);
    return semi + 1;
}

std::string ResolveReferences(std::string text) {
    if (text.find('&') == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t amp = rest.find('&');
        if (amp == std::string_view::npos) {
            out.append(rest);
            break;
        }
        out.append(rest.substr(0, amp));
        rest.remove_prefix(amp);
        const std::size_t used = DecodeReference(rest, out);
        if (used == 0) {
            out.push_back('&');
            rest.remove_prefix(1);
        } else {
            rest.remove_prefix(used);
        }
    }
    return out;
}

uint32_t UpperOf(uint32_t cp) {
    if (cp >= 'a' && cp <= 'z')
        return cp - 32;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)
        return cp - 0x20;
    switch (cp) {
    case 0xFF:
        return 0x178;
    case 0x161:
        return 0x160;
    case 0x153:
        return 0x152;
    case 0x17E:
        return 0x17D;
    default:
        return cp;
    }
}

} // namespace

bool IsValidUtf8(std::string_view s) {
    // Most names are plain ASCII: eight bytes at a time until the first byte
    // that is not.
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    uint32_t cp;
    while (i < s.size()) {
        const std::size_t len = NextCodePoint(s, i, cp);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        uint32_t cp = c;
        if (c >= 0x80 && c < 0xA0 && kHigh[c - 0x80] != 0)
            cp = kHigh[c - 0x80];
        AppendUtf8(out, cp);
    }
    return out;
}

std::string BytesAsUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return Cp1252ToUtf8(bytes);
}

std::string NameForDisplay(std::string_view bytes, TNameCharset charset) {
    if (charset == TNameCharset::Utf8 && IsValidUtf8(bytes))
        return ResolveReferences(std::string(bytes));
    return ResolveReferences(Cp1252ToUtf8(bytes));
}

std::string DisplayText(std::string_view bytes) {
    return ResolveReferences(BytesAsUtf8(bytes));
}

std::string NameForList(std::string_view typed, TNameCharset charset) {
    std::string out;
    out.reserve(typed.size() + 8);
    for (std::size_t i = 0; i < typed.size();) {
        const char c = typed[i];
        switch (c) {
        case '&':
            out += "&amp;";
            ++i;
            continue;
        case '<':
            out += "&lt;";
            ++i;
            continue;
        case '>':
            out += "&gt;";
            ++i;
            continue;
        case '"':
            out += "&quot;";
            ++i;
            continue;
        default:
            break;
        }
        uint32_t cp = 0;
        const std::size_t len = NextCodePoint(typed, i, cp);
        if (len == 0) { // not UTF-8: a byte the caller already meant as it is
            out.push_back(c);
            ++i;
            continue;
        }
        if (charset == TNameCharset::Utf8) {
            out.append(typed.substr(i, len));
        } else if (const int b = Cp1252Byte(cp); b >= 0) {
            out.push_back(static_cast<char>(b));
        } else {
            out += "&#" + std::to_string(cp) + ";";
        }
        i += len;
    }
    return out;
}

bool EqualAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

bool IsReservedBouquetName(std::string_view name) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!name.empty() && blank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && blank(name.back()))
        name.remove_suffix(1);
    return EqualAsciiNoCase(name, "andere");
}

std::string FoldUpper(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        uint32_t cp = 0;
        const std::size_t len = NextCodePoint(s, i, cp);
        if (len == 0) {
            out.push_back(s[i]);
            ++i;
            continue;
        }
        AppendUtf8(out, UpperOf(cp));
        i += len;
    }
    return out;
}

} // namespace xantu
