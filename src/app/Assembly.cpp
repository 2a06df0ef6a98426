// Putting the game together.
#include "Assembly.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <cstring>
#include <optional>

#include "dialogs/LoadSaveDialog.h"
#include "dialogs/Modal.h"
#include "dialogs/Placement.h"
#include "dialogs/SaveFailure.h"
#include "dialogs/UnusableSettings.h"
#include "dialogs/WinStopDialog.h"
#include "gamble/BoardWindow.h"
#include "gamble/PayoffsWindow.h"
#include "dialogs/HistoryNotice.h"
#include "info/AboutBox.h"
#include "info/HistoryWindow.h"
#include "info/ManualViewer.h"
#include "info/PayChartWindow.h"
#include "info/StatisticsWindow.h"
#include "machine/MainWindow.h"

namespace kazoomba::app {

namespace {

using ui::MainWindow;

// The menu choices a saved game carries, as the main window holds them.
class WindowSelections : public MenuSelections {
public:
    explicit WindowSelections(MainWindow& window) : window_(window) {}
    int SpeedIndex() const override { return window_.SpeedIndex(); }
    int BannerIndex() const override { return window_.BannerIndex(); }
    void SetSpinSpeed(int index) override { window_.SetSpinSpeed(index); }
    void SetBanner(int index) override { window_.SetBanner(index); }

private:
    MainWindow& window_;
};

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

}  // namespace

Assembly::Assembly(ProfileFile& settings, ui::Graphics& graphics, ui::Sound& sound, Random& random,
                   QString historyPath)
    : settings_(settings), graphics_(graphics), sound_(sound), random_(random), historyPath_(std::move(historyPath)) {}

MenuSelections& Assembly::Menus(MainWindow& window) {
    // Made once for the window: an open Load or Save dialog reads them until it closes.
    if (!menus_ || menusWindow_ != &window) {
        menus_ = std::make_unique<WindowSelections>(window);
        menusWindow_ = &window;
    }
    return *menus_;
}

ui::MachineHooks Assembly::Hooks() {
    ui::MachineHooks h;
    h.presentWin = [this](MainWindow& w, std::function<void()> settled) {
        ui::PayoffsWindow::PresentWin(w.game(), graphics_, w.DigitColor(), sound_, random_, &w, std::move(settled));
    };
    h.resumeBoard = [this](MainWindow& w, std::function<void()> left) {
        ui::OpenModal<ui::BoardWindow>(new ui::BoardWindow(w.game(), graphics_, sound_, random_, &w),
                                       [left = std::move(left)](ui::BoardWindow&, int) { left(); });
    };
    h.askWinStopValue = [](MainWindow& w, std::function<void(const QString&)> answer) {
        ui::AskWinStopValue(&w, std::move(answer));
    };
    h.load = [this](MainWindow& w) {
        LoadSaveCommand(0, settings_, w.game(), Menus(w), [this, &w] {
            w.RedrawMainWindow();
            // The game loaded is now the game in play.
            Checkpoint(w, false);
        }, &w);
    };
    h.save = [this](MainWindow& w) {
        LoadSaveCommand(1, settings_, w.game(), Menus(w), {}, &w);
    };
    h.statistics = [](MainWindow& w) { ui::ShowStatistics(w.game().State(), &w); };
    h.history = [this](MainWindow& w) { ui::ShowGameHistory(w.game().History(), graphics_, &w); };
    h.about = [this](MainWindow& w) { ui::ShowAbout(graphics_, &w); };
    h.manual = [](MainWindow& w) { ui::ShowManual(&w); };
    h.payChart = [this](MainWindow& w) { ui::ShowPayChart(graphics_, &w); };
    h.readBannerText = [this] { return ReadBannerText(settings_); };
    h.writeBannerText = [this](const QString& text) { WriteBannerText(settings_, text); };
    h.checkpoint = [this](MainWindow& w, bool guards) { return Checkpoint(w, guards); };
    h.beforeQuit = [this](MainWindow& w, std::function<void()> close) { BeforeQuit(w, std::move(close)); };
    return h;
}

// The game in play is written after every settled spin, before a win is shown, after every box on the
// board and every change to the bank, so a crash or a power cut loses at most the motion of the reels.
// The writer works beside the window; what a save guards is shown once it is on the disk. A failure is
// told once, not after every spin, and so is the save that works again.
bool Assembly::Checkpoint(MainWindow& window, bool guards) {
    // The machine comes on with a new game: that one must not overwrite the game about to be restored.
    if (!restored_) return false;
    // The spins settled and the games begun since the last save go with this one, ahead of it.
    std::vector<HistoryEntry> history = window.game().TakeRecords();
    if (const QString taken = TakenOver(); !taken.isEmpty()) {
        if (!saveNotices_.Failing()) ReportSaveFailedOnStandardError(taken, "autosave");
        if (ending_.isEmpty())
            saveNotices_.Saved(false, taken, settings_.Path(), &window,
                               QStringLiteral("\n\nPlay goes on, and your game is kept while the game runs: save it "
                                              "into one of the ten slots with File, Save. Quitting offers a slot too."));
        return false;
    }
    Writer(window).Submit(CurrentGameWrites(window.game(), Menus(window)), guards,
                    [this, alive = QPointer<MainWindow>(&window), guards](bool saved, const QString& reason) {
                        if (!saved && !saveNotices_.Failing()) ReportSaveFailedOnStandardError(reason, "autosave");
                        // A player who started the game from a menu never sees standard error: the window
                        // says it too, unless a signal is ending the game.
                        if (alive && ending_.isEmpty()) saveNotices_.Saved(saved, reason, settings_.Path(), alive);
                        // A failed save has been told; the game goes on as it does after one.
                        if (alive && guards) alive->game().Saved();
                    },
                    std::move(history));
    return guards;
}

SaveWriter& Assembly::Writer(MainWindow& window) {
    if (writer_) return *writer_;
    HistoryReports reports;
    if (!historyPath_.isEmpty()) {
        reports.opened = [this, alive = QPointer<MainWindow>(&window)](const HistoryOpened& opened) {
            if (alive) KeepOpenedHistory(*alive, opened);
        };
        // The spins go on being kept while the game runs; the player hears of it once.
        reports.failed = [this, alive = QPointer<MainWindow>(&window)](const QString& reason) {
            if (std::exchange(historyFailureTold_, true)) return;
            ReportHistoryNotWritten(reason, ending_.isEmpty() && alive ? alive.data() : nullptr);
        };
    }
    writer_ = std::make_unique<SaveWriter>(settings_, historyPath_, std::move(reports));
    return *writer_;
}

void Assembly::KeepOpenedHistory(MainWindow& window, const HistoryOpened& opened) {
    window.game().KeepLoadedHistory(opened.entries);
    if (!opened.damaged.isEmpty() || !opened.unusable.isEmpty())
        TellHistoryFile(historyPath_, opened, ending_.isEmpty() ? &window : nullptr);
}

void Assembly::FinishSaves() {
    if (writer_) writer_->Finish();
}

QPoint Assembly::RestoreAtStart(MainWindow& window) {
    WindowSelections menus(window);
    // The frame is not known before the window is shown; a Windows 95 frame makes the window 617 x 500.
    QStringList unreadable;
    const QPoint place =
        kazoomba::RestoreAtStart(settings_, window.game(), menus, ScreenSize(), QSize(617, 500), &unreadable);
    restored_ = true;
    // The history is read beside the window from now on, before anything of this run is written to it.
    Writer(window);
    // The spin in play when the game stopped carries on once the machine is on the screen; what of the
    // game could not be read is told first, so a win is not taken on credits the player never saw change.
    QTimer::singleShot(0, &window, [this, &window, unreadable] {
        if (unreadable.isEmpty() || !ending_.isEmpty()) return window.ResumeMoment();
        TellDamagedValues(settings_.Path(), unreadable, &window,
                          [alive = QPointer<MainWindow>(&window)] {
                              if (alive) alive->ResumeMoment();
                          });
    });
    return place;
}

QString Assembly::LastSaveError() const {
    return lastTakenOver_.isEmpty() ? settings_.LastError() : lastTakenOver_;
}

bool Assembly::SaveAtExit(MainWindow& window) {
    // Whatever the writer still holds goes first, so the last save is the last written.
    FinishSaves();
    // The file is another game's now: nothing of this one may replace what that game saved.
    lastTakenOver_ = TakenOver();
    if (!lastTakenOver_.isEmpty()) return false;
    // A Wayland window cannot learn where it is; the stored position then stays as it was.
    std::optional<QPoint> position;
    if (PlatformReportsWindowPosition(QGuiApplication::platformName())) position = ui::FramePosition(window);
    if (MidSpin(window.CurrentMoment())) {
        // The desktop asks for a save while a spin is half settled: the game section keeps the last
        // settled game, written after every settled spin, and the spin writes its own once it settles.
        if (!position || !ExitWritesPosition(*position, ScreenSize())) return true;
        return WriteWindowPosition(settings_, *position, ScreenSize());
    }
    WindowSelections menus(window);
    return kazoomba::SaveAtExit(settings_, window.game(), menus, position, ScreenSize());
}

void Assembly::EndBySignal(int signal) {
    const char* name = sigabbrev_np(signal);
    ending_ = name ? QByteArray("SIG") + name : QByteArray("signal ") + QByteArray::number(signal);
}

void Assembly::BeforeQuit(MainWindow& window, std::function<void()> close) {
    // After a signal, even one that arrives while the failed-save message is up, no window is shown again.
    const auto saveOrReport = [this, &window] {
        if (ending_.isEmpty()) return SaveAtExit(window);
        if (!SaveAtExit(window)) ReportSaveFailedOnStandardError(LastSaveError(), ending_.constData());
        return true;
    };
    // Trying again cannot win the file back from the game that took it over; a slot keeps the game.
    SaveQuestion saveInSlot;
    if (!TakenOver().isEmpty()) {
        saveInSlot = [this, &window, saveOrReport](std::function<void(bool)> done) {
            if (!ending_.isEmpty()) return done(saveOrReport());
            SaveIntoSlotBeforeQuitting(settings_, window.game(), Menus(window), &window, std::move(done));
        };
    }
    SaveBeforeQuitting(saveOrReport, [this] { return LastSaveError(); }, &window,
                       [close = std::move(close)](bool) { close(); }, std::move(saveInSlot));
}

}  // namespace kazoomba::app
