#include "listfiles/FastStringFuncs.h"

#include "listfiles/FastStrings.h"
#include "listfiles/Texts.h"
#include "model/XantuModel.h"
#include "text/ListText.h"
#include "text/VisibleText.h"

#include <array>
#include <string>

namespace xantu {

namespace {
[[noreturn]] void NotAnInteger(std::string_view text) {
    throw EConvertError("'" + BytesAsUtf8(VisibleText(text)) + listfiles_texts::NotAnIntegerAfter);
}
} // namespace

uint64_t ParseHex(std::string_view text) {
    // The identifier attributes carry two to eight digits; a text beyond 255
    // characters is no identifier at all and is refused rather than read in
    // part.
    if (text.size() > 255)
        NotAnInteger(text);
    // Digit values by byte: the place of the byte's upper-case image in
    // "0123456789ABCDEF", or -1.
    static const auto kValue = [] {
        std::array<int8_t, 256> v{};
        v.fill(-1);
        static constexpr std::string_view kDigits = "0123456789ABCDEF";
        for (int c = 0; c < 256; ++c) {
            std::size_t pos = CharPosNoCase(kDigits, static_cast<char>(c), 1);
            if (pos != 0)
                v[static_cast<std::size_t>(c)] = static_cast<int8_t>(pos - 1);
        }
        return v;
    }();
    // Read forward: the same value as summing digit times its power of 16
    // (digits beyond the sixteenth from the right fall out of 64 bits either
    // way).
    uint64_t result = 0;
    bool bad = false;
    for (char c : text) {
        const int digit = kValue[static_cast<unsigned char>(c)];
        bad = bad || digit < 0;
        result = result * 16 + static_cast<uint64_t>(digit & 15);
    }
    if (bad) {
        // The message names the last byte that is no digit, as a reading
        // from the right meets it first.
        std::size_t i = text.size();
        while (kValue[static_cast<unsigned char>(text[i - 1])] >= 0)
            --i;
        throw Exception(listfiles_texts::InvalidHexCharacter +
                        BytesAsUtf8(VisibleText(std::string_view(&text[i - 1], 1))));
    }
    return result;
}

int32_t StrToInt(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        NotAnInteger(text);
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            NotAnInteger(text);
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            NotAnInteger(text);
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        NotAnInteger(text);
    return static_cast<int32_t>(value);
}

} // namespace xantu
