// User-visible texts of the basic settings dialog, UTF-8.
#pragma once

namespace box_texts {

inline constexpr const char* kPassive = "Passiver Modus (PASV)";

} // namespace box_texts
