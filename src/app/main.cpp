// The game's entry: reads the command line, builds the image store, the sounds and the settings file, makes
// sure this is the only game on the file, assembles the main window, restores the game saved at exit, and
// runs.
#include <QApplication>
#include <QScreen>
#include <csignal>
#include <optional>

#include "Assembly.h"
#include "CommandLine.h"
#include "HistoryFile.h"
#include "NoDisplay.h"
#include "ProfileFile.h"
#include "SessionGuard.h"
#include "SessionLock.h"
#include "SettingsAtStart.h"
#include "access/LateKeys.h"
#include "art/DataPaths.h"
#include "art/Graphics.h"
#include "dialogs/Placement.h"
#include "dialogs/SaveFailure.h"
#include "engine/Random.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"

int main(int argc, char** argv) {
    kazoomba::app::ReadCommandLine(argc, argv);
    std::optional<kazoomba::app::NoDisplayExplained> noDisplay(std::in_place);
    QApplication app(argc, argv);
    noDisplay.reset();
    kazoomba::app::RefuseUnknownOptions(app);
    kazoomba::ui::KeepLateKeysFromMenus(app);

    kazoomba::ProfileFile settings(kazoomba::SettingsFilePath());
    // One game per settings file: two would each save over the other's session.
    kazoomba::SessionLock lock(settings.Path());
    if (int code = 0; !kazoomba::ClaimSettingsFile(lock, settings.Path(), &code)) return code;
    kazoomba::RemoveStaleTemporaries(settings.Path());
    if (!kazoomba::CheckSettingsFileAtStart(settings)) return 0;

    // Pictures and sounds only now: the sound system takes over SIGTERM when it starts, and the boxes above
    // must still end on it.
    const qreal ratio = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0;
    kazoomba::ClockRandom random;
    kazoomba::ui::Graphics graphics(ratio);
    kazoomba::ui::Sound sound(kazoomba::ui::DataDirectory() + QStringLiteral("/sounds"));
    // Missing data does not stop the game, but whoever installed it should hear about it.
    if (!graphics.complete())
        qWarning("kazoomba: art not found in %s: %s", qPrintable(kazoomba::ui::DataDirectory()),
                 qPrintable(graphics.missing().join(QStringLiteral(", "))));
    if (!sound.StopSoundLoaded())
        qWarning("kazoomba: sounds not found in %s", qPrintable(kazoomba::ui::DataDirectory() + QStringLiteral("/sounds")));

    kazoomba::app::Assembly assembly(settings, graphics, sound, random, kazoomba::HistoryFilePath());
    // A lock this game made can be taken over by a game on another computer whose player was told this
    // one had stopped; from then on the file holds that game, and this one must not save over it.
    if (lock.StillHeld())
        assembly.GuardSaves([&lock, &settings] { return lock.StillHeld() ? QString() : kazoomba::TakenOverText(settings.Path()); });
    kazoomba::ui::MainWindow window(graphics, sound, random, assembly.Hooks());
    window.StartUp();
    // The position saved is the frame's, so the frame goes back there, whatever the window manager does.
    kazoomba::ui::PlaceFrameAt(window, assembly.RestoreAtStart(window));

    // A signal or the end of the desktop session saves the game as at exit; a signal then closes the game.
    // A second copy started on the same file asks this one, through a local socket, to come forward.
    kazoomba::SessionGuard guard([&](int signal) {
        if (signal == 0) {
            if (!assembly.SaveAtExit(window))
                kazoomba::ReportSaveFailedOnStandardError(assembly.LastSaveError(), "session end");
            return;
        }
        assembly.EndBySignal(signal);
        // Whatever is open closes the way a player would close it: a win on screen is taken, a board
        // pays what it shows, and a spin in progress is settled before the window goes.
        while (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            if (QApplication::activeModalWidget() == modal) break;
        }
        window.close();
    });
    kazoomba::ComeForwardListener comeForward(settings.Path(), [&] {
        if (window.isMinimized()) window.showNormal();
        window.raise();
        window.activateWindow();
    });

    window.show();
    return app.exec();
}
