#include "listfiles/UXml.h"

#include "listfiles/FastStrings.h"
#include "listfiles/TagBytes.h"
#include "listfiles/Texts.h"
#include "model/XantuModel.h"

#include <cstring>

namespace xantu {

using namespace tagbytes;

namespace {

// The first `needle` in `text` from `from` on (1-based; 0 when none),
// through the tag starts when they cover the text.
std::size_t SearchNoCase(const TTagStarts* starts, std::string_view needle, std::string_view text,
                         std::size_t from) {
    if (starts && needle[0] == '<' && starts->Covers(text))
        return starts->Find(needle, text, from);
    return TextPosNoCaseAnchored(needle, text, from);
}

// Remembers the last answer of a forward search so that a list of elements
// does not search the rest of the text again for a pattern that occurs late
// or never: the first occurrence at or after a later start is the same one
// as long as it still lies at or after that start.
class MemoSearch {
  public:
    explicit MemoSearch(std::string_view pattern) : pattern_(pattern) {}
    std::size_t Find(std::string_view text, std::size_t from, const TTagStarts* starts = nullptr) {
        if (valid_ && from >= from_ && (found_ == 0 || found_ >= from))
            return found_;
        found_ = SearchNoCase(starts, pattern_, text, from);
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
    explicit TagPatterns(std::string_view tag, const TTagStarts* starts = nullptr)
        : start(Pattern("<", tag, "")), end(Pattern("</", tag, ">")), endSearch(end), closeSearch("/>"),
          starts(starts) {}
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
    const TTagStarts* starts;
};

// The next start tag of the element (1-based position of its '<'), the name
// ending there, and the 0-based position of the tag's '>' (npos when the
// tag never closes). With `attrs`, the tag's attributes are appended to it
// on the way when it has the plain form (`plain` says whether they were).
std::size_t FindStartTag(std::string_view text, const TagPatterns& p, std::size_t from, std::size_t& gt,
                         TAttrList* attrs = nullptr, bool* plain = nullptr) {
    std::size_t s = from;
    // In a list the next element of a run usually starts right after blanks;
    // then it is the first match, and the search through the text is spared.
    std::size_t i = from - 1;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    const std::size_t quickAfter = i + p.start.size();
    bool found = quickAfter < text.size() && text[i] == '<' && IsNameEnd(text[quickAfter]) &&
                 SameNameNoCase(text.substr(i + 1, p.start.size() - 1), std::string_view(p.start).substr(1));
    if (found)
        s = i + 1;
    for (;;) {
        if (!found)
            s = SearchNoCase(p.starts, p.start, text, s);
        found = false;
        if (s == 0)
            return 0;
        const std::size_t after = s - 1 + p.start.size();
        if (after >= text.size() || IsNameEnd(text[after]))
            break;
        ++s;
    }
    if (attrs) {
        *plain = ScanPlainTag(text, s - 1 + p.start.size(), gt, *attrs);
        if (*plain)
            return s;
    }
    gt = TagEnd(text, s - 1);
    return s;
}

// One element found from `from`: its 1-based first position and one past its
// last character; {0,0} when there is none, and {start,0} when one starts
// but does not end (its start tag never closes, or it has neither an end
// tag nor a "/>" after it).
std::pair<std::size_t, std::size_t> FindElement(std::string_view text, TagPatterns& p, std::size_t from) {
    std::size_t gt = npos;
    const std::size_t s = FindStartTag(text, p, from, gt);
    if (s == 0)
        return {0, 0};
    if (gt == npos)
        return {s, 0};
    // A start tag that closes itself is the whole element; what follows is
    // its sibling, not its content.
    if (text[gt - 1] == '/')
        return {s, gt + 2};
    std::size_t e = p.endSearch.Find(text, gt + 2);
    std::size_t len = p.endSearch.Size();
    if (e == 0) {
        e = p.closeSearch.Find(text, gt + 2);
        len = 2;
        if (e == 0)
            return {s, 0};
    }
    return {s, e + len};
}

} // namespace

std::string_view GetTag(std::string_view text, std::string_view tag) {
    TagPatterns p(tag);
    auto [s, end] = FindElement(text, p, 1);
    if (s == 0 || end == 0)
        return {};
    return TrimView(text.substr(s - 1, end - s));
}

namespace {

// Where the elements found go: the plain list of their texts, or that and
// their attributes.
struct TElementSink {
    TTagList& Elements;
    TElementList* WithAttrs = nullptr;
};

bool CollectElements(std::string_view text, std::string_view tag, TElementSink out,
                     const TTagStarts* starts = nullptr) {
    // The lists' elements never nest in themselves and always carry their
    // own end tag or close their start tag. An element that does neither, or
    // whose end tag is found only after another element of its name starts,
    // lost its end: cutting it at the next "/>" or at a later sibling's end
    // tag would quietly drop or merge what follows, so the list is refused.
    out.Elements.clear();
    TElementList* const withAttrs = out.WithAttrs;
    // A tag's attributes go straight behind those of the elements before it
    // as the tag is found; a tag of another form is read the long way once
    // its element is cut, in place of what the walk took from it.
    TAttrList* const attrs = withAttrs ? &withAttrs->Attrs : nullptr;
    if (withAttrs) {
        withAttrs->Attrs.clear();
        withAttrs->AttrStart.assign(1, 0);
    }
    TagPatterns p(tag, starts);
    std::size_t gt = npos;
    bool plain = false;
    std::size_t s = FindStartTag(text, p, 1, gt, attrs, &plain);
    while (s != 0) {
        if (gt == npos)
            return false;
        const bool closesItself = text[gt - 1] == '/';
        std::size_t end = gt + 2;
        if (!closesItself) {
            const std::size_t e = p.endSearch.Find(text, gt + 2, p.starts);
            if (e == 0)
                return false;
            end = e + p.endSearch.Size();
        }
        std::string_view element = TrimView(text.substr(s - 1, end - s));
        if (element.empty())
            break;
        if (withAttrs && !plain) {
            withAttrs->Attrs.resize(withAttrs->AttrStart.back());
            GetAttrList(element, withAttrs->Scan);
            withAttrs->Attrs.insert(withAttrs->Attrs.end(), withAttrs->Scan.begin(), withAttrs->Scan.end());
        }
        const std::size_t attrsEnd = withAttrs ? withAttrs->Attrs.size() : 0;
        // The next start tag is searched once: inside an element with an end
        // tag it proves that end tag someone else's, behind it it is the
        // sibling.
        const std::size_t from = closesItself ? end : gt + 2;
        std::size_t nextGt = npos;
        std::size_t following = 0;
        bool nextPlain = false;
        if (from <= text.size())
            following = FindStartTag(text, p, from, nextGt, attrs, &nextPlain);
        if (!closesItself && following != 0 && following < end)
            return false;
        out.Elements.push_back(element);
        if (withAttrs)
            withAttrs->AttrStart.push_back(static_cast<uint32_t>(attrsEnd));
        s = following;
        gt = nextGt;
        plain = nextPlain;
    }
    if (withAttrs)
        withAttrs->Attrs.resize(withAttrs->AttrStart.back());
    return true;
}

[[noreturn]] void ThrowElementOpen(std::string_view file, std::string_view tag) {
    throw EXMLException(listfiles_texts::ElementOpenBefore + std::string(file) +
                        listfiles_texts::ElementOpenMiddle + std::string(tag) +
                        listfiles_texts::ElementOpenAfter);
}

} // namespace

bool GetTagList(std::string_view text, std::string_view tag, TTagList& list) {
    return CollectElements(text, tag, TElementSink{list});
}

bool GetElementList(std::string_view text, std::string_view tag, TElementList& list,
                    const TTagStarts* starts) {
    const bool ok = CollectElements(text, tag, TElementSink{list.Elements, &list}, starts);
    if (!ok) {
        list.Elements.clear();
        list.Attrs.clear();
        list.AttrStart.assign(1, 0);
    }
    return ok;
}

void GetElementListOrThrow(std::string_view text, std::string_view tag, TElementList& list,
                           std::string_view file, const TTagStarts* starts) {
    if (!GetElementList(text, tag, list, starts))
        ThrowElementOpen(file, tag);
}

void GetTagListOrThrow(std::string_view text, std::string_view tag, TTagList& list, std::string_view file) {
    if (!GetTagList(text, tag, list))
        ThrowElementOpen(file, tag);
}

namespace {

std::string_view RootTag(std::string_view text, std::string_view tag, bool& complete,
                         const TTagStarts* starts) {
    complete = true;
    TagPatterns p(tag, starts);
    std::size_t gt = npos;
    const std::size_t s = FindStartTag(text, p, 1, gt);
    if (s == 0)
        return {};
    if (gt == npos) {
        complete = false;
        return {};
    }
    if (text[gt - 1] == '/')
        return text.substr(s - 1, gt + 2 - s);
    const std::size_t e = SearchNoCase(starts, p.end, text, gt + 2);
    if (e == 0) {
        complete = false;
        return {};
    }
    return text.substr(s - 1, e + p.end.size() - s);
}

} // namespace

std::string_view GetRootTag(std::string_view text, std::string_view tag, bool& complete) {
    return RootTag(text, tag, complete, nullptr);
}

std::string_view GetListRoot(std::string_view text, std::string_view tag, std::string_view shownRoot,
                             std::string_view file, std::string& storage, TTagStarts* starts) {
    bool complete = true;
    const std::string_view uncommented = BlankComments(text, storage);
    if (starts)
        starts->Build(uncommented);
    std::string_view root = RootTag(uncommented, tag, complete, starts);
    if (!complete)
        throw EXMLException(listfiles_texts::FileCutShortBefore + std::string(file) +
                            listfiles_texts::FileCutShortMiddle + std::string(shownRoot) +
                            listfiles_texts::FileCutShortAfter);
    return root;
}

std::string_view ElementContent(std::string_view element) {
    if (element.empty() || element[0] != '<')
        return element;
    const std::size_t gt = TagEnd(element, 0);
    if (gt == npos || element[gt - 1] == '/')
        return {};
    return element.substr(gt + 1);
}

std::string_view BlankComments(std::string_view text, std::string& storage) {
    bool any = false;
    const char* end = text.data() + text.size();
    for (const char* q = text.data(); (q = static_cast<const char*>(std::memchr(q, '<', end - q))); ++q)
        if (end - q >= 4 && q[1] == '!' && q[2] == '-' && q[3] == '-') {
            any = true;
            break;
        }
    if (!any)
        return text;
    storage.assign(text);
    char* p = storage.data();
    const std::size_t n = storage.size();
    const std::string_view all(p, n);
    std::size_t i = 0;
    while (i < n) {
        const void* q = std::memchr(p + i, '<', n - i);
        if (!q)
            break;
        i = static_cast<std::size_t>(static_cast<const char*>(q) - p);
        if (all.compare(i, 4, "<!--") == 0) {
            const std::size_t close = all.find("-->", i + 4);
            const std::size_t stop = close == npos ? n : close + 3;
            std::memset(p + i, ' ', stop - i);
            i = stop;
            continue;
        }
        // Tags are stepped over whole: "<!--" inside a name is part of it.
        const std::size_t gt = TagEnd(all, i);
        if (gt == npos)
            break;
        i = gt + 1;
    }
    return all;
}

} // namespace xantu
