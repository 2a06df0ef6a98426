// The game's command line, read with Qt's parser so that --help and --version look like every Qt program's.
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstring>

#include "Identity.h"

namespace kazoomba::app {

namespace {

// Prints and exits for --help and --version. Strict, it also exits naming an unknown option; otherwise
// options it does not know are left alone, as they may be Qt's own (-platform, -style, ...).
void Process(const QCoreApplication& app, bool strict) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Kazoomba, a video slot machine played for play money.\n"
        "The game takes no options of its own; Qt's options such as -platform and -style work."));
    // Qt's options are single-dash words: -reverse is one option, not -r -e -v ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (strict) {
        parser.process(app);
        return;
    }
    parser.parse(app.arguments());
    if (parser.isSet(help)) parser.showHelp(0);
    if (parser.isSet(version)) parser.showVersion();
}

// Whether the command line asks for text only, so the answer must not wait for a display.
bool AsksForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

}  // namespace

void ReadCommandLine(int& argc, char** argv) {
    kazoomba::ui::NameApplication();
    if (AsksForText(argc, argv)) {
        const QCoreApplication text(argc, argv);
        Process(text, false);  // exits
    }
}

void RefuseUnknownOptions(const QCoreApplication& app) { Process(app, true); }

}  // namespace kazoomba::app
