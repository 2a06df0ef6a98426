// Sounds on SDL2_mixer.
#include "sound/Sound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <SDL.h>
#include <SDL_mixer.h>

namespace kazoomba::ui {
namespace {
QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}
}  // namespace

Sound::Sound(const QString& soundDirectory) : dir_(soundDirectory) {
    stopSound_ = ReadAll(dir_ + QStringLiteral("/KAZO4.WAV"));
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

void Sound::PlayStopSound() {
    if (Playable()) PlayBytes(stopSound_, false, false);
}

void Sound::PlayCoinSound() {
    if (Playable()) PlayFile(QStringLiteral("KAZO3.WAV"), false, true);
}

void Sound::PlayNumberedSound(int number) {
    if (number < 1 || number > 3 || !Playable()) return;
    PlayFile(QStringLiteral("KAZO%1.WAV").arg(QChar('A' + number - 1)), true, true);
}

void Sound::PlayNoWinSound(int number) {
    if (number < 0 || number > 2 || !Playable()) return;
    PlayFile(QStringLiteral("KAZO%1.WAV").arg(number), true, true);
}

void Sound::PlayFile(const QString& name, bool wait, bool allowDefault) {
    PlayBytes(ReadAll(dir_ + QLatin1Char('/') + name), wait, allowDefault);
}

}  // namespace kazoomba::ui
