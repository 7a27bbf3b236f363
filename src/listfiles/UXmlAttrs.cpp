// The attribute half of the tag scanner: the attributes of a start tag, as
// a list, by name, sorted by the names a reader knows, and converted.
#include "listfiles/FastStringFuncs.h"
#include "listfiles/TagBytes.h"

namespace xantu {

using namespace tagbytes;

void GetAttrList(std::string_view e, TAttrList& list) {
    list.clear();
    const std::size_t n = e.size();
    if (n == 0 || e[0] != '<')
        return;
    std::size_t i = 1;
    while (i < n && !IsNameEnd(e[i]))
        ++i;
    for (;;) {
        const std::size_t before = i;
        while (i < n && IsBlank(e[i]))
            ++i;
        if (i >= n || e[i] == '>')
            return;
        const bool blankBefore = i > before;
        const char c = e[i];
        if (c == '/' || c == '=' || c == '"' || c == '\'') {
            ++i; // a stray byte, no attribute
            continue;
        }
        const std::size_t nameStart = i;
        while (i < n && !(ClassOf(e[i]) & kNameStop))
            ++i;
        // A name glued to the byte before it (say onid="1"id="2") is no name.
        if (!blankBefore)
            continue;
        std::size_t j = i;
        while (j < n && IsBlank(e[j]))
            ++j;
        if (j >= n || e[j] != '=')
            continue;
        ++j;
        while (j < n && IsBlank(e[j]))
            ++j;
        if (j >= n)
            return;
        const char quote = e[j];
        if (quote != '"' && quote != '\'') {
            i = j;
            continue;
        }
        const std::size_t close = e.find(quote, j + 1);
        if (close == npos)
            return;
        list.push_back(TXmlAttr{e.substr(nameStart, i - nameStart), e.substr(j + 1, close - j - 1),
                                e.substr(nameStart, close + 1 - nameStart)});
        i = close + 1;
    }
}

std::string_view FindAttr(const TAttrList& attrs, std::string_view name) {
    for (const TXmlAttr& a : attrs)
        if (SameNameNoCase(a.Name, name))
            return a.Value;
    return {};
}

std::string KeptAttrs(const TAttrList& attrs, std::initializer_list<std::string_view> known) {
    std::string out;
    for (const TXmlAttr& a : attrs) {
        bool isKnown = false;
        const unsigned char first = a.Name.empty() ? 0 : Fold(a.Name[0]);
        for (std::string_view k : known)
            if (k.size() == a.Name.size() && Fold(k[0]) == first && SameNameNoCase(a.Name, k)) {
                isKnown = true;
                break;
            }
        if (!isKnown) {
            out.push_back(' ');
            out.append(a.Raw);
        }
    }
    return out;
}

namespace {

// The place of `name` among the `count` known names, or `count`. The search
// starts after the name found last: lists written by the program carry the
// attributes in the known order, so the first name tried is nearly always
// the one.
std::size_t KnownIndex(const std::string_view* known, std::size_t count, std::string_view name,
                       std::size_t from) {
    for (std::size_t j = 0; j < count; ++j) {
        const std::size_t k = from + j < count ? from + j : from + j - count;
        const std::string_view candidate = known[k];
        if (candidate.size() != name.size())
            continue;
        if (SameNameNoCase(candidate, name))
            return k;
    }
    return count;
}

} // namespace

std::string SortAttrs(std::span<const TXmlAttr> attrs, std::initializer_list<std::string_view> known,
                      std::string_view* values) {
    std::string out;
    const std::size_t count = known.size();
    for (std::size_t k = 0; k < count; ++k)
        values[k] = {};
    bool seen[16] = {};
    std::size_t from = 0;
    for (const TXmlAttr& a : attrs) {
        const std::size_t k = KnownIndex(known.begin(), count, a.Name, from);
        if (k == count) {
            out.push_back(' ');
            out.append(a.Raw);
            continue;
        }
        from = k + 1 < count ? k + 1 : 0;
        if (k < 16 && !seen[k]) {
            seen[k] = true;
            values[k] = a.Value;
        }
    }
    return out;
}

int32_t HexValue(std::string_view value) {
    return static_cast<int32_t>(static_cast<uint32_t>(ParseHex(value)));
}

int32_t IntValue(std::string_view value) {
    return StrToInt(value);
}

bool BoolValue(std::string_view value) {
    return (static_cast<uint32_t>(StrToInt(value)) & 0xFFu) != 0;
}

std::string_view GetAttr(std::string_view element, std::string_view name) {
    TAttrList attrs;
    GetAttrList(element, attrs);
    return FindAttr(attrs, name);
}

uint32_t GetAttrHexU(std::string_view element, std::string_view name) {
    return static_cast<uint32_t>(ParseHex(GetAttr(element, name)));
}

int32_t GetAttrHex(std::string_view element, std::string_view name) {
    return static_cast<int32_t>(GetAttrHexU(element, name));
}

int32_t GetAttrInt(std::string_view element, std::string_view name) {
    return StrToInt(GetAttr(element, name));
}

bool GetAttrBool(std::string_view element, std::string_view name) {
    return (static_cast<uint32_t>(GetAttrInt(element, name)) & 0xFFu) != 0;
}

int32_t AttrHex(const TAttrList& attrs, std::string_view name) {
    return static_cast<int32_t>(static_cast<uint32_t>(ParseHex(FindAttr(attrs, name))));
}

int32_t AttrInt(const TAttrList& attrs, std::string_view name) {
    return StrToInt(FindAttr(attrs, name));
}

bool AttrBool(const TAttrList& attrs, std::string_view name) {
    return (static_cast<uint32_t>(AttrInt(attrs, name)) & 0xFFu) != 0;
}

} // namespace xantu
