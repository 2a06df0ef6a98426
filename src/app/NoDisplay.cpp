// What the game says when Qt finds no display: Qt's fatal message at start is caught while the application
// object is being made, and replaced by words a player at a terminal can act on.
#include "NoDisplay.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace kazoomba::app {

namespace {

QtMessageHandler previous = nullptr;

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

void Explain(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (previous)
            previous(type, context, message);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    // The only fatal message while QApplication is made is the platform's: no window can be opened.
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY")) {
        std::fputs("kazoomba: no display was found to open the game's window on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set).\n"
                   "Start it from a desktop session, or name the desktop's display, for example DISPLAY=:0 kazoomba.\n",
                   stderr);
    } else {
        std::fprintf(stderr,
                     "kazoomba: could not open the game's window on the display (DISPLAY=%s, WAYLAND_DISPLAY=%s).\n"
                     "Start it from a desktop session, or name a display that is there.\n",
                     Set("DISPLAY") ? std::getenv("DISPLAY") : "", Set("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "");
    }
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

NoDisplayExplained::NoDisplayExplained() { previous = qInstallMessageHandler(Explain); }

NoDisplayExplained::~NoDisplayExplained() { qInstallMessageHandler(previous); }

}  // namespace kazoomba::app
