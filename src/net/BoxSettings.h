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
    // The data connections go from the editor to the box (PASV), for boxes
    // behind a router or firewall that cannot connect back.
    bool BoxPassive = false;
};

} // namespace xantu
