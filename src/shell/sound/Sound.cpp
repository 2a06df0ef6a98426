// Sounds on SDL2_mixer.
#include "sound/Sound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>

#include <SDL.h>
#include <SDL_mixer.h>

namespace kazoomba::ui {
namespace {
QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}
struct CueFile {
    const char* name;  // in the sound folder
    bool wait;
};
// In the order of SoundCue; the reel stop plays from the bytes read at start.
constexpr CueFile kCueFiles[] = {
    {"KAZO4.WAV", false}, {"KAZO3.WAV", false}, {"KAZOA.WAV", true}, {"KAZOB.WAV", true},
    {"KAZOC.WAV", true},  {"KAZO0.WAV", true},  {"KAZO1.WAV", true}, {"KAZO2.WAV", true},
    {"kazo5.wav", false}, {"kazo6.wav", true},
};
}  // namespace

Sound::Sound(const QString& soundDirectory) : dir_(soundDirectory) {
    stopSound_ = ReadAll(dir_ + QLatin1Char('/') + QLatin1String(kCueFiles[static_cast<int>(SoundCue::ReelStop)].name));
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        if (Mix_OpenAudio(22050, AUDIO_S16SYS, 1, 512) == 0) {
            Mix_AllocateChannels(1);
            device_ = true;
        } else {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
}

Sound::~Sound() {
    if (device_) {
        Mix_HaltChannel(-1);
        if (chunk_) Mix_FreeChunk(static_cast<Mix_Chunk*>(chunk_));
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void Sound::SetSound(int index) { on_ = index == 0; }

bool Sound::Playable() const { return on_ && !(minimized_ && minimized_()); }

void Sound::PlayBytes(const QByteArray& bytes, bool wait, bool allowDefault) {
    if (bytes.isEmpty()) {
        if (allowDefault) {
            ++beeps_;
            QApplication::beep();
        }
        return;
    }
    if (!device_) return;
    Mix_HaltChannel(0);  // one channel: the new sound cuts off the old one
    if (chunk_) Mix_FreeChunk(static_cast<Mix_Chunk*>(chunk_));
    chunk_ = nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size()));
    Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (!chunk) {
        if (allowDefault) {
            ++beeps_;
            QApplication::beep();
        }
        return;
    }
    chunk_ = chunk;
    if (Mix_PlayChannel(0, chunk, 0) < 0) return;
    ++started_;
    // A synchronous sound holds the game until it has finished, as the machine pauses on a win; a device
    // that stalls holds it ten seconds of clock time at most, however slowly the sleeps come back.
    if (!wait) return;
    QElapsedTimer waited;
    waited.start();
    while (Mix_Playing(0) && waited.elapsed() < 10000) QThread::msleep(5);
}

SoundCue WinCue(int number) {
    return static_cast<SoundCue>(static_cast<int>(SoundCue::WinA) + std::clamp(number, 1, 3) - 1);
}

SoundCue NoWinCue(int number) {
    return static_cast<SoundCue>(static_cast<int>(SoundCue::NoWin0) + std::clamp(number, 0, 2));
}

void Sound::Play(SoundCue cue) {
    if (!Playable()) return;
    if (cue == SoundCue::ReelStop) {
        PlayBytes(stopSound_, false, false);
        return;
    }
    const CueFile& file = kCueFiles[static_cast<int>(cue)];
    PlayFile(QString::fromLatin1(file.name), file.wait, true);
}

void Sound::PlayFile(const QString& name, bool wait, bool allowDefault) {
    PlayBytes(ReadAll(dir_ + QLatin1Char('/') + name), wait, allowDefault);
}

}  // namespace kazoomba::ui
