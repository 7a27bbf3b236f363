// User-visible texts of the box connection, UTF-8.
#pragma once

namespace xantu::net_texts {

inline constexpr const char* kAskDiscard = "Am aktuellen Bouquet wurden Änderungen vorgenommen!\r"
                                           "Wollen Sie fortfahren und die Änderungen verlieren?";
inline constexpr const char* kBackupFailed = " - Sicherungskopie fehlgeschlagen";
inline constexpr const char* kBoxNotKept = " - Stand der Box nicht gesichert";
inline constexpr const char* kBoxEmpty = " - keine Listen auf der Box";
inline constexpr const char* kLoadRunning = "FTP-Transfer läuft ...";
inline constexpr const char* kLoadFailed = "FTP-Transfer fehlgeschlagen";
inline constexpr const char* kLoadDone = "FTP-Transfer beendet";
inline constexpr const char* kListsLoaded = "XML Struktur geladen";
inline constexpr const char* kSendRunning = "FTP zur Box läuft ...";
inline constexpr const char* kSendDone = "FTP zur Box komplett";
inline constexpr const char* kSendFailed = "FTP zur Box fehlgeschlagen!";
inline constexpr const char* kSendSucceeded = "Die Daten wurden erfolgreich zur Box übertragen!";
inline constexpr const char* kSendRefused = "Übertragung zur Box fehlgeschlagen!\r";
inline constexpr const char* kBothRefused = "\"bouquets.xml\" und \"services.xml\" wurden";
inline constexpr const char* kServicesRefused = "\"services.xml\" wurde";
inline constexpr const char* kBouquetsRefused = "\"bouquets.xml\" wurde";
inline constexpr const char* kNotTaken = " von der Box nicht angenommen.";
inline constexpr const char* kSendProblem = "Probleme beim FTP- Transfer auf die Box!";
// The question before a send; the summary of the changes follows on a line
// of its own.
inline constexpr const char* kAskSend = "Bouquets und Services zur Box übertragen?";

} // namespace xantu::net_texts
