// What the main window says to the user, in one place: captions, hints,
// questions, messages and status texts. UTF-8; Qt code turns them into
// QString with QString::fromUtf8.
#pragma once

namespace xantu::mainwindow_texts {

// --- frame ---
inline constexpr const char* kWindowTitleStart = "XANTU Editor";
inline constexpr const char* kSatBoxTitle = " [Sat-Box]";
inline constexpr const char* kCableBoxTitle = " [Kabel-Box]";
inline constexpr const char* kPageBouquets = "&Bouquets";
inline constexpr const char* kPageServices = "&Services";
inline constexpr const char* kModified = "Geändert";
inline constexpr const char* kSettingsNotWritten = "Die Einstellungen konnten nicht gespeichert werden:\r";
inline constexpr const char* kAskQuit = "Am aktuellen Bouquet wurden Änderungen vorgenommen!\r"
                                        "Wollen Sie die Anwendung beenden und die Änderungen verlieren?";
inline constexpr const char* kAskDiscard = "Am aktuellen Bouquet wurden Änderungen vorgenommen!\r"
                                           "Wollen Sie fortfahren und die Änderungen verlieren?";
inline constexpr const char* kUnlinkedCount = "%1 Channels haben keinen gültigen Service:\r";
inline constexpr const char* kUnlinkedEntry = "\rBouquet \"%1\": \"%2\"";
inline constexpr const char* kUnlinkedMore = "\r… und %1 weitere";

// --- menus ---
inline constexpr const char* kMenuAnwendung = "&Anwendung";
inline constexpr const char* kMenuFtp = "&FTP";
inline constexpr const char* kMenuBearbeiten = "&Bearbeiten";
inline constexpr const char* kMenuAnsicht = "An&sicht";
inline constexpr const char* kMenuBasicSettings = "&Basiseinstellungen";
inline constexpr const char* kMenuOpen = "Öffnen ...";
inline constexpr const char* kMenuSaveAs = "&Speichern unter ...";
inline constexpr const char* kMenuOpenBackup = "Sicherung öffnen ...";
inline constexpr const char* kMenuBeenden = "&Beenden";
inline constexpr const char* kMenuCopyMove = "CopyMove ";
inline constexpr const char* kMenuLoadFtp = "Bouquet von der Box &laden";
inline constexpr const char* kMenuSaveFtp = "Bouquet zur Box über&tragen";
inline constexpr const char* kMenuNewBouquet = "&Neues Bouquet anlegen";
inline constexpr const char* kMenuDeleteSelection = "&Löschen der Auswahl";
inline constexpr const char* kMenuSuchen = "&Suchen ...";
inline constexpr const char* kMenuWeitersuchen = "&Weitersuchen";
inline constexpr const char* kMenuTV = "&TV";
inline constexpr const char* kMenuRadio = "&Radio";
inline constexpr const char* kMenuSpezial = "&Spezielle Dienste";
inline constexpr const char* kMenuServicepool = "Service&pool";
inline constexpr const char* kMenuSatPosList = "Satellitenpositionsliste";
inline constexpr const char* kMenuInfo = "&Info";
inline constexpr const char* kMenuExpandBouquets = "&Ganze Struktur anzeigen";
inline constexpr const char* kMenuShowOnlyBouquets = "&Nur Bouquets anzeigen";
// The services tree's item has always been spelt this way.
inline constexpr const char* kMenuExpandServices = "&Ganze Stuktur anzeigen";
inline constexpr const char* kMenuShowOnlyTransponder = "Nur Transponder anzeigen";
inline constexpr const char* kMenuUndo = "&Rückgängig";
inline constexpr const char* kMenuRedo = "&Wiederholen";

// --- tool-bar hints ---
inline constexpr const char* kHintBeenden = "Beenden";
inline constexpr const char* kHintOpen = "Öffnen ...";
inline constexpr const char* kHintSaveAs = "Speichern unter ...";
inline constexpr const char* kHintLoadFtp = "Bouquet von der Box laden";
inline constexpr const char* kHintSaveFtp = "Bouquet zur Box übertragen";
inline constexpr const char* kHintShowTV = "TV anzeigen";
inline constexpr const char* kHintShowRadio = "Radio anzeigen";
inline constexpr const char* kHintShowSpezial = "Spezielle Dienste anzeigen";
inline constexpr const char* kHintServicePool = "Servicepool";
inline constexpr const char* kHintNewBouquet = "Neues Bouquet anlegen";
inline constexpr const char* kHintDeleteSelection = "Auswahl löschen";
inline constexpr const char* kHintInfo = "Info";

// --- info columns ---
inline constexpr const char* kInfoHeading = "Informationen";
inline constexpr const char* kBouquet = "Bouquet";
inline constexpr const char* kChannel = "Channel";
inline constexpr const char* kName = "Name";
inline constexpr const char* kHidden = "&Hidden";
inline constexpr const char* kLocked = "&Locked";
inline constexpr const char* kAndereInfo =
    "\"andere\" ist der Papierkorb und enthält alle Services, die nicht "
    "in normalen Bouquets zugewiesen wurden. \nServiceTypen: "
    "0x01[TV], 0x02[Radio]";
inline constexpr const char* kSatPosition = "SatPosition";
inline constexpr const char* kGotoService = "Service";
inline constexpr const char* kServicesAll = "Services (alle)";
inline constexpr const char* kServicesTV = "TV [0x0001]";
inline constexpr const char* kServicesRadio = "Radio [0x0002]";
inline constexpr const char* kSatellite = "Satelit";
inline constexpr const char* kCable = "Kabel";
inline constexpr const char* kTransponder = "Transponder";
inline constexpr const char* kPolarization = "Polarization";
inline constexpr const char* kModulation = "Modulation";
inline constexpr const char* kHorizontal = "horizontal";
inline constexpr const char* kVertical = "vertical";
inline constexpr const char* kKHz = " kHz";
inline constexpr const char* kTypeTV = " [TV]";
inline constexpr const char* kTypeRadio = " [Radio]";

// --- bouquet tree ---
inline constexpr const char* kReservedName = "\"andere\" ist ein reserviertes Wort und\r"
                                             "darf nicht für ein Bouquet verwendet werden!";
inline constexpr const char* kReservedReplacement = "Bouquet [reserviertes Wort]";
inline constexpr const char* kNoServiceStart = "Der Channel :\"";
inline constexpr const char* kNoServiceEnd = "\"\rhat keinen gültigen Service!\"";

// --- open and save ---
inline constexpr const char* kXmlFilter = "XML Dateien (*.xml)";
inline constexpr const char* kOpenTitle = "Bouquet und Services öffnen ...";
inline constexpr const char* kSaveTitle = "Bouquet & Services lokal speichern ...";
inline constexpr const char* kNoServicesFile =
    "Die Datei \"services.xml\" existiert nicht! Öffnen wird abgebrochen!";
inline constexpr const char* kBouquetsIsServices =
    "Die Bouquetdatei darf nicht die Servicesdatei \"services.xml\" "
    "sein!\rSpeichern wird abgebrochen!";
inline constexpr const char* kAskOverwrite =
    "Die Bouquet- und/oder Servicesdatei existiert bereits!\rÜberschreiben?";
inline constexpr const char* kStatusOpening = "Dateien öffnen ...";
inline constexpr const char* kStatusOpenFailed = "Öffnen ist fehlgeschlagen";
inline constexpr const char* kStatusRead = "Dateien eingelesen";
inline constexpr const char* kStatusBackupFailed = "Sicherungskopie fehlgeschlagen";

// --- backups ---
inline constexpr const char* kNoBackups = "Es gibt noch keine Sicherungen.";
inline constexpr const char* kBackupIncomplete =
    "Die Sicherung enthält nicht beide Dateien! Öffnen wird abgebrochen!";
inline constexpr const char* kBackupLocal = "vor lokalem Speichern";
inline constexpr const char* kBackupFetched = "von der Box geladen";
inline constexpr const char* kBackupSent = "zur Box übertragen";
inline constexpr const char* kBackupBox = "Box vor dem Übertragen";

// --- satellite position window ---
inline constexpr const char* kSatPosTitle = "Satellitenpositionen";
inline constexpr const char* kSatPosInfo =
    "Sat-Positionen aus \"satpositionen.xml\" im Hauptverzeichnis des "
    "Xantueditor.\nVerwendung:  Nur bei einem Bouquet ohne "
    "Satellitenpositionen, um dies auf den neuesten Stand zu bringen. Die "
    "Datei kann bei Bedarf manuell editiert werden.";
inline constexpr const char* kSatPosSatellite = "Satellit";
inline constexpr const char* kSatPosPosition = "Position";
inline constexpr const char* kClose = "S&chließen";

} // namespace xantu::mainwindow_texts
