// Every text xantu-lists prints for its list commands: usage, help and
// messages. The box commands keep theirs beside the transfers.
#pragma once

namespace cli_texts {

inline constexpr const char* Usage =
    "Aufruf: xantu-lists BEFEHL [OPTIONEN] ...\n"
    "\n"
    "Befehle:\n"
    "  check   Listenpaar laden und prüfen\n"
    "  resave  Listenpaar laden und neu schreiben, wie der Editor speichert\n"
    "  dump    Listenpaar laden und als JSON ausgeben\n"
    "  fetch   Listenpaar per FTP von der Box holen\n"
    "  send    Listenpaar per FTP zur Box übertragen\n"
    "  backups Sicherungen auflisten\n"
    "\n"
    "'xantu-lists BEFEHL --help' erklärt einen Befehl.\n";
// printf formats: the command, then the usage.
inline constexpr const char* UnknownCommand = "xantu-lists: unbekannter Befehl '%s'\n\n%s";

inline constexpr const char* CheckHelp =
    "Aufruf: xantu-lists check [--satpositions DATEI] BOUQUETS_DATEI\n"
    "\n"
    "Lädt BOUQUETS_DATEI und services.xml aus demselben Ordner wie der Editor,\n"
    "meldet jede Meldung des Editors auf stderr und gibt drei Zeilen mit\n"
    "Boxtyp und Zählern aus.\n";
inline constexpr const char* ResaveHelp =
    "Aufruf: xantu-lists resave [--satpositions DATEI] BOUQUETS_DATEI ZIELORDNER\n"
    "\n"
    "Lädt das Listenpaar wie 'check' und schreibt es so, wie der Editor speichert,\n"
    "nach ZIELORDNER (wird bei Bedarf angelegt).\n";
inline constexpr const char* DumpHelp =
    "Aufruf: xantu-lists dump [--satpositions DATEI] BOUQUETS_DATEI\n"
    "\n"
    "Lädt das Listenpaar wie 'check' und gibt beide Bäume als JSON aus.\n";

// printf formats of the option errors; each ends with the command's help.
inline constexpr const char* PositionsNeedFile = "xantu-lists: --satpositions braucht einen Dateinamen\n\n%s";
inline constexpr const char* UnknownOption = "xantu-lists: unbekannte Option '%s'\n\n%s";
inline constexpr const char* WrongFileCount = "xantu-lists: %zu Datei(en) erwartet, %zu angegeben\n\n%s";

inline constexpr const char* OutputFailed = "Die Ausgabe konnte nicht geschrieben werden.";
inline constexpr const char* NoServicesFile =
    "Die Datei \"services.xml\" existiert nicht! Öffnen wird abgebrochen!";
inline constexpr const char* OpenFailed = "Öffnen ist fehlgeschlagen: ";
// Der Ordner "<dir>" kann nicht angelegt werden.
inline constexpr const char* FolderFailedBefore = "Der Ordner \"";
inline constexpr const char* FolderFailedAfter = "\" kann nicht angelegt werden.";

} // namespace cli_texts
