// Text the user types, turned into the bytes the list files hold.
#pragma once

#include "core/ListDocument.h"

#include <string>
#include <string_view>

namespace xantu {

// The list bytes of a typed name: UTF-8 when the lists are UTF-8, else
// Windows-1252 (characters outside it become '?'), with & < > " written as
// XML entities, as the names read from the files have them.
std::string EncodeTypedName(std::string_view utf8, bool listsAreUtf8);

// True unless some name of either tree is not valid UTF-8, in which case the
// lists are taken to be Windows-1252.
bool NamesAreUtf8(const TListDocument& doc);

// True when `name`, with A-Z lower-cased and blanks and control characters
// cut at both ends, reads "andere".
bool ReadsAndere(std::string_view name);

// A-Z folded only; every other byte compared as it is.
bool EqualAsciiNoCase(std::string_view a, std::string_view b);

} // namespace xantu
