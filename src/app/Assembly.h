// The one place the game is put together: the settings file, the saves and the game history, and the
// windows the machine's menus open, handed to the main window as its hooks.
#pragma once

#include <QByteArray>
#include <memory>
#include <functional>

#include "HistoryFile.h"
#include "ProfileFile.h"
#include "SaveWriter.h"
#include "SavedGames.h"
#include "art/Graphics.h"
#include "dialogs/SaveFailure.h"
#include "engine/Random.h"
#include "machine/MachineHooks.h"
#include "sound/Sound.h"

namespace kazoomba::app {

class Assembly {
public:
    // The game history is kept in the file at `historyPath`; with none, only while the game runs.
    Assembly(ProfileFile& settings, ui::Graphics& graphics, ui::Sound& sound, Random& random,
             QString historyPath = {});

    // The hooks of the main window: every menu window, the banner text, the checkpoint and the exit save.
    ui::MachineHooks Hooks();

    // Restores the game saved at exit and returns where the window goes.
    QPoint RestoreAtStart(ui::MainWindow& window);
    // The game as at exit: game in play, window position and menu choices. False when the write failed.
    // Mid-spin only the position is written: the file keeps the last settled game.
    bool SaveAtExit(ui::MainWindow& window);
    // The signal that is ending the game ("SIGTERM"): from now on no window may be shown, and a failed
    // exit save is told on standard error instead.
    void EndBySignal(int signal);
    // Once another game has taken the settings file over, `whyNotOurs` says so (empty while the file is
    // this game's): from then on no checkpoint or exit save writes this game over that one's, play goes on
    // with the game kept in memory, and quitting offers to save it into a slot.
    void GuardSaves(std::function<QString()> whyNotOurs) { whyNotOurs_ = std::move(whyNotOurs); }
    // Why the last save failed: the file taken over, or ProfileFile::LastError().
    QString LastSaveError() const;
    // Returns once every save of the game in play handed to the writer is on the disk, or has failed.
    void FinishSaves();
    // The windows that tell a save during play failed, or works again.
    const PlaySaveNotices& SaveNotices() const { return saveNotices_; }

private:
    bool Checkpoint(ui::MainWindow& window, bool guards);
    // Made once the settings file has been checked and read at start: it writes only where the game may,
    // and reads the history back first.
    SaveWriter& Writer(ui::MainWindow& window);
    // What the history's file held at start, handed to the game; a damaged or unusable file is told.
    void KeepOpenedHistory(ui::MainWindow& window, const HistoryOpened& opened);
    // The menu choices a saved game carries, read from and set on the window.
    MenuSelections& Menus(ui::MainWindow& window);
    void BeforeQuit(ui::MainWindow& window, std::function<void()> close);

    ProfileFile& settings_;
    ui::Graphics& graphics_;
    ui::Sound& sound_;
    Random& random_;
    QByteArray ending_;
    PlaySaveNotices saveNotices_;
    std::unique_ptr<SaveWriter> writer_;
    std::unique_ptr<MenuSelections> menus_;
    ui::MainWindow* menusWindow_ = nullptr;
    QString historyPath_;
    bool historyFailureTold_ = false;
    QString TakenOver() const { return whyNotOurs_ ? whyNotOurs_() : QString(); }
    std::function<QString()> whyNotOurs_;
    QString lastTakenOver_;
    bool restored_ = false;  // nothing is written before the game saved at exit has been read back
};

}  // namespace kazoomba::app
