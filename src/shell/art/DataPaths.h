// Where the game's art, sounds and manual are: the data folder chosen when the game was configured
// (share/kazoomba beside the program's folder, or a distribution's absolute path), the source tree named by
// a marker file when the program runs from its build tree, or the desktop's data folders.
#pragma once

#include <QString>
#include <QStringList>

namespace kazoomba::ui {

// The folder holding art/, sounds/ and manual/.
QString DataDirectory();
QString ArtPath(const QString& name);
QString SoundPath(const QString& name);
QString ManualPath(const QString& name);

// The file a build writes beside each of its programs, naming the source tree's data folder. It is never
// installed, so an installed program knows no path of the machine it was built on.
inline constexpr const char* kBuildTreeMarker = "kazoomba-build-data";

// The choice DataDirectory() makes for a program in programDir: the folder named by the build-tree marker
// in programDir, then installedDir (relative to programDir unless absolute), then kazoomba/ in each of
// dataDirs, the first that has an art/ folder. When none has, the marker's folder or else installedDir,
// so a warning names the one place the data should be.
QString FindDataDirectory(const QString& programDir, const QString& installedDir, const QStringList& dataDirs);

}  // namespace kazoomba::ui
