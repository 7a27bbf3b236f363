#include "listfiles/TagBytes.h"

#include <algorithm>

namespace xantu {

using namespace tagbytes;

void TTagStarts::Build(std::string_view text) {
    base_ = text.data();
    size_ = text.size();
    at_.clear();
    hint_ = 0;
    // Offsets are 32 bits wide; a text beyond that is searched the long way.
    if (text.size() > UINT32_MAX)
        return;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* q = begin; (q = static_cast<const char*>(std::memchr(q, '<', end - q))); ++q)
        at_.push_back(static_cast<uint32_t>(q - begin));
}

std::size_t TTagStarts::Find(std::string_view needle, std::string_view part, std::size_t start) const {
    const std::size_t m = needle.size();
    const std::size_t n = part.size();
    if (start < 1)
        start = 1;
    if (m == 0 || n == 0 || start > n || m > n - (start - 1))
        return TextPosNoCaseAnchored(needle, part, start); // its answers and errors for the odd cases
    const std::size_t offset = static_cast<std::size_t>(part.data() - base_);
    const std::size_t from = offset + start - 1;
    const std::size_t lastStart = offset + n - m;
    // Searches mostly go forward from where the last one began: the first
    // '<' at or after `from` is looked for from there in growing steps, and
    // only a search that goes back looks through the whole list.
    std::size_t lo = 0, hi = at_.size();
    if (hint_ < at_.size() && at_[hint_] < from) {
        lo = hint_ + 1;
        std::size_t step = 1;
        while (lo + step < hi && at_[lo + step] < from) {
            lo += step + 1;
            step *= 2;
        }
        hi = std::min(hi, lo + step + 1);
    }
    std::size_t k =
        static_cast<std::size_t>(std::lower_bound(at_.begin() + lo, at_.begin() + hi, from) - at_.begin());
    hint_ = k;
    // Most '<' start another tag than the one looked for, which its second
    // byte already tells.
    const unsigned char second = m > 1 ? Fold(needle[1]) : 0;
    for (; k < at_.size() && at_[k] <= lastStart; ++k) {
        const char* q = base_ + at_[k];
        if ((m < 2 || Fold(q[1]) == second) && SameNameNoCase(std::string_view(q, m), needle))
            return at_[k] - offset + 1;
    }
    return 0;
}

} // namespace xantu
