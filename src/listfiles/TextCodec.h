// Names travel through the program as the bytes of the list files. Where a
// person reads them (messages, JSON, the window), they are decoded here: as
// UTF-8 where the bytes are valid UTF-8, otherwise as Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace xantu {

bool IsValidUtf8(std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);
// The readable UTF-8 form of list bytes.
std::string DisplayText(std::string_view bytes);
// Windows-1252 bytes of a UTF-8 text; characters outside the code page
// become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

} // namespace xantu
