// The game's command line, read with Qt's parser so that --help and --version look like every Qt program's.
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstring>

namespace kazoomba::app {

namespace {

void SetIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("kazoomba"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KAZOOMBA_VERSION));
}

// Prints and exits for --help, --version and unknown options; a command line of Qt's own options passes.
void Process(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Kazoomba, a video slot machine played for play money.\n"
        "The game takes no options of its own; Qt's options such as -platform and -style work."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
}

// Whether the command line asks for text only, so the answer must not wait for a display.
bool AsksForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

}  // namespace

void ReadCommandLine(int& argc, char** argv) {
    SetIdentity();
    if (AsksForText(argc, argv)) {
        const QCoreApplication text(argc, argv);
        Process(text);  // exits
    }
}

void RefuseUnknownOptions(const QCoreApplication& app) { Process(app); }

}  // namespace kazoomba::app
