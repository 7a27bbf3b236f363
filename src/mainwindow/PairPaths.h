// The list pair always lives in one folder: the bouquets file under the name
// the user chose, the services file as services.xml beside it. A chosen name
// that is services.xml itself would make both one file, the second write
// replacing the first.
#pragma once

#include <QString>

namespace xantu {

// True when `a` and `b` name one file: the same path, the same existing file
// (a link), or names that differ only in case in a folder that ignores
// case. When that cannot be told (neither file exists and the folder holds
// nothing to compare with) names differing only in case count as one.
bool NamesOneFile(const QString& a, const QString& b);

} // namespace xantu
