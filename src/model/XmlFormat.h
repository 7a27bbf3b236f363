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
void AppendHex(std::string& out, int32_t value, int digits);
void AppendDec(std::string& out, int32_t value);
inline const char* BoolToChar(bool flag) {
    return flag ? "1" : "0";
}

// Appends one element line to a text: `<name a="v" b="w">` or `.../>`. The
// writers put whole files together this way, without a string per line.
class XmlLine {
  public:
    explicit XmlLine(std::string& out) : text_(out) {}
    XmlLine& Open(std::string_view element) {
        text_.push_back('<');
        text_.append(element);
        return *this;
    }
    XmlLine& Text(std::string_view name, std::string_view value);
    XmlLine& Hex(std::string_view name, int32_t value, int digits) {
        Name(name);
        AppendHex(text_, value, digits);
        text_.push_back('"');
        return *this;
    }
    XmlLine& Dec(std::string_view name, int32_t value) {
        Name(name);
        AppendDec(text_, value);
        text_.push_back('"');
        return *this;
    }
    XmlLine& Flag(std::string_view name, bool value) {
        Name(name);
        text_.push_back(value ? '1' : '0');
        text_.push_back('"');
        return *this;
    }
    // Attribute bytes kept from a file, already led by their blanks.
    XmlLine& Raw(std::string_view attrs) {
        text_.append(attrs);
        return *this;
    }
    void Close() { text_.push_back('>'); }
    void SelfClose() { text_.append("/>"); }

  private:
    // ` name="`
    void Name(std::string_view name) {
        text_.push_back(' ');
        text_.append(name);
        text_.append("=\"");
    }
    std::string& text_;
};

} // namespace xantu
