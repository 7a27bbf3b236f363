// What the service pool window says to the user. UTF-8; Qt code turns them
// into QString with QString::fromUtf8.
#pragma once

namespace xantu::pool_texts {

inline constexpr const char* kTitle = "Servicepool";
inline constexpr const char* kMenuHide = "&Ausblenden";
inline constexpr const char* kMenuTypes = "&Servicetypen";
inline constexpr const char* kMenuTV = "&TV";
inline constexpr const char* kMenuRadio = "&Radio";
inline constexpr const char* kMenuSpezial = "&Spezielle Dienste";
inline constexpr const char* kMenuColumns = "&Darstellung";
inline constexpr const char* kMenuSID = "Service&ID";
inline constexpr const char* kMenuSTyp = "Service&Typ";
inline constexpr const char* kMenuTrOnID = "Transponder&OnID";
inline constexpr const char* kMenuTrID = "&TransponderID";
inline constexpr const char* kMenuDiseqc = "&Diseqc";
inline constexpr const char* kMenuSatelit = "&Satelit";
inline constexpr const char* kMenuHinweis = "&Hinweis";
inline constexpr const char* kBarForm = "Formular";
inline constexpr const char* kBarTypes = "ServiceTypen";
inline constexpr const char* kBarHint = "Hinweis";
inline constexpr const char* kHintHide = "Ausblenden";
// The trailing blank has always been part of this hint.
inline constexpr const char* kHintShowTV = "TV anzeigen ";
inline constexpr const char* kHintShowRadio = "Radio anzeigen";
inline constexpr const char* kHintShowSpezial = "Spezielle Dienste anzeigen";
inline constexpr const char* kHintHinweis = "Hinweis";
inline constexpr const char* kShownCount = "Angezeigte Services: ";
inline constexpr const char* kHinweis =
    "Leider noch nicht vollständig in Funktion.\r(im Prinzip der Punkt, wo ich nach "
    "1.5.0.3 die Entwicklung eingestellt habe)\r\rZiel war, per Drag/Drop aus dem "
    "Servicepool die Services ins Bouquet ziehen zu können. Ein Klick auf die "
    "Spaltenköpfe sortiert die Liste.";

} // namespace xantu::pool_texts
