// The game's saves written in order by one writer off the window thread, so the window never waits for
// a disk: a newer snapshot of the game takes the place of one still waiting, and a snapshot that guards
// a moment is written, and its end reported, before that moment is shown. The game history's entries go
// with the snapshots, each appended to its own file before the snapshot it came with.
#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "HistoryFile.h"
#include "ProfileFile.h"
#include "ProfileText.h"
#include "play/History.h"

namespace kazoomba {

// What a save reports once it is on the disk, or has failed: true and an empty reason, or false and why.
using SaveDone = std::function<void(bool ok, const QString& reason)>;

// One snapshot of the game to write: every key it is made of, in one replacement of the file.
struct SaveJob {
    std::vector<ProfileWrite> writes;
    bool guard = false;          // a moment waits for it to be on the disk
    std::vector<SaveDone> done;  // every submission it answers, in order
    // The history recorded since the snapshot before, oldest first: never replaced, only added to.
    std::vector<HistoryEntry> history;
};

// Writes one snapshot as the writer does: its history entries first, then the game. A crash between the
// two leaves a game that settles again a spin already recorded, which the history then keeps once; never a
// game that has settled a spin its history lost. True when the game's keys were written (or there were
// none); `historyWritten` says whether the entries were.
bool WriteSaveJob(ProfileFile& file, HistoryFile* history, const SaveJob& job, bool* historyWritten = nullptr);

// What the writer tells of the history's file, in the thread that made the writer: what it held once it
// has been read, and why a write of it failed.
struct HistoryReports {
    std::function<void(const HistoryOpened&)> opened;
    std::function<void(const QString& reason)> failed;
};

// The snapshots waiting, oldest first. A snapshot holds the whole game, so a newer one takes the place of
// a plain one still waiting (answering both); one that guards a moment is never replaced, so it is
// written before whatever came after it.
class SaveQueue {
public:
    void Push(SaveJob job);
    bool Empty() const { return jobs_.empty(); }
    std::size_t Size() const { return jobs_.size(); }
    SaveJob Pop();

private:
    std::deque<SaveJob> jobs_;
};

class SaveWriter {
public:
    // Writes to `file`'s path as `file` stands now: a file that could not be used at start is never
    // written. Reports reach `done` in the thread that made the writer, through its event loop.
    explicit SaveWriter(const ProfileFile& file);
    // Keeps the game history in the file at `historyPath` as well, read first, before any snapshot.
    SaveWriter(const ProfileFile& file, const QString& historyPath, HistoryReports reports);
    // Writes whatever still waits, then stops.
    ~SaveWriter();
    SaveWriter(const SaveWriter&) = delete;
    SaveWriter& operator=(const SaveWriter&) = delete;

    void Submit(std::vector<ProfileWrite> writes, bool guard, SaveDone done, std::vector<HistoryEntry> history = {});
    // Returns once every snapshot submitted is on the disk or has failed; for the end of the program,
    // before the last save is written by the window itself.
    void Finish();

private:
    void Work();

    ProfileFile file_;
    std::unique_ptr<HistoryFile> history_;  // the writer's thread's alone once it runs
    HistoryReports reports_;
    QObject replies_;  // lives in the window's thread: the reports are delivered there
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    SaveQueue queue_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace kazoomba
