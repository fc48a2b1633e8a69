#pragma once

#include <string>

#include "engine/World.h"

// The splash window's texts. It is the application's main window: closing it ends the program.
namespace Tsplash {
inline constexpr const char* Presents = "presents..";
inline constexpr const char* PresentsHint = "Welcome";
inline constexpr const char* TitleHintPrefix = "Welcome to ";  // followed by the title
inline constexpr const char* CareerlyTitle = "Set your CV Free at ";
inline constexpr const char* LinkHint = "Click me to visit the website";
inline constexpr const char* Play = "PLAY!";
inline constexpr const char* NewUser = "New User";
inline constexpr const char* BuildLabel = "Build: " REALTOPIA_BUILD;
inline constexpr const char* CreatedBy = "created by Brightwork";

// What `--version` prints: the program's name and version, then the build.
inline std::string VersionText(const std::string& program) {
    return program + " " + kVersion + "\n" + BuildLabel;
}
}  // namespace Tsplash
