// A small tag scanner: it cuts elements out of a text by their start and end
// tags and reads the attributes of an element's start tag. It knows no XML
// beyond that (no entities, no declarations); the readers hand it texts whose
// comments were blanked out first (BlankComments).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace xantu {

// The element texts are views into the text they were cut from; that text
// must outlive them.
using TTagList = std::vector<std::string_view>;

// One attribute of a start tag: its name, its value between the quotes, and
// all of its bytes from the name through the closing quote.
struct TXmlAttr {
    std::string_view Name;
    std::string_view Value;
    std::string_view Raw;
};
using TAttrList = std::vector<TXmlAttr>;

// The first element `<tag` (the name ends there: a blank, "/" or ">"
// follows) through its `</tag>`, or the start tag alone when it closes itself
// with "/>". Lacking an end tag, the first "/>" after the start ends it.
// Empty when there is none.
std::string_view GetTag(std::string_view text, std::string_view tag);
// Every such element in text order. False when the list stopped at an
// element that starts but does not end (its start tag never closes, or it
// has neither its end tag nor a "/>" after it): what follows is unread.
bool GetTagList(std::string_view text, std::string_view tag, TTagList& list);
// The same, raising EXMLException naming `file` and the element instead of
// answering false: a list file is read whole or not at all.
void GetTagListOrThrow(std::string_view text, std::string_view tag, TTagList& list, std::string_view file);

// Where every '<' of a text stands, found once: the many searches for start
// and end tags in a big list then step from one '<' to the next instead of
// through the bytes between. Searches in any part of that text may use it;
// the text must stay as it is while they do.
class TTagStarts {
  public:
    void Build(std::string_view text);
    bool Covers(std::string_view part) const {
        // Compared as numbers: `part` may lie in another text altogether.
        const auto at = reinterpret_cast<std::uintptr_t>(part.data());
        const auto base = reinterpret_cast<std::uintptr_t>(base_);
        return !at_.empty() && at >= base && at - base <= size_ && part.size() <= size_ - (at - base);
    }
    // What TextPosNoCaseAnchored answers for a needle that starts with '<'
    // in a part of the text (1-based position in `part`, 0 when none).
    std::size_t Find(std::string_view needle, std::string_view part, std::size_t start) const;

  private:
    const char* base_ = nullptr;
    std::size_t size_ = 0;
    std::vector<uint32_t> at_;     // offsets of the '<' in text order
    mutable std::size_t hint_ = 0; // where the last search began
};

// Every element of that name, as GetTagList finds them, together with the
// attributes of each one's start tag, as GetAttrList reads them. Tags in the
// form the lists are written in (a blank, a name, "=", a quoted value) are
// read in the same walk that finds their end.
struct TElementList {
    TTagList Elements;
    TAttrList Attrs;                 // the attributes of all elements, in text order
    std::vector<uint32_t> AttrStart; // element k's are [AttrStart[k], AttrStart[k + 1])
    // Room for the attributes of a tag read the long way, kept so that
    // reading many lists into one does not allocate each time.
    TAttrList Scan;

    std::size_t size() const { return Elements.size(); }
    bool empty() const { return Elements.empty(); }
    std::span<const TXmlAttr> AttrsOf(std::size_t k) const {
        return std::span<const TXmlAttr>(Attrs).subspan(AttrStart[k], AttrStart[k + 1] - AttrStart[k]);
    }
};
// `starts`, when given, must cover `text`.
bool GetElementList(std::string_view text, std::string_view tag, TElementList& list,
                    const TTagStarts* starts = nullptr);
void GetElementListOrThrow(std::string_view text, std::string_view tag, TElementList& list,
                           std::string_view file, const TTagStarts* starts = nullptr);

// The element named `tag` whose end tag must be present: the root of a list
// file. Empty when there is no start tag; sets `complete` to false when the
// start tag is there but neither closes itself nor has its end tag (a file
// cut short).
std::string_view GetRootTag(std::string_view text, std::string_view tag, bool& complete);

// The root element of a list file with comments blanked out (the blanked
// copy goes to `storage`); empty when there is none. A root that starts but
// does not end raises EXMLException naming `file` and `shownRoot`: a file
// cut short would be read in part and saved in part.
// With `starts`, the tag starts of the text the root was cut from are
// found on the way, for the searches within the root.
std::string_view GetListRoot(std::string_view text, std::string_view tag, std::string_view shownRoot,
                             std::string_view file, std::string& storage, TTagStarts* starts = nullptr);

// What stands between the element's start tag and its end: empty for an
// element whose start tag closes itself. Children are looked for here, so
// that nothing inside the element's own attribute values counts as a child.
std::string_view ElementContent(std::string_view element);

// The text itself, or, when it holds comments, a copy in `storage` with every
// comment outside the tags replaced by blanks, so that no scan finds what was
// commented out.
std::string_view BlankComments(std::string_view text, std::string& storage);

// The attributes of the element's start tag, in the order written. A name
// is a whole name; blanks may stand around "="; the value stands in double or
// single quotes. Anything else in the tag is no attribute and is skipped.
void GetAttrList(std::string_view element, TAttrList& list);
// The value of the first attribute of that name (without regard to case),
// or empty.
std::string_view FindAttr(const TAttrList& attrs, std::string_view name);
// Every attribute whose name is not among `known` (without regard to case),
// each as one blank and its bytes as read.
std::string KeptAttrs(const TAttrList& attrs, std::initializer_list<std::string_view> known);

// Sorts the attributes by the names a reader knows in one pass: values[k]
// is the value of the first attribute named known[k] (without regard to
// case; empty when there is none); every attribute of another name comes
// back as KeptAttrs gives it.
std::string SortAttrs(std::span<const TXmlAttr> attrs, std::initializer_list<std::string_view> known,
                      std::string_view* values);

// Conversions of a value text, as the GetAttr… functions convert.
int32_t HexValue(std::string_view value);
int32_t IntValue(std::string_view value);
bool BoolValue(std::string_view value);

// The value of the element's own attribute of that name, or empty.
std::string_view GetAttr(std::string_view element, std::string_view name);
uint32_t GetAttrHexU(std::string_view element, std::string_view name);
int32_t GetAttrHex(std::string_view element, std::string_view name);
int32_t GetAttrInt(std::string_view element, std::string_view name);
bool GetAttrBool(std::string_view element, std::string_view name);

int32_t AttrHex(const TAttrList& attrs, std::string_view name);
int32_t AttrInt(const TAttrList& attrs, std::string_view name);
bool AttrBool(const TAttrList& attrs, std::string_view name);

} // namespace xantu
