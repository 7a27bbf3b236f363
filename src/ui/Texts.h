// What the program's dialog layer says: the buttons of the message boxes,
// the general error report and the backup list. UTF-8; Qt code turns them
// into QString with QString::fromUtf8.
#pragma once

namespace xantu::ui_texts {

inline constexpr const char* kYes = "&Ja";
inline constexpr const char* kNo = "&Nein";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "Abbrechen";
inline constexpr const char* kOutOfMemory = "Nicht genügend Arbeitsspeicher";
inline constexpr const char* kUnknownError = "Unbekannter Fehler";

// --- backup list ---
inline constexpr const char* kBackupTitle = "Sicherung öffnen ...";
inline constexpr const char* kBackupHint = "Die neueste Sicherung steht oben. Die geöffneten Listen gelten "
                                           "als geändert, bis sie gespeichert oder übertragen sind.";
inline constexpr const char* kBackupWhen = "Datum";
inline constexpr const char* kBackupKind = "Art";
inline constexpr const char* kBackupBouquets = "Bouquets";
inline constexpr const char* kBackupServices = "Services";
inline constexpr const char* kBackupOpen = "Ö&ffnen";

} // namespace xantu::ui_texts
