// User-visible texts of the editing layer, UTF-8.
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

} // namespace xantu::edit_texts
