#pragma once

#include <string>

namespace xantu {

class TListDocument;

// Both trees as one JSON document, in tree order, names decoded for reading.
std::string DumpJson(const TListDocument& doc);

} // namespace xantu
