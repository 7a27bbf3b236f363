// How the editor reaches the box, as the settings dialog edits it.
#pragma once

#include <QString>

namespace xantu {

struct TBoxSettings {
    QString BoxIP;
    QString BoxUser = QStringLiteral("root");
    QString BoxPass = QStringLiteral("qvex5");
    QString BoxBouqDir = QStringLiteral("/var/pelmar/config/xantu");
    bool Info_ChannelWithoutService = true;
};

} // namespace xantu
