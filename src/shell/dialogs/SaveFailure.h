// Telling the player that a save failed, and why: a window while one can be shown, standard error after.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kazoomba {

inline constexpr const char* kSaveFailedTitle = "Game Not Saved";

// The message of a failed save; `reason` is ProfileFile::LastError(), path included.
QString SaveFailedText(const QString& reason);

// The Save dialog's report: a warning with OK.
void TellSaveFailed(const QString& reason, QWidget* parent);

// The window is closing: runs `save` until it works or the player, told why it failed, chooses
// "Quit Without Saving". True when the game was saved.
bool SaveBeforeQuitting(const std::function<bool()>& save, const std::function<QString()>& reason, QWidget* parent);

// No window can be shown (a signal, the session's end): the reason goes to standard error.
void ReportSaveFailedOnStandardError(const QString& reason, const char* when);

}  // namespace kazoomba
