// What the main window asks of the rest of the game: the windows its menus open, the settings file and
// the saves. The game's assembly fills it in once and hands it to the window.
#pragma once

#include <QString>
#include <functional>

namespace kazoomba::ui {

class MainWindow;

struct MachineHooks {
    // A win on screen: opens the Payoffs window and calls `settled` once the win has been taken or the
    // board left (at once, for a win settled without a window). Without it the win is taken.
    std::function<void(MainWindow&, std::function<void()> settled)> presentWin;
    // A Vaz Ivero board brought back at start: shown over the machine as it was left; `left` follows once
    // the player leaves it. Without it the board pays what it shows.
    std::function<void(MainWindow&, std::function<void()> left)> resumeBoard;
    // The Win Stop Value dialog: `answer` gets the text of its entry field once it closes. Without it
    // "0": auto spin never pauses.
    std::function<void(MainWindow&, std::function<void(const QString&)> answer)> askWinStopValue;
    // The File and Help items whose windows live elsewhere. An item without its hook stays disabled.
    std::function<void(MainWindow&)> load;
    std::function<void(MainWindow&)> save;
    std::function<void(MainWindow&)> statistics;
    std::function<void(MainWindow&)> history;
    std::function<void(MainWindow&)> about;
    std::function<void(MainWindow&)> manual;
    std::function<void(MainWindow&)> payChart;
    // The banner text kept in the settings file. Without them the welcome text, kept nowhere.
    std::function<QString()> readBannerText;
    std::function<void(const QString&)> writeBannerText;
    // After every settled spin, loan, new game and coin value, before a win is shown, between bonus spins
    // and after every box on the board: a moment worth saving. True when the save guards what comes
    // next and is under way: the window then tells the game once it is on the disk (Game::Saved).
    std::function<bool(MainWindow&, bool guards)> checkpoint;
    // Once, when the window is asked to close: the exit save, with whatever it must ask the player.
    // The window closes when `close` is called, at once or once the last question has been answered.
    std::function<void(MainWindow&, std::function<void()> close)> beforeQuit;
};

}  // namespace kazoomba::ui
