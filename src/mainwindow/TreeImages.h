// The five 16x16 pictures shared by both trees and the service pool:
// 0 structure node (folder), 1 TV, 2 radio, 3 special service, 4 the
// reserved bouquet. Drawn here, so they look the same on every desktop.
#pragma once

#include <QIcon>

namespace xantu {

inline constexpr int kTreeImageCount = 5;

// The picture of one index; an empty icon for an index out of range.
QIcon TreeImage(int index);

} // namespace xantu
