// Text between the list files and the people who read them. The model keeps
// every name as the bytes of its file; this is the one place that turns
// those bytes into readable text (the tree, the info panels, the messages,
// the search, the pool, xantu-lists) and a typed name back into list bytes.
// Free of Qt, so the core, the editing code and the command-line tool share
// it with the window.
#pragma once

#include <string>
#include <string_view>

namespace xantu {

// Character set of the names of a loaded pair; decided once per load.
enum class TNameCharset { Utf8, Cp1252 };

bool IsValidUtf8(std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);

// The bytes as UTF-8, decoded by themselves (UTF-8 when valid, else
// Windows-1252); entities stay as they are. For raw views such as JSON.
std::string BytesAsUtf8(std::string_view bytes);

// The readable UTF-8 text of a name's bytes in the lists' character set,
// with the predefined XML entities and numeric character references
// replaced by the characters they stand for. Malformed references stay.
std::string NameForDisplay(std::string_view bytes, TNameCharset charset);

// NameForDisplay for text whose lists are unknown: the character set is
// decided by the text itself.
std::string DisplayText(std::string_view bytes);

// The bytes to store for a name the user typed (UTF-8): "&", "<", ">" and
// '"' become entities, so the name can neither break the file nor be cut at
// a double quote; the text is then written in the lists' character set,
// where characters that set lacks become numeric character references.
std::string NameForList(std::string_view typedUtf8, TNameCharset charset);

// A typed bouquet name that, lower-cased in A-Z and trimmed of blanks and
// control characters, reads "andere".
bool IsReservedBouquetName(std::string_view typedUtf8);

// A-Z folded only; every other byte compared as it is.
bool EqualAsciiNoCase(std::string_view a, std::string_view b);

// UTF-8 text upper-cased the way the single-byte code page does it: a-z,
// the accented Latin-1 letters and the letters Windows-1252 adds (š, œ, ž,
// ÿ). Other characters stay. For searching without regard to case.
std::string FoldUpper(std::string_view utf8);

} // namespace xantu
