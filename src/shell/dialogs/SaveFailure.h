// Telling the player that a save failed, and why: a window while one can be shown, standard error after.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace kazoomba {

inline constexpr const char* kSaveFailedTitle = "Game Not Saved";

// The message of a failed save; `reason` is ProfileFile::LastError(), path included.
QString SaveFailedText(const QString& reason);

// The Save dialog's report: a warning with OK.
void TellSaveFailed(const QString& reason, QWidget* parent);

// Runs a question and calls back with its answer: true when the game was saved.
using SaveQuestion = std::function<void(std::function<void(bool saved)>)>;

// The window is closing: runs `save`, and while it fails tells the player why and asks again, until it
// works or the player chooses "Quit Without Saving". Returns at once; `done` follows, with true when the
// game was saved. With `saveInSlot` (the file is another game's now, so trying again cannot help) the
// player is offered "Save in a Slot" instead, which runs it.
void SaveBeforeQuitting(std::function<bool()> save, std::function<QString()> reason, QWidget* parent,
                        std::function<void(bool saved)> done, SaveQuestion saveInSlot = {});

// The saves during play (after each spin, loan, new game, coin value), told in windows that leave play
// going on: the first failure with its path and reason, then nothing more until a save works again,
// which is told once.
class PlaySaveNotices {
public:
    inline static const QString kFailedText = QStringLiteral(
        "\n\nPlay goes on, and the game tries again after every spin; it will say when saving works again.  "
        "Until then a crash loses the play since the last save.");
    inline static const QString kWorksAgainTitle = QStringLiteral("Game Saved");

    // After each save; `reason` is ProfileFile::LastError() when it failed, `path` the settings file,
    // `advice` what a failure notice says after the reason.
    void Saved(bool ok, const QString& reason, const QString& path, QWidget* parent,
               const QString& advice = kFailedText);
    bool Failing() const { return failing_; }
    // The notice on the screen, if the player has not closed it yet.
    QMessageBox* Shown() const { return shown_; }

private:
    void Show(QMessageBox* box);
    bool failing_ = false;
    QPointer<QMessageBox> shown_;
};

// No window can be shown (a signal, the session's end): the reason goes to standard error.
void ReportSaveFailedOnStandardError(const QString& reason, const char* when);

}  // namespace kazoomba
