// What the bouquet editing's own controls say: the copy/move panel and the
// search dialog. UTF-8; Qt code turns them into QString with
// QString::fromUtf8.
#pragma once

namespace xantu::editui_texts {

// --- copy/move panel ---
inline constexpr const char* kCopy = "Kopieren";
inline constexpr const char* kMove = "Verschieben";
inline constexpr const char* kPanelHint = "Kopieren oder Verschieben der Nodes\nShortcut: F5";

// --- search dialog ---
inline constexpr const char* kSearchTitle = "Suchen";
inline constexpr const char* kSearchIn = "Suchen &in ";
inline constexpr const char* kTargetNames = "Bouquet- und Channelnamen";
inline constexpr const char* kTargetServiceId = "ServiceID";
inline constexpr const char* kTargetOnId = "OnID";
inline constexpr const char* kFindLabel = "Suchen &nach:";
inline constexpr const char* kHexPrefix = "0x";
inline constexpr const char* kOptions = "Optionen";
inline constexpr const char* kMatchCase = "&Groß- / Kleinschreibung";
inline constexpr const char* kFullEqual = "&vollständige Übereinstimmung (außer Groß- / Kleinschreibung)";
inline constexpr const char* kEmptySearch = "Der Suchstring darf nicht leer bleiben!";
inline constexpr const char* kNotHex = "Der Suchstring ist nicht hexadezimal!";

} // namespace xantu::editui_texts
