#include "text/VisibleText.h"

namespace xantu {

std::string VisibleText(std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c != 0x7F) {
            out.push_back(ch);
            continue;
        }
        out.push_back('\\');
        switch (c) {
        case 0:
            out.push_back('0');
            break;
        case '\t':
            out.push_back('t');
            break;
        case '\n':
            out.push_back('n');
            break;
        case '\r':
            out.push_back('r');
            break;
        default:
            out.push_back('x');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        }
    }
    return out;
}

} // namespace xantu
