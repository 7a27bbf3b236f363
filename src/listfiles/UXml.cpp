#include "listfiles/UXml.h"

#include "listfiles/FastStringFuncs.h"
#include "listfiles/FastStrings.h"

#include <string>

namespace xantu {

namespace {

std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// Remembers the last answer of a forward search so that a list of elements
// does not search the rest of the text again for a pattern that occurs late
// or never: the first occurrence at or after a later start is the same one
// as long as it still lies at or after that start.
class MemoSearch {
  public:
    explicit MemoSearch(std::string_view pattern) : pattern_(pattern) {}
    std::size_t Find(std::string_view text, std::size_t from) {
        if (valid_ && from >= from_ && (found_ == 0 || found_ >= from))
            return found_;
        found_ = TextPosNoCaseAnchored(pattern_, text, from);
        from_ = from;
        valid_ = true;
        return found_;
    }
    std::size_t Size() const { return pattern_.size(); }

  private:
    std::string_view pattern_;
    std::size_t from_ = 0;
    std::size_t found_ = 0;
    bool valid_ = false;
};

struct TagPatterns {
    explicit TagPatterns(std::string_view tag)
        : start(Pattern("<", tag, "")), end(Pattern("</", tag, ">")), endSearch(end), closeSearch("/>") {}
    static std::string Pattern(std::string_view before, std::string_view tag, std::string_view after) {
        std::string p;
        p.reserve(before.size() + tag.size() + after.size());
        p.append(before).append(tag).append(after);
        return p;
    }
    std::string start;
    std::string end;
    MemoSearch endSearch;
    MemoSearch closeSearch;
};

// One element found from `from`: its 1-based first position and one past its
// last character, or {0,0}.
std::pair<std::size_t, std::size_t> FindElement(std::string_view text, TagPatterns& p, std::size_t from) {
    std::size_t s = TextPosNoCaseAnchored(p.start, text, from);
    if (s == 0)
        return {0, 0};
    std::size_t e = p.endSearch.Find(text, s);
    std::size_t len = p.endSearch.Size();
    if (e == 0) {
        e = p.closeSearch.Find(text, s);
        len = 2;
        if (e == 0)
            return {0, 0};
    }
    return {s, e + len - 1 + 1};
}

} // namespace

std::string_view GetTag(std::string_view text, std::string_view tag) {
    TagPatterns p(tag);
    auto [s, end] = FindElement(text, p, 1);
    if (s == 0)
        return {};
    return TrimView(text.substr(s - 1, end - s));
}

void GetTagList(std::string_view text, std::string_view tag, TTagList& list) {
    list.clear();
    TagPatterns p(tag);
    std::size_t pos = 1;
    while (pos <= text.size()) {
        auto [s, end] = FindElement(text, p, pos);
        if (s == 0)
            break;
        std::string_view element = TrimView(text.substr(s - 1, end - s));
        if (element.empty())
            break;
        list.push_back(element);
        pos = end; // continue right after the element's last character
    }
}

std::string_view GetAttr(std::string_view element, std::string_view name) {
    char buf[64];
    std::string longPattern;
    std::string_view pattern;
    if (name.size() + 2 <= sizeof buf) {
        name.copy(buf, name.size());
        buf[name.size()] = '=';
        buf[name.size() + 1] = '"';
        pattern = std::string_view(buf, name.size() + 2);
    } else {
        longPattern = std::string(name) + "=\"";
        pattern = longPattern;
    }
    std::size_t p = TextPosNoCaseAnchored(pattern, element, 1);
    if (p == 0)
        return {};
    std::size_t valueStart = p + pattern.size(); // 1-based
    std::size_t q = CharPos(element, '"', valueStart);
    if (q == 0)
        return {};
    return element.substr(valueStart - 1, q - valueStart);
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

} // namespace xantu
