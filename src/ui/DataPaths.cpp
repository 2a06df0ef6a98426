// Finding the game's data from the program's own location.
#include "ui/DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kazoomba::ui {

QString DataDirectory() {
    static const QString dir = [] {
        const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
        const QStringList candidates = {
            exeDir + QStringLiteral("/../share/kazoomba"),
            exeDir + QStringLiteral("/share/kazoomba"),
            QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources"),
        };
        for (const QString& c : candidates)
            if (!c.isEmpty() && QFileInfo(c + QStringLiteral("/art")).isDir()) return QDir(c).canonicalPath();
        return QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources");
    }();
    return dir;
}

QString ArtPath(const QString& name) { return DataDirectory() + QStringLiteral("/art/") + name; }
QString SoundPath(const QString& name) { return DataDirectory() + QStringLiteral("/sounds/") + name; }
QString ManualPath(const QString& name) { return DataDirectory() + QStringLiteral("/manual/") + name; }

}  // namespace kazoomba::ui
