// The machine of the gamble window tests: its wins shown in the game's own Payoffs window, and the machine
// in front with the keyboard.
#pragma once

#include "gamble/PayoffsWindow.h"
#include "support/QtApp.h"
#include "support/TestMachine.h"

namespace kazoomba::testing {

class WinningMachineTest : public MachineWindowTest {
protected:
    ui::MachineHooks Hooks() override {
        ui::MachineHooks hooks;
        hooks.presentWin = [this](ui::MainWindow& w, std::function<void()> settled) {
            ui::PayoffsWindow::PresentWin(w.game(), TestGraphics(), 2, TestSound(), random, &w, std::move(settled));
        };
        return hooks;
    }
    void SetUp() override {
        MachineWindowTest::SetUp();
        MakeActive(window.get());
    }
};

}  // namespace kazoomba::testing
