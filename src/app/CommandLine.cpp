// The game's command line, read with Qt's parser so that --help and --version look like every Qt program's;
// the answers are written by the game itself, so that a failed write is an error.
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Identity.h"

namespace kazoomba::app {

namespace {

// Qt's own options, which QGuiApplication and QApplication take out of the command line once they exist.
// They are known here so that they pass, and so that a value such as "-style fusion" is not read as an
// option, before there is a display to make those objects on.
struct QtOption {
    const char* name;
    const char* value;  // nullptr for a switch
    const char* description;
};
constexpr QtOption kQtOptions[] = {
    {"platform", "name[:options]", "The windowing platform plugin, such as xcb, wayland or offscreen."},
    {"platformpluginpath", "path", "Where to look for platform plugins."},
    {"platformtheme", "theme", "The platform theme."},
    {"plugin", "plugin", "An additional input plugin."},
    {"qwindowgeometry", "geometry", "The main window's geometry."},
    {"geometry", "geometry", "The main window's geometry (X11)."},
    {"qwindowicon", "icon", "The main window's icon."},
    {"qwindowtitle", "title", "The main window's title."},
    {"display", "hostname:screen", "The X server to use."},
    {"session", "session", "The session to restore."},
    {"style", "style", "The widget style, such as fusion."},
    {"stylesheet", "file", "A style sheet for the widgets."},
    {"qmljsdebugger", "port", "The QML debugger's port."},
    {"reverse", nullptr, "Lay the windows out from right to left."},
    {"widgetcount", nullptr, "Print how many widgets were left at the end."},
};

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays help on commandline options.")};
    QCommandLineOption helpAll{QStringLiteral("help-all"), QStringLiteral("Displays help including Qt specific options.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Displays version information.")};

    // With showQtOptions (for --help-all) Qt's options are listed; otherwise they are known but unlisted.
    explicit Parser(bool showQtOptions) {
        parser.setApplicationDescription(QStringLiteral(
            "Kazoomba, a video slot machine played for play money.\n"
            "The game takes no options beside these; Qt's options such as -platform and -style work."));
        // Qt's options are single-dash words: -reverse is one option, not -r -e -v ...
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(helpAll);
        parser.addOption(version);
        for (const QtOption& q : kQtOptions) {
            QCommandLineOption option(QLatin1String(q.name), QLatin1String(q.description));
            if (q.value) option.setValueName(QLatin1String(q.value));
            if (!showQtOptions) option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    }
};

// Writes the whole answer and exits: 0 when it reached its reader, 1 when it could not be written (a full
// disk, a closed pipe), so that a script sees the failure.
[[noreturn]] void Answer(FILE* stream, const QString& text, int status) {
    const QByteArray bytes = text.toLocal8Bit();
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream) ==
                             static_cast<size_t>(bytes.size()) &&
                         std::fflush(stream) == 0;
    if (!written) {
        std::fprintf(stderr, "kazoomba: could not write to %s: %s\n", stream == stdout ? "standard output" : "standard error",
                     std::strerror(errno));
        std::_Exit(1);
    }
    std::_Exit(status);
}

[[noreturn]] void RefuseOption(const QString& error) {
    Answer(stderr, QStringLiteral("kazoomba: %1\nTry 'kazoomba --help' for the options.\n").arg(error), 1);
}

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}  // namespace

void ReadCommandLine(int& argc, char** argv) {
    kazoomba::ui::NameApplication();
    Parser p(false);
    if (!p.parser.parse(Arguments(argc, argv))) RefuseOption(p.parser.errorText());
    if (p.parser.isSet(p.version))
        Answer(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n'), 0);
    if (p.parser.isSet(p.help) || p.parser.isSet(p.helpAll)) {
        // The usage line names the program as it was started, which the parser takes from the application.
        const QCoreApplication text(argc, argv);
        Parser shown(p.parser.isSet(p.helpAll));
        Answer(stdout, shown.parser.helpText(), 0);
    }
}

void RefuseUnknownOptions(const QCoreApplication& app) {
    // A Qt option that this platform leaves in place (-display on Wayland) is harmless, and known here.
    Parser p(false);
    if (!p.parser.parse(app.arguments())) RefuseOption(p.parser.errorText());
}

}  // namespace kazoomba::app
