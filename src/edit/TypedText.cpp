#include "edit/TypedText.h"

#include "listfiles/TextCodec.h"

namespace xantu {

std::string EncodeTypedName(std::string_view utf8, bool listsAreUtf8) {
    const std::string bytes = listsAreUtf8 ? std::string(utf8) : Utf8ToCp1252(utf8);
    std::string out;
    out.reserve(bytes.size() + 8);
    for (char c : bytes) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool NamesAreUtf8(const TListDocument& doc) {
    bool utf8 = true;
    doc.VTS.ForEach([&](PSNode n) {
        const TBasicSNode* d = n->Data();
        if (utf8 && d && !IsValidUtf8(d->Caption))
            utf8 = false;
    });
    doc.VTB.ForEach([&](PBNode n) {
        const TBasicBNode* d = n->Data();
        if (utf8 && d && !IsValidUtf8(d->Caption))
            utf8 = false;
    });
    return utf8;
}

static char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool ReadsAndere(std::string_view name) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!name.empty() && blank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && blank(name.back()))
        name.remove_suffix(1);
    return EqualAsciiNoCase(name, "andere");
}

bool EqualAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

} // namespace xantu
