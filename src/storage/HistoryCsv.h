// The game history as a CSV file for a spreadsheet: a header row, then an entry a row, oldest first, with
// every number in the C locale's form whatever the player's locale.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "play/History.h"

namespace kazoomba {

// The whole file: the header row and every entry, each row ended by CR LF. Times are the local time with
// its offset from UTC ("2024-04-05T21:34:38+02:00").
QByteArray HistoryCsv(const std::vector<HistoryEntry>& entries);

// Writes it to `path`, replacing what was there only once it is whole; false, and why in `why`, when it
// could not be written.
bool WriteHistoryCsv(const QString& path, const std::vector<HistoryEntry>& entries, QString* why);

}  // namespace kazoomba
