// Bytes from a list file or a path that end up in a message: a NUL would cut
// the message off where it stands (the text travels as a C string through
// the exception and the toolkit), and other control bytes vanish or break
// the line. Each is written out instead.
#pragma once

#include <string>
#include <string_view>

namespace xantu {

// The text with NUL as \0, tab, line feed and carriage return as \t, \n and
// \r, and every other byte below 0x20 (and DEL) as \xNN. Other bytes stay.
std::string VisibleText(std::string_view bytes);

} // namespace xantu
