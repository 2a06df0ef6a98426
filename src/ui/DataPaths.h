// Where the game's art, sounds and manual are: share/kazoomba beside the program, or the source tree.
#pragma once

#include <QString>

namespace kazoomba::ui {

// The folder holding art/, sounds/ and manual/.
QString DataDirectory();
QString ArtPath(const QString& name);
QString SoundPath(const QString& name);
QString ManualPath(const QString& name);

}  // namespace kazoomba::ui
