// Texts the bouquet editing shows: the summary of changes before a send,
// and the questions and reports of the commands that fill, order and tidy
// bouquets. UTF-8; "\r" marks a line break.
#pragma once

namespace xantu::edit_texts {

// The summary of changes before a send: "Änderungen: 2 Bouquets neu, 1
// gelöscht, 41 Einträge hinzugefügt."
inline constexpr const char* kChanges = "Änderungen: ";
inline constexpr const char* kChangesNone = "keine";
inline constexpr const char* kBouquet = "Bouquet";
inline constexpr const char* kBouquets = "Bouquets";
inline constexpr const char* kEntry = "Eintrag";
inline constexpr const char* kEntries = "Einträge";
inline constexpr const char* kNew = "neu";
inline constexpr const char* kDeleted = "gelöscht";
inline constexpr const char* kRenamed = "umbenannt";
inline constexpr const char* kMoved = "verschoben";
inline constexpr const char* kFlagsChanged = "geändert";
inline constexpr const char* kAdded = "hinzugefügt";
inline constexpr const char* kRemoved = "entfernt";

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
