// The game's sounds through SDL2_mixer on one channel: a new sound cuts off the one playing.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace kazoomba::ui {

// One member for each thing the machine sounds.
enum class SoundCue {
    ReelStop,                // a wheel comes to rest: from memory, asynchronous, never the default beep
    Coin,                    // a bet is accepted
    WinA, WinB, WinC,        // the win sounds, numbered 1 to 3; each waits until it has finished
    NoWin0, NoWin1, NoWin2,  // the no-win sounds, numbered 0 to 2; each waits until it has finished
    FiveX,                   // the board's 5X
    Flush,                   // a losing box on the board; waits until it has finished
};

// The win sound numbered 1 to 3 and the no-win sound numbered 0 to 2, as the rules draw them.
SoundCue WinCue(int number);
SoundCue NoWinCue(int number);

class Sound {
public:
    // Opens the audio device; without one the game runs silent.
    explicit Sound(const QString& soundDirectory);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // The "Sound" menu: 0 = On, anything else = Off.
    void SetSound(int index);
    bool SoundOn() const { return on_; }
    // How to ask whether the main window is minimized (no sound plays then).
    void SetMinimizedQuery(std::function<bool()> query) { minimized_ = std::move(query); }
    // The play condition of every sound: window not minimized and Sound "On".
    bool Playable() const;
    bool HasDevice() const { return device_; }
    bool StopSoundLoaded() const { return !stopSound_.isEmpty(); }

    // Plays a cue when the play condition holds; a missing file beeps, except the reel stop's.
    void Play(SoundCue cue);

    // Counts of what was really started on the mixer, for tests.
    int started() const { return started_; }
    int beeps() const { return beeps_; }

private:
    void PlayFile(const QString& name, bool wait, bool allowDefault);
    void PlayBytes(const QByteArray& bytes, bool wait, bool allowDefault);

    QString dir_;
    QByteArray stopSound_;
    bool on_ = true;
    bool device_ = false;
    std::function<bool()> minimized_;
    void* chunk_ = nullptr;  // the chunk playing now (Mix_Chunk*)
    int started_ = 0;
    int beeps_ = 0;
};

}  // namespace kazoomba::ui
