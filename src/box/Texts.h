// What the basic settings dialog and its ping say. UTF-8; Qt code turns
// them into QString with QString::fromUtf8.
#pragma once

namespace xantu::box_texts {

inline constexpr const char* kTitle = "BasisEinstellungen";
inline constexpr const char* kBoxIP = "&IP der Box";
inline constexpr const char* kBoxUser = "&Benutzername";
inline constexpr const char* kBoxPass = "Pass&word";
inline constexpr const char* kBoxBouqDir = "P&fad [bouquets + services]";
inline constexpr const char* kInfoChannelWithoutService =
    "Info über &Channels ohne gültigen Service (beim Öffnen / Laden)";
inline constexpr const char* kPingCaption = "&Ping the Box";
inline constexpr const char* kPingRunning = "Ping läuft ...";
inline constexpr const char* kUnknownHost = "Unbekannter Host '%1'";
inline constexpr const char* kPingFailed = "Cannot ping host [%1] : %2";
inline constexpr const char* kPingDone = "Ping an Host [%1] war erfolgreich!\rEcho kam nach %2 msecs";

} // namespace xantu::box_texts
