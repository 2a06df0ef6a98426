// Telling the player that the settings file cannot be used, or that values of a saved game cannot be
// read as written: which file, which values, and why.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace kazoomba {

inline constexpr const char* kUnusableSettingsTitle = "Settings File Not Used";

// The message; `reason` is ProfileFile::CheckAtStart(), path included.
QString UnusableSettingsText(const QString& reason);

// A warning with OK: the game starts a new game and leaves the file as it is.
void TellSettingsFileUnusable(const QString& reason, QWidget* parent);

inline constexpr const char* kDamagedValuesTitle = "Saved Game Damaged";

// The message about values of a saved game the game could not take as written; `lines` are LoadGame's,
// `path` the settings file.
QString DamagedValuesText(const QString& path, const QStringList& lines);

// A warning with OK; the game goes on with the values it used.
// `read` follows once the player has answered it.
void TellDamagedValues(const QString& path, const QStringList& lines, QWidget* parent, std::function<void()> read = {});

}  // namespace kazoomba
