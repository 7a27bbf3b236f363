#include "model/XmlFormat.h"

#include <charconv>

namespace xantu {

void AppendHex(std::string& out, int32_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    uint32_t v = static_cast<uint32_t>(value);
    char buf[8];
    int n = 0;
    do {
        buf[n++] = kDigits[v & 0xF];
        v >>= 4;
    } while (v != 0);
    for (int i = n; i < digits; ++i)
        out.push_back('0');
    while (n > 0)
        out.push_back(buf[--n]);
}

void AppendDec(std::string& out, int32_t value) {
    char buf[12];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

std::string HexText(int32_t value, int digits) {
    std::string out;
    AppendHex(out, value, digits);
    return out;
}

std::string DecText(int32_t value) {
    std::string out;
    AppendDec(out, value);
    return out;
}

XmlLine& XmlLine::Text(std::string_view name, std::string_view value) {
    // A value that holds a double quote (read from single quotes) goes back
    // in single quotes, so that it reads back as it was.
    const char quote =
        value.find('"') != std::string_view::npos && value.find('\'') == std::string_view::npos ? '\'' : '"';
    text_.push_back(' ');
    text_.append(name);
    text_.push_back('=');
    text_.push_back(quote);
    text_.append(value);
    text_.push_back(quote);
    return *this;
}

} // namespace xantu
