// The game's command line: --help, --help-all and --version answer on the terminal, and an option nobody
// knows is refused, all before any window or display is needed.
#pragma once

class QCoreApplication;

namespace kazoomba::app {

// Sets the program's name and version, then reads the command line without needing a display: answers
// --help, --help-all or --version and exits (0, or 1 when the answer could not be written), and exits with
// 1 naming an option that is neither the game's nor one of Qt's. Call it first in main(), before the
// application object exists.
void ReadCommandLine(int& argc, char** argv);

// Once the application exists, checks the command line it was left with the same way, and exits naming an
// unknown option; ReadCommandLine has normally done so already.
void RefuseUnknownOptions(const QCoreApplication& app);

}  // namespace kazoomba::app
