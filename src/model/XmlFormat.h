// Small helpers that format the attribute lines of both list files and the
// identifiers shown in the window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xantu {

// Upper-case hexadecimal with at least `digits` digits and no prefix; a
// negative value shows its 32-bit two's complement.
std::string HexText(int32_t value, int digits);
std::string DecText(int32_t value);
inline const char* BoolToChar(bool flag) {
    return flag ? "1" : "0";
}

// Builds one element line: `<name a="v" b="w">` or `.../>`.
class XmlLine {
  public:
    XmlLine& Open(std::string_view element);
    XmlLine& Text(std::string_view name, std::string_view value);
    XmlLine& Hex(std::string_view name, int32_t value, int digits) {
        return Text(name, HexText(value, digits));
    }
    XmlLine& Dec(std::string_view name, int32_t value) { return Text(name, DecText(value)); }
    XmlLine& Flag(std::string_view name, bool value) { return Text(name, BoolToChar(value)); }
    // Attribute bytes kept from a file, already led by their blanks.
    XmlLine& Raw(std::string_view attrs) {
        text_.append(attrs);
        return *this;
    }
    std::string Close();
    std::string SelfClose();

  private:
    std::string text_;
};

} // namespace xantu
