// Where the game's art, sounds and manual are: share/kazoomba beside the program's folder (/usr/games and
// /usr/share, ~/.local/games and ~/.local/share), the source tree when it runs from its build tree, or the
// desktop's data folders.
#pragma once

#include <QString>
#include <QStringList>

namespace kazoomba::ui {

// The folder holding art/, sounds/ and manual/.
QString DataDirectory();
QString ArtPath(const QString& name);
QString SoundPath(const QString& name);
QString ManualPath(const QString& name);

// The choice DataDirectory() makes, for a program in programDir: the first of share/kazoomba beside it,
// sourceDir/resources when programDir lies inside buildDir, and kazoomba/ in each of dataDirs, that has an
// art/ folder; sourceDir/resources when none has.
QString FindDataDirectory(const QString& programDir, const QString& buildDir, const QString& sourceDir,
                          const QStringList& dataDirs);

}  // namespace kazoomba::ui
