// Texts the bouquet editing shows: questions and reports of the commands
// that fill, order and tidy bouquets. UTF-8; "\r" marks a line break.
#pragma once

namespace xantu::edit_texts {

// %d: how many of the services to add stand in the bouquet already.
inline constexpr const char* kAlreadyInBouquet = "%d Services sind bereits im Bouquet. Trotzdem hinzufügen?";
// %d: entries whose service is gone.
inline constexpr const char* kRemoveWithoutServiceQuestion =
    "%d Einträge haben keinen Service.\rSollen sie entfernt werden?";
inline constexpr const char* kRemovedWithoutService = "%d Einträge ohne Service entfernt.";
inline constexpr const char* kNoneWithoutService = "Alle Einträge haben einen Service.";
inline constexpr const char* kRemovedDuplicates = "%d doppelte Einträge entfernt.";
inline constexpr const char* kNoDuplicates = "Kein Bouquet enthält einen Service doppelt.";

} // namespace xantu::edit_texts
