// The settings file at start: a file the game cannot use is told, with its path and why.
#pragma once

namespace kazoomba {

class ProfileFile;

// Before the game reads the file: when it cannot be used (unreadable, too large, a folder, damaged
// UTF-16), says so and keeps the game from writing it for the whole run. False when a signal closed
// the message: the program then ends.
bool CheckSettingsFileAtStart(ProfileFile& settings);

}  // namespace kazoomba
