// Finding the game's data from the program's own location.
#include "art/DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kazoomba::ui {

namespace {

bool HasArt(const QString& dir) { return !dir.isEmpty() && QFileInfo(dir + QStringLiteral("/art")).isDir(); }

bool IsInside(const QString& dir, const QString& root) {
    const QString a = QDir(dir).canonicalPath(), b = QDir(root).canonicalPath();
    return !a.isEmpty() && !b.isEmpty() && (a == b || a.startsWith(b + QLatin1Char('/')));
}

}  // namespace

QString FindDataDirectory(const QString& programDir, const QString& buildDir, const QString& sourceDir,
                          const QStringList& dataDirs) {
    const QString sourceData = sourceDir + QStringLiteral("/resources");
    QStringList candidates;
    if (!programDir.isEmpty()) {
        // bin/ or games/ beside share/: the same for /usr, /usr/local and ~/.local.
        candidates << programDir + QStringLiteral("/../share/kazoomba");
        // A program still in its build tree plays with the art being worked on, not with an installed copy.
        if (IsInside(programDir, buildDir)) candidates << sourceData;
    }
    for (const QString& dir : dataDirs) candidates << dir + QStringLiteral("/kazoomba");
    for (const QString& c : candidates)
        if (HasArt(c)) return QDir(c).canonicalPath();
    return sourceData;
}

QString DataDirectory() {
    static const QString dir = FindDataDirectory(
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString(),
        QStringLiteral(KAZOOMBA_BINARY_DIR), QStringLiteral(KAZOOMBA_SOURCE_DIR),
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
    return dir;
}

QString ArtPath(const QString& name) { return DataDirectory() + QStringLiteral("/art/") + name; }
QString SoundPath(const QString& name) { return DataDirectory() + QStringLiteral("/sounds/") + name; }
QString ManualPath(const QString& name) { return DataDirectory() + QStringLiteral("/manual/") + name; }

}  // namespace kazoomba::ui
