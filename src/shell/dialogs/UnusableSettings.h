// Telling the player at start that the settings file cannot be used, which file and why.
#pragma once

#include <QString>

class QWidget;

namespace kazoomba {

inline constexpr const char* kUnusableSettingsTitle = "Settings File Not Used";

// The message; `reason` is ProfileFile::CheckAtStart(), path included.
QString UnusableSettingsText(const QString& reason);

// A warning with OK: the game starts a new game and leaves the file as it is.
void TellSettingsFileUnusable(const QString& reason, QWidget* parent);

}  // namespace kazoomba
