// Every text the list document and its files show to a person.
#pragma once

#ifdef XANTU_LISTFILES_LIBRARY
#error "The list files build on the model and the trees alone; pass them what they need from the document."
#endif

namespace core_texts {

// Captions of the four kinds of message box.
inline constexpr const char* CaptionWarning = "Warnung";
inline constexpr const char* CaptionError = "Fehler";
inline constexpr const char* CaptionInformation = "Information";
inline constexpr const char* CaptionConfirmation = "Bestätigung";

inline constexpr const char* StatusLoaded = "XML Struktur geladen";
inline constexpr const char* StatusFormatError = "Formatfehler der XML-Dateien";
inline constexpr const char* OutOfMemory = "Nicht genügend Arbeitsspeicher";

// Der Channel :"<entry>"\rim Bouquet "<bouquet>" hat keinen gültigen Service!"
inline constexpr const char* UnlinkedBefore = "Der Channel :\"";
inline constexpr const char* UnlinkedMiddle = "\"\rim Bouquet \"";
inline constexpr const char* UnlinkedAfter = "\" hat keinen gültigen Service!\"";

inline constexpr const char* NoListsToSave =
    "Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ...";
inline constexpr const char* ListsIncomplete = "Die Listen wurden nicht vollständig geladen; Speichern "
                                               "würde Daten verlieren.\rDie Aktion wird abgebrochen ...";

inline constexpr const char* PositionListMissing =
    "Die Datei \"satpositionen.xml\" im Hauptverzeichnis des XantuEditors\rwurde nicht gefunden!";
// Die Datei "<path>"\rwurde nicht gefunden!
inline constexpr const char* OtherPositionListMissingBefore = "Die Datei \"";
inline constexpr const char* OtherPositionListMissingAfter = "\"\rwurde nicht gefunden!";

// "<satellite>" verfügt über keine Position in services.xml! ... <position> ...
inline constexpr const char* PositionFoundBefore = "\"";
inline constexpr const char* PositionFoundMiddle = "\" verfügt über keine Position in services.xml!\r"
                                                   "Es wird jetzt die Sat-Position: ";
inline constexpr const char* PositionFoundAfter =
    " verwendet!\rWenn die Position nicht stimmt, muß die Datei \"satpositionen.xml\"\r"
    "auf den neuesten Stand gebracht werden!";
// "<satellite>" verfügt über keine Position ... nicht gefunden! ...
inline constexpr const char* PositionNotFoundBefore = "\"";
inline constexpr const char* PositionNotFoundAfter =
    "\" verfügt über keine Position in services.xml und\r"
    "wird auch in der Sat-Positionsliste nicht gefunden!\rBringen Sie die Datei "
    "\"satpositionen.xml\" auf den neuesten Stand\roder prüfen Sie die \"services.xml\"!";

} // namespace core_texts
