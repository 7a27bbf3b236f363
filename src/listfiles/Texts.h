// Every message the readers and writers of the list files raise. The English
// ones are the box software's own wording, kept as the box's users know them.
#pragma once

namespace listfiles_texts {

inline constexpr const char* ServicesRootMissing = "services load <xantu> failed";
inline constexpr const char* BouquetsRootMissing = "bouquets load <xantu> failed";
inline constexpr const char* SatellitesRootMissing = "satellites tag load <satellites> failed";

// "Die Datei <file> ist unvollständig: das Ende </<root>> fehlt."
inline constexpr const char* FileCutShortBefore = "Die Datei ";
inline constexpr const char* FileCutShortMiddle = " ist unvollständig: das Ende </";
inline constexpr const char* FileCutShortAfter = "> fehlt.";

// "Die Datei <file> ist fehlerhaft: ein <<tag>>-Element ist nicht abgeschlossen."
inline constexpr const char* ElementOpenBefore = "Die Datei ";
inline constexpr const char* ElementOpenMiddle = " ist fehlerhaft: ein <";
inline constexpr const char* ElementOpenAfter = ">-Element ist nicht abgeschlossen.";

inline constexpr const char* SatAndCable = "Die Datei services.xml enthält Satelliten (<sat>) und Kabelnetze "
                                           "(<cable>) zugleich; eine Liste gilt nur für eine Art von Box.";

// Both writers refuse lists of no known kind of box, as the save guard does.
inline constexpr const char* NoListsToSave =
    "Es gibt kein Bouquet bzw. keine Services!\rDie Aktion wird abgebrochen ...";

// "'<text>' ist kein gültiger Integerwert"
inline constexpr const char* NotAnIntegerAfter = "' ist kein gültiger Integerwert";
inline constexpr const char* InvalidHexCharacter = "Invalid hex character ";
inline constexpr const char* EmptySearchText = "BufferLen is 0";

} // namespace listfiles_texts
