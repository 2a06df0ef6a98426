// Telling the player that the game history's file was damaged and set aside, or cannot be kept: in a window
// that leaves play going on, or on standard error when no window can be shown.
#pragma once

#include <QString>

#include "HistoryFile.h"

class QWidget;

namespace kazoomba {

inline constexpr const char* kHistorySetAsideTitle = "Game History Set Aside";
inline constexpr const char* kHistoryNotKeptTitle = "Game History Not Kept";

// What the start found of the history's file at `path`, when it was damaged or cannot be used.
QString HistoryFileText(const QString& path, const HistoryOpened& opened);
void TellHistoryFile(const QString& path, const HistoryOpened& opened, QWidget* parent);
// An append that failed; `reason` names the file and why.
void ReportHistoryNotWritten(const QString& reason, QWidget* parent);

}  // namespace kazoomba
