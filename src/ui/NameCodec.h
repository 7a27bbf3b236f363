// Names between the list files and the screen. The model keeps every name
// as the bytes of its file; only the window decodes them, and only a name
// the user typed is encoded back. A name nobody edited keeps its bytes.
// Free of Qt, so editing and search code can use it as well.
#pragma once

#include <string>
#include <string_view>

namespace xantu {

class TListDocument;

// Character set of the names of the loaded lists.
enum class TNameCharset { Utf8, Cp1252 };

// UTF-8 when every name of both trees is valid UTF-8 (what the box writes),
// else Windows-1252.
TNameCharset DetectNameCharset(const TListDocument& doc);

// The readable UTF-8 text of a name's bytes: decoded in the lists' character
// set, with the predefined XML entities and numeric character references
// replaced by the characters they stand for. Malformed references stay as
// they are.
std::string NameForDisplay(std::string_view bytes, TNameCharset charset);

// The bytes to store for a name the user typed (UTF-8): "&", "<", ">" and
// '"' become entities, so the name can neither break the file nor be cut at
// a double quote; the text is then written in the lists' character set,
// where characters that set lacks become numeric character references.
std::string NameForList(std::string_view typedUtf8, TNameCharset charset);

// A typed bouquet name that, lower-cased in A-Z and trimmed of blanks and
// control characters, reads "andere".
bool IsReservedBouquetName(std::string_view typedUtf8);

} // namespace xantu
