// The machine's window as the window tests start it, on a clock the test moves, and the way a test plays a
// spin out to its end.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>

#include "engine/Random.h"
#include "machine/MainWindow.h"
#include "play/MachineMoment.h"
#include "support/Accessibility.h"
#include "support/GameDoor.h"
#include "support/Scripted.h"
#include "support/WindowParts.h"

namespace kazoomba::testing {

// A clock that stands still until the test moves it.
class ManualClock : public Clock {
public:
    std::int64_t Milliseconds() const override { return now_; }
    void Advance(std::int64_t ms) { now_ += ms; }

private:
    std::int64_t now_ = 1000;
};

// Lets the event loop run for about `ms` of real time: for windows answered by a test's timers.
inline void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs events, and moves `clock` on by `stepMs` each round with the machine ticked after it, until `done`
// holds. A spin's motion and pauses then take no real time; windows the test answers with its timers
// open and close as the game opens them. Fails the test after `limitMs` of real time instead of hanging.
inline bool DriveUntil(ui::MainWindow& window, ManualClock& clock, const std::function<bool()>& done,
                       std::int64_t stepMs = 60000, int limitMs = 10000) {
    QElapsedTimer real;
    real.start();
    while (!done()) {
        if (real.elapsed() > limitMs) {
            ADD_FAILURE() << "the machine did not come to the expected moment within " << limitMs << " ms";
            return false;
        }
        clock.Advance(stepMs);
        window.Tick();
        QCoreApplication::processEvents();
        // A window is open: its answer comes from a timer of the test's, which needs real time.
        if (QApplication::activeModalWidget()) RunEventsFor(2);
    }
    return true;
}

// Plays the spin under way out to rest: motion, sounds, windows and bonus spins, as the player answers.
inline bool PlayOut(ui::MainWindow& window, ManualClock& clock) {
    return DriveUntil(window, clock, [&window] { return !window.game().CommandRunning(); });
}

// A machine for a test, with the clock its spins are timed by.
struct TestMachine {
    ManualClock clock;
    std::unique_ptr<ui::MainWindow> window;
    ui::MainWindow* operator->() const { return window.get(); }
    ui::MainWindow& operator*() const { return *window; }
    ui::MainWindow* get() const { return window.get(); }
    bool PlayOut() { return testing::PlayOut(*window, clock); }
    // Presses Spin and plays the spin out.
    bool Spin() {
        window->ButtonCommand(ui::SpinButton);
        return PlayOut();
    }
};

// On the shared art and sounds, with the sounds off whatever the test before switched; the banner still,
// the fastest speed, the test's clock, and shown.
inline void StartTestMachine(TestMachine& machine, Random& random, ui::MachineHooks hooks = {}) {
    TestSound().SetSound(1);
    machine.window = std::make_unique<ui::MainWindow>(TestGraphics(), TestSound(), random, std::move(hooks));
    machine.window->SetClock(&machine.clock);
    machine.window->StartUp();
    machine.window->banner().StopBanner();
    machine.window->SetSpinSpeed(0);
    machine.window->show();
}

// The fixture of the machine's window tests: a scripted random source and a machine started by
// StartTestMachine with the hooks the test gives in Hooks().
class MachineWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { App(); }
    void SetUp() override { StartTestMachine(window, random, Hooks()); }
    virtual ui::MachineHooks Hooks() { return {}; }
    GameState& s() { return GameDoor::State(window->game()); }
    // One of the machine's three buttons, found as a screen reader finds it: by its name and role.
    QWidget* Button(const char* name) {
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->accessibleName() == QLatin1String(name) && Accessible(w)->role() == QAccessible::Button) return w;
        return nullptr;
    }

    ScriptedRandom random;
    TestMachine window;
};

}  // namespace kazoomba::testing
