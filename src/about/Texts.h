// What the about box says. UTF-8; Qt code turns them into QString with
// QString::fromUtf8.
#pragma once

namespace xantu::about_texts {

inline constexpr const char* kTitle = "About";
inline constexpr const char* kProgram = "Programm";
inline constexpr const char* kVersion = "Version";
// Spelt as the box has always shown it.
inline constexpr const char* kCopyright = "Copyrigth";
inline constexpr const char* kMailTo = "MailTo";

} // namespace xantu::about_texts
