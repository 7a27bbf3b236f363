#include "listfiles/UXml.h"

#include "listfiles/FastStringFuncs.h"
#include "listfiles/FastStrings.h"
#include "listfiles/Texts.h"
#include "model/XantuModel.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace xantu {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Byte classes for the tag walks: a table look-up per byte instead of a
// chain of comparisons keeps the scan of big lists cheap.
enum : uint8_t { kBlank = 1, kNameStop = 2, kTagStop = 4 };
const std::array<uint8_t, 256> kClass = [] {
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

bool IsBlank(char c) {
    return (ClassOf(c) & kBlank) != 0;
}

// What may follow an element's name in its tag.
bool IsNameEnd(char c) {
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

bool SameNameNoCase(std::string_view a, std::string_view b) {
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

std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// The first byte at or after `i` (below `n`) that ends an attribute name
// (a blank, '=', '>', '/' or a quote), or `n`.
std::size_t NameStopFrom(const char* p, std::size_t i, std::size_t n) {
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
std::size_t CharFrom(const char* p, std::size_t i, std::size_t n, char c) {
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
std::size_t TagEnd(std::string_view text, std::size_t lt) {
    const char* p = text.data();
    const std::size_t n = text.size();
    for (std::size_t i = lt + 1; i < n; ++i) {
        while (i < n && !(ClassOf(p[i]) & kTagStop))
            ++i;
        if (i >= n)
            break;
        const char c = p[i];
        if (c == '>')
            return i;
        std::size_t j = i;
        while (j > lt + 1 && IsBlank(p[j - 1]))
            --j;
        if (p[j - 1] != '=')
            continue;
        const void* q = std::memchr(p + i + 1, c, n - i - 1);
        if (!q)
            return npos;
        i = static_cast<std::size_t>(static_cast<const char*>(q) - p);
    }
    return npos;
}

// Remembers the last answer of a forward search so that a list of elements
// does not search the rest of the text again for a pattern that occurs late
// or never: the first occurrence at or after a later start is the same one
// as long as it still lies at or after that start.
// The first `needle` in `text` from `from` on (1-based; 0 when none),
// through the tag starts when they cover the text.
std::size_t SearchNoCase(const TTagStarts* starts, std::string_view needle, std::string_view text,
                         std::size_t from) {
    if (starts && needle[0] == '<' && starts->Covers(text))
        return starts->Find(needle, text, from);
    return TextPosNoCaseAnchored(needle, text, from);
}

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

// The start tag opening at `lt`, whose element name ends at `i`, read in one
// walk when it has the form the lists are written in: each attribute a
// blank, a name, "=" (blanks around it allowed) and a value in quotes, and
// the tag closed by ">" or "/>" after optional blanks. Then its '>' is the
// one TagEnd finds, what GetAttrList reads has been appended to `attrs`,
// and the answer is true. Any other form (a stray byte, a name glued to a
// value, an open quote) answers false and leaves both to the long way; what
// was appended of such a tag is for the caller to drop.
bool ScanPlainTag(std::string_view text, std::size_t i, std::size_t& gt, TAttrList& attrs) {
    const char* p = text.data();
    const std::size_t n = text.size();
    for (;;) {
        const std::size_t before = i;
        while (i < n && IsBlank(p[i]))
            ++i;
        if (i >= n)
            return false;
        const char c = p[i];
        if (c == '>') {
            gt = i;
            return true;
        }
        if (c == '/') {
            if (i + 1 < n && p[i + 1] == '>') {
                gt = i + 1;
                return true;
            }
            return false;
        }
        if (i == before || (ClassOf(c) & kNameStop))
            return false;
        const std::size_t nameStart = i;
        i = NameStopFrom(p, i, n);
        const std::size_t nameEnd = i;
        while (i < n && IsBlank(p[i]))
            ++i;
        if (i >= n || p[i] != '=')
            return false;
        ++i;
        while (i < n && IsBlank(p[i]))
            ++i;
        if (i >= n || (p[i] != '"' && p[i] != '\''))
            return false;
        const char quote = p[i];
        const std::size_t valueStart = ++i;
        i = CharFrom(p, i, n, quote);
        if (i >= n)
            return false;
        attrs.push_back(TXmlAttr{text.substr(nameStart, nameEnd - nameStart),
                                 text.substr(valueStart, i - valueStart),
                                 text.substr(nameStart, i + 1 - nameStart)});
        ++i;
    }
}

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

void TTagStarts::Build(std::string_view text) {
    base_ = text.data();
    size_ = text.size();
    at_.clear();
    hint_ = 0;
    // Offsets are 32 bits wide; a text beyond that is searched the long way.
    if (text.size() > UINT32_MAX)
        return;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* q = begin; (q = static_cast<const char*>(std::memchr(q, '<', end - q))); ++q)
        at_.push_back(static_cast<uint32_t>(q - begin));
}

std::size_t TTagStarts::Find(std::string_view needle, std::string_view part, std::size_t start) const {
    const std::size_t m = needle.size();
    const std::size_t n = part.size();
    if (start < 1)
        start = 1;
    if (m == 0 || n == 0 || start > n || m > n - (start - 1))
        return TextPosNoCaseAnchored(needle, part, start); // its answers and errors for the odd cases
    const std::size_t offset = static_cast<std::size_t>(part.data() - base_);
    const std::size_t from = offset + start - 1;
    const std::size_t lastStart = offset + n - m;
    // Searches mostly go forward from where the last one began: the first
    // '<' at or after `from` is looked for from there in growing steps, and
    // only a search that goes back looks through the whole list.
    std::size_t lo = 0, hi = at_.size();
    if (hint_ < at_.size() && at_[hint_] < from) {
        lo = hint_ + 1;
        std::size_t step = 1;
        while (lo + step < hi && at_[lo + step] < from) {
            lo += step + 1;
            step *= 2;
        }
        hi = std::min(hi, lo + step + 1);
    }
    std::size_t k =
        static_cast<std::size_t>(std::lower_bound(at_.begin() + lo, at_.begin() + hi, from) - at_.begin());
    hint_ = k;
    // Most '<' start another tag than the one looked for, which its second
    // byte already tells.
    const unsigned char second = m > 1 ? Fold(needle[1]) : 0;
    for (; k < at_.size() && at_[k] <= lastStart; ++k) {
        const char* q = base_ + at_[k];
        if ((m < 2 || Fold(q[1]) == second) && SameNameNoCase(std::string_view(q, m), needle))
            return at_[k] - offset + 1;
    }
    return 0;
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
