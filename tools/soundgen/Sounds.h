// The game's sound effects: each one's file name and how it is synthesised.
#pragma once

#include <string>
#include <vector>

#include "Synth.h"

namespace soundgen {

struct SoundFile {
    std::string name;  // exact file name; case matters to the game
    Signal signal;
};

// Every sound the game plays, in a fixed order.
std::vector<SoundFile> MakeGameSounds();

// Writes the sounds into `directory` (which must exist) as WAV files; on failure returns
// false and says why in `error`.
bool WriteSounds(const std::vector<SoundFile>& sounds, const std::string& directory, std::string& error);

}  // namespace soundgen
