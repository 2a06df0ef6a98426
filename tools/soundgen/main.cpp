// kazoomba-soundgen: writes every sound effect of the game into a folder.
#include <filesystem>
#include <iostream>
#include <string>

#include "Sounds.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kazoomba-soundgen OUTDIR\n";
        return 2;
    }
    const std::string directory = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    const std::vector<soundgen::SoundFile> sounds = soundgen::MakeGameSounds();
    std::string error;
    if (!soundgen::WriteSounds(sounds, directory, error)) {
        std::cerr << "kazoomba-soundgen: " << error << '\n';
        return 1;
    }
    for (const soundgen::SoundFile& sound : sounds) {
        std::cout << sound.name << "  " << static_cast<int>(sound.signal.Seconds() * 1000.0 + 0.5) << " ms\n";
    }
    return 0;
}
