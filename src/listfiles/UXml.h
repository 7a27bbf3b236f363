// A literal tag scanner: it cuts elements out of a text by their start and
// end tags and reads double-quoted attributes by name. It knows no XML beyond
// that (no entities, comments or declarations), and names match as
// case-insensitive prefixes, which the list files are shaped to live with.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace xantu {

// The element texts are views into the text they were cut from; that text
// must outlive them.
using TTagList = std::vector<std::string_view>;

// The first element `<tag...` through `</tag>` (or, lacking that, the first
// "/>" after the start), or empty.
std::string_view GetTag(std::string_view text, std::string_view tag);
// Every such element in text order.
void GetTagList(std::string_view text, std::string_view tag, TTagList& list);
// The value of the first `name="` anywhere in the element, or empty.
std::string_view GetAttr(std::string_view element, std::string_view name);
uint32_t GetAttrHexU(std::string_view element, std::string_view name);
int32_t GetAttrHex(std::string_view element, std::string_view name);
int32_t GetAttrInt(std::string_view element, std::string_view name);
bool GetAttrBool(std::string_view element, std::string_view name);

} // namespace xantu
