// The game's command line: --help and --version answer on the terminal and end the program before any
// window opens; anything else it does not know is refused.
#pragma once

class QCoreApplication;

namespace kazoomba::app {

// Sets the program's name and version and answers --help or --version, printing and exiting without
// needing a display. Call it first in main(), before the application object exists.
void ReadCommandLine(int& argc, char** argv);

// Once the application has taken Qt's own options (-platform, -style, ...) out of the command line, names
// any option left over and exits, so a mistyped option is not silently ignored.
void RefuseUnknownOptions(const QCoreApplication& app);

}  // namespace kazoomba::app
