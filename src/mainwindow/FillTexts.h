// Texts of the window's commands that fill, order and tidy bouquets. UTF-8;
// "\r" marks a line break.
#pragma once

namespace xantu::mainwindow_texts {

inline constexpr const char* kAddToBouquet = "Zu Bouquet hinzufügen";
inline constexpr const char* kAddToLastBouquet = "Zum zuletzt gewählten Bouquet hinzufügen";
// %1: the bouquet's name.
inline constexpr const char* kAddToNamedBouquet = "Zu \"%1\" hinzufügen";
inline constexpr const char* kNoLastBouquet =
    "Noch kein Bouquet gewählt.\rBitte einmal über \"Zu Bouquet hinzufügen\" ein Bouquet wählen.";
inline constexpr const char* kNoBouquets = "(keine Bouquets)";
// %1: how many, %2: the bouquet's name.
inline constexpr const char* kAddedToBouquet = "%1 Services zu \"%2\" hinzugefügt";

inline constexpr const char* kMoveUp = "Nach oben";
inline constexpr const char* kMoveDown = "Nach unten";
inline constexpr const char* kMoveToTop = "An den Anfang";
inline constexpr const char* kMoveToEnd = "Ans Ende";

inline constexpr const char* kSortBouquet = "Bouquet sortieren";
inline constexpr const char* kSortByName = "Nach Name";
inline constexpr const char* kSortByServiceId = "Nach Service-ID";
inline constexpr const char* kSortReverse = "Reihenfolge umkehren";

inline constexpr const char* kRemoveWithoutService = "Einträge ohne Service entfernen";
inline constexpr const char* kRemoveDuplicates = "Doppelte Einträge entfernen";

} // namespace xantu::mainwindow_texts
