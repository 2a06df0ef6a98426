// The main window's menu bar: every menu and item as a typed member, so a command is connected to the item
// itself and a missing one fails to build.
#pragma once

#include <QAction>
#include <QMenu>
#include <array>

class QMenuBar;

namespace kazoomba::ui {

struct MachineMenus {
    QMenu* file = nullptr;
    QMenu* options = nullptr;
    QMenu* bank = nullptr;
    QMenu* autoPlay = nullptr;
    QMenu* help = nullptr;

    QAction* newGame = nullptr;
    QAction* load = nullptr;
    QAction* save = nullptr;
    QAction* statistics = nullptr;
    QAction* history = nullptr;        // File > Game History, beside Statistics
    QAction* quit = nullptr;
    std::array<QAction*, 5> bet{};     // Options > Bet Amount, one per coin value
    std::array<QAction*, 7> digit{};   // Options > Digit Colors
    std::array<QAction*, 2> lines{};   // Options > Pay Lines: On, Off
    std::array<QAction*, 2> banner{};  // Options > Banner: On, Off
    QAction* bannerText = nullptr;
    std::array<QAction*, 4> speed{};   // Options > Spin Speed
    std::array<QAction*, 2> sound{};   // Options > Sound: On, Off
    std::array<QAction*, 5> borrow{};  // Bank > Borrow, one per loan
    QAction* autoSpin = nullptr;
    QAction* about = nullptr;
    QAction* manual = nullptr;
    QAction* payChart = nullptr;
};

// Fills the menu bar with the machine's menus, captions and check marks as the machine comes on. Nothing
// is connected here: the window connects each item to its command.
MachineMenus BuildMachineMenus(QMenuBar& bar);

// Clears the marks of a menu group and marks the chosen item (none when the index is out of range).
template <std::size_t N>
void CheckOnly(const std::array<QAction*, N>& group, int index) {
    for (std::size_t i = 0; i < N; ++i) group[i]->setChecked(static_cast<int>(i) == index);
}

}  // namespace kazoomba::ui
