#pragma once

#include <cstdint>
#include <string_view>

namespace xantu {

// Hexadecimal text (no prefix, either case) to number. Throws
// Exception("Invalid hex character X") naming the right-most bad character;
// texts longer than 255 characters are refused with the conversion error.
uint64_t ParseHex(std::string_view text);

// Decimal text (optional sign, digits) to a 32-bit integer; anything else,
// the empty text included, throws EConvertError("'<text>' ist kein gültiger
// Integerwert").
int32_t StrToInt(std::string_view text);

} // namespace xantu
