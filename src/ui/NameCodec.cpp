#include "ui/NameCodec.h"

#include "core/ListDocument.h"
#include "listfiles/TextCodec.h"

#include <cstdint>

namespace xantu {

namespace {

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

// Length of the UTF-8 sequence starting with byte c (1 for a stray byte).
std::size_t SequenceLength(unsigned char c) {
    if (c >= 0xF0)
        return 4;
    if (c >= 0xE0)
        return 3;
    if (c >= 0xC0)
        return 2;
    return 1;
}

uint32_t DecodeSequence(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(s[i])); };
    switch (s.size()) {
    case 2:
        return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
        return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    case 4:
        return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    default:
        return b(0);
    }
}

} // namespace

TNameCharset DetectNameCharset(const TListDocument& doc) {
    bool utf8 = true;
    auto check = [&utf8](const std::string& s) {
        if (utf8 && !IsValidUtf8(s))
            utf8 = false;
    };
    doc.VTS.ForEach([&](PSNode n) {
        if (const TBasicSNode* d = n->Data()) {
            check(d->Caption);
            if (d->Sat)
                check(d->Sat->Name);
            if (d->Channel)
                check(d->Channel->Name);
        }
    });
    doc.VTB.ForEach([&](PBNode n) {
        if (const TBasicBNode* d = n->Data()) {
            check(d->Caption);
            if (d->Bouquet)
                check(d->Bouquet->Name);
            if (d->Channel)
                check(d->Channel->Name);
        }
    });
    return utf8 ? TNameCharset::Utf8 : TNameCharset::Cp1252;
}

std::string NameForDisplay(std::string_view bytes, TNameCharset charset) {
    std::string text;
    if (charset == TNameCharset::Utf8 && IsValidUtf8(bytes))
        text.assign(bytes);
    else
        text = Cp1252ToUtf8(bytes);
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

std::string NameForList(std::string_view typedUtf8, TNameCharset charset) {
    std::string out;
    out.reserve(typedUtf8.size() + 8);
    std::size_t i = 0;
    while (i < typedUtf8.size()) {
        const unsigned char c = static_cast<unsigned char>(typedUtf8[i]);
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
        std::size_t len = SequenceLength(c);
        if (i + len > typedUtf8.size())
            len = typedUtf8.size() - i;
        const std::string_view seq = typedUtf8.substr(i, len);
        i += len;
        if (charset == TNameCharset::Utf8 || c < 0x80) {
            out.append(seq);
            continue;
        }
        const std::string single = Utf8ToCp1252(seq);
        if (single.size() == 1 && single[0] != '?') {
            out += single;
        } else {
            out += "&#" + std::to_string(DecodeSequence(seq)) + ";";
        }
    }
    return out;
}

bool IsReservedBouquetName(std::string_view typedUtf8) {
    std::size_t b = 0;
    std::size_t e = typedUtf8.size();
    while (b < e && static_cast<unsigned char>(typedUtf8[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(typedUtf8[e - 1]) <= ' ')
        --e;
    const std::string_view t = typedUtf8.substr(b, e - b);
    static constexpr std::string_view kReserved = "andere";
    if (t.size() != kReserved.size())
        return false;
    for (std::size_t k = 0; k < t.size(); ++k) {
        char ch = t[k];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != kReserved[k])
            return false;
    }
    return true;
}

} // namespace xantu
