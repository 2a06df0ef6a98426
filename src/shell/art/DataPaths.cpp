// Finding the game's data from the program's own location.
#include "art/DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kazoomba::ui {

namespace {

bool HasArt(const QString& dir) { return !dir.isEmpty() && QFileInfo(dir + QStringLiteral("/art")).isDir(); }

// The folder a build-tree marker names, or nothing beside an installed program.
QString MarkedDirectory(const QString& programDir) {
    QFile marker(programDir + QLatin1Char('/') + QLatin1String(kBuildTreeMarker));
    if (!marker.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(marker.readLine()).trimmed();
}

}  // namespace

QString FindDataDirectory(const QString& programDir, const QString& installedDir, const QStringList& dataDirs) {
    const QString marked = programDir.isEmpty() ? QString() : MarkedDirectory(programDir);
    const QString installed = QDir::isAbsolutePath(installedDir) || programDir.isEmpty()
                                  ? QDir::cleanPath(installedDir)
                                  : QDir::cleanPath(programDir + QLatin1Char('/') + installedDir);
    // A program still in its build tree plays with the art being worked on, not with an installed copy.
    QStringList candidates;
    if (!marked.isEmpty()) candidates << marked;
    candidates << installed;
    for (const QString& dir : dataDirs) candidates << dir + QStringLiteral("/kazoomba");
    for (const QString& c : candidates)
        if (HasArt(c)) return QDir(c).canonicalPath();
    return marked.isEmpty() ? installed : marked;
}

QString DataDirectory() {
    static const QString dir = FindDataDirectory(
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString(),
        QStringLiteral(KAZOOMBA_DATA_DIR), QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
    return dir;
}

QString ArtPath(const QString& name) { return DataDirectory() + QStringLiteral("/art/") + name; }
QString SoundPath(const QString& name) { return DataDirectory() + QStringLiteral("/sounds/") + name; }
QString ManualPath(const QString& name) { return DataDirectory() + QStringLiteral("/manual/") + name; }

}  // namespace kazoomba::ui
