#include "listfiles/TagBytes.h"

namespace xantu::tagbytes {

std::size_t TagEnd(std::string_view text, std::size_t lt) {
    const char* p = text.data();
    const std::size_t n = text.size();
    for (std::size_t i = lt + 1; i < n; ++i) {
        while (i < n && !(ClassOf(p[i]) & kTagStop))
            ++i;
        if (i >= n)
            break;
        const char c = p[i];
        if (c == '>')
            return i;
        std::size_t j = i;
        while (j > lt + 1 && IsBlank(p[j - 1]))
            --j;
        if (p[j - 1] != '=')
            continue;
        const void* q = std::memchr(p + i + 1, c, n - i - 1);
        if (!q)
            return npos;
        i = static_cast<std::size_t>(static_cast<const char*>(q) - p);
    }
    return npos;
}

bool ScanPlainTag(std::string_view text, std::size_t i, std::size_t& gt, TAttrList& attrs) {
    const char* p = text.data();
    const std::size_t n = text.size();
    for (;;) {
        const std::size_t before = i;
        while (i < n && IsBlank(p[i]))
            ++i;
        if (i >= n)
            return false;
        const char c = p[i];
        if (c == '>') {
            gt = i;
            return true;
        }
        if (c == '/') {
            if (i + 1 < n && p[i + 1] == '>') {
                gt = i + 1;
                return true;
            }
            return false;
        }
        if (i == before || (ClassOf(c) & kNameStop))
            return false;
        const std::size_t nameStart = i;
        i = NameStopFrom(p, i, n);
        const std::size_t nameEnd = i;
        while (i < n && IsBlank(p[i]))
            ++i;
        if (i >= n || p[i] != '=')
            return false;
        ++i;
        while (i < n && IsBlank(p[i]))
            ++i;
        if (i >= n || (p[i] != '"' && p[i] != '\''))
            return false;
        const char quote = p[i];
        const std::size_t valueStart = ++i;
        i = CharFrom(p, i, n, quote);
        if (i >= n)
            return false;
        attrs.push_back(TXmlAttr{text.substr(nameStart, nameEnd - nameStart),
                                 text.substr(valueStart, i - valueStart),
                                 text.substr(nameStart, i + 1 - nameStart)});
        ++i;
    }
}

} // namespace xantu::tagbytes
