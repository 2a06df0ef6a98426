// The machine's window as the window tests start it.
#pragma once

#include <memory>

#include "engine/Random.h"
#include "machine/MainWindow.h"
#include "support/WindowParts.h"

namespace kazoomba::testing {

// On the shared art and sounds, with the sounds off whatever the test before switched; the banner still,
// the reels stopping at once, and shown.
inline std::unique_ptr<ui::MainWindow> StartTestMachine(Random& random, ui::MachineHooks hooks = {}) {
    TestSound().SetSound(1);
    auto window = std::make_unique<ui::MainWindow>(TestGraphics(), TestSound(), random, std::move(hooks));
    window->StartUp();
    window->banner().StopBanner();
    window->SetSpinSpeed(0);
    window->show();
    return window;
}

}  // namespace kazoomba::testing
