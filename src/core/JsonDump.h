#pragma once

#ifdef XANTU_LISTFILES_LIBRARY
#error "The list files build on the model and the trees alone; pass them what they need from the document."
#endif

#include <string>

namespace xantu {

class TListDocument;

// Both trees as one JSON document, in tree order, names decoded for reading.
std::string DumpJson(const TListDocument& doc);

} // namespace xantu
