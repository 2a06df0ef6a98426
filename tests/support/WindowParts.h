// The pictures and the sounds that window tests hand to the game's windows, made once per test program.
#pragma once

#include "art/Graphics.h"
#include "sound/Sound.h"
#include "support/QtApp.h"

namespace kazoomba::testing {

// The game's art, drawn at scale 1 as the window tests run. Never destroyed, like the application.
inline ui::Graphics& TestGraphics() {
    static ui::Graphics* graphics = (App(), new ui::Graphics(1.0));
    return *graphics;
}

// The game's own sounds, switched off (the "Sound" menu's Off), so that no test waits on one. A test that
// switches them on to listen sets them back itself.
inline ui::Sound& TestSound() {
    static ui::Sound* sound = [] {
        App();
        auto* made = new ui::Sound(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds"));
        made->SetSound(1);
        return made;
    }();
    return *sound;
}

}  // namespace kazoomba::testing
