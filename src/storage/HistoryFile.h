// The game history's own file beside the game's data: one line an entry, appended as spins are settled,
// read back at start; a damaged file is set aside under a new name and a new one begun.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "play/History.h"

namespace kazoomba {

// $XDG_DATA_HOME/kazoomba/game-history.txt (normally ~/.local/share/kazoomba/).
QString HistoryFilePath();

// The file's first line, which says what the file is and the version of its lines.
inline constexpr char kHistoryHeader[] = "Kazoomba game history 1";

// One entry as a line of the file, without its end of line. A spin:
//   spin TIME NUMBER BONUS-SPIN COIN COINS STOPS BONUS-REELS LINE-PAYS POOL-GROWN POOL-WON AWARD CHOICE BOXES
//        WIN PAID CREDITS
// with the stops and pays as lists separated by commas, CHOICE none, take or double, BOXES "-" or
// box:content pairs separated by commas in the order opened, and dollars with two decimals; a game begun:
//   new TIME          load TIME NAME
QByteArray HistoryLine(const HistoryEntry& entry);
// The entry a line holds, or nothing for a line the game could not have written: a field missing or out
// of range, or pays, a win or boxes that the reels and the board could not have made.
std::optional<HistoryEntry> ReadHistoryLine(const QByteArray& line);

// What the file held at start.
struct HistoryOpened {
    std::vector<HistoryEntry> entries;  // oldest first: the last thousand spins and their marks
    // Why the file could not be read whole; empty when it could, or when there was none yet.
    QString damaged;
    QString keptAs;   // where a damaged file was set aside; empty when it could not be
    // Why the history cannot be kept in its file this run (it cannot be read, or a damaged one not set
    // aside); the game keeps it while it runs.
    QString unusable;
};

// The file, read and written by the one writer of the game's saves. Every entry is appended whole and
// synced before the snapshot of the game it came with is written; a line a crash cut short is dropped,
// and the spin it held is recorded again once the game settles it again. Once the file holds twice the
// lines the history can keep, it is written afresh with what the history keeps.
class HistoryFile {
public:
    explicit HistoryFile(QString path);

    const QString& Path() const { return path_; }

    // Reads the file, once, before the first append. A damaged file is renamed (never deleted) and a new
    // one begun with what could be read of it.
    HistoryOpened Open();
    // Adds the entries at the end of the file and syncs it; false, and why in LastError(), when it could
    // not be written.
    bool Append(const std::vector<HistoryEntry>& entries);
    const QString& LastError() const { return lastError_; }

    // The lines past which the file is written afresh: twice what the history keeps, spins and marks.
    static constexpr int kRewriteLines = 2 * 2 * GameHistory::kKeptSpins;

private:
    bool Rewrite();
    bool Fail(const QString& reason);

    QString path_;
    QString lastError_;
    QString unusable_;
    bool opened_ = false;
    int lines_ = 0;  // lines in the file, its first included
    GameHistory kept_;
};

}  // namespace kazoomba
