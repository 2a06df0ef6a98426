// The names the desktop knows the game by.
#include "Identity.h"

#include <QGuiApplication>

namespace kazoomba::ui {

void NameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("kazoomba"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KAZOOMBA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kazoomba.Kazoomba"));
}

}  // namespace kazoomba::ui
