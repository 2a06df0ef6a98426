// The moment of the spin in play, kept in keys of its own beside the game in play ("Current Game").
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "ProfileFile.h"
#include "play/PendingMoment.h"

namespace kazoomba {

// The keys of the moment, written after the sixteen keys of the game: a reader that knows only those
// reads the game as it always did.
std::vector<ProfileWrite> MomentWrites(const QString& section, const PendingMoment& moment);

// What the moment's keys say. A section without them holds no moment (a file from before they existed);
// keys that cannot be read give the reason, and no moment.
struct ReadMoment {
    std::optional<PendingMoment> moment;
    std::string unreadable;
};
ReadMoment ReadMomentKeys(const ProfileSnapshot& snapshot, const QString& section);

}  // namespace kazoomba
