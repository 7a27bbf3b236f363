#include "model/XmlFormat.h"

namespace xantu {

std::string HexText(int32_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    uint32_t v = static_cast<uint32_t>(value);
    char buf[8];
    int n = 0;
    do {
        buf[n++] = kDigits[v & 0xF];
        v >>= 4;
    } while (v != 0);
    std::string out;
    out.reserve(8);
    for (int i = n; i < digits; ++i)
        out.push_back('0');
    while (n > 0)
        out.push_back(buf[--n]);
    return out;
}

std::string DecText(int32_t value) {
    return std::to_string(value);
}

XmlLine& XmlLine::Open(std::string_view element) {
    text_.clear();
    text_.push_back('<');
    text_.append(element);
    return *this;
}

XmlLine& XmlLine::Text(std::string_view name, std::string_view value) {
    text_.push_back(' ');
    text_.append(name);
    // A value that holds a double quote (read from single quotes) goes back
    // in single quotes, so that it reads back as it was.
    const char quote =
        value.find('"') != std::string_view::npos && value.find('\'') == std::string_view::npos ? '\'' : '"';
    text_.push_back('=');
    text_.push_back(quote);
    text_.append(value);
    text_.push_back(quote);
    return *this;
}

std::string XmlLine::Close() {
    text_.push_back('>');
    return std::move(text_);
}

std::string XmlLine::SelfClose() {
    text_.append("/>");
    return std::move(text_);
}

} // namespace xantu
