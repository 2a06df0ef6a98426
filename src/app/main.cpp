// The game's entry: builds the image store, the sounds, the settings file and the main window, wires the
// windows that the menus open, restores the game saved at exit, and runs.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QtGlobal>
#include <csignal>
#include <cstring>
#include <optional>

#include "CommandLine.h"
#include "engine/Random.h"
#include "gamble/PayoffsWindow.h"
#include "info/AboutBox.h"
#include "info/ManualViewer.h"
#include "info/PayChartWindow.h"
#include "info/StatisticsWindow.h"
#include "dialogs/LoadSaveDialog.h"
#include "ProfileFile.h"
#include "dialogs/SaveFailure.h"
#include "SavedGames.h"
#include "SessionGuard.h"
#include "SessionLock.h"
#include "SettingsAtStart.h"
#include "art/DataPaths.h"
#include "art/Graphics.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"
#include "dialogs/WinStopDialog.h"

namespace {

using kazoomba::ui::MainWindow;

// The menu choices a saved game carries, as the main window holds them.
class WindowSelections : public kazoomba::MenuSelections {
public:
    explicit WindowSelections(MainWindow& window) : window_(window) {}
    int SpeedIndex() const override { return window_.SpeedIndex(); }
    int BannerIndex() const override { return window_.BannerIndex(); }
    void SetSpinSpeed(int index) override { window_.SetSpinSpeed(index); }
    void SetBanner(int index) override { window_.SetBanner(index); }

private:
    MainWindow& window_;
};

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

}  // namespace

int main(int argc, char** argv) {
    kazoomba::app::ReadCommandLine(argc, argv);
    QApplication app(argc, argv);
    kazoomba::app::RefuseUnknownOptions(app);

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

    kazoomba::ProfileFile settings(kazoomba::SettingsFilePath());
    // One game per settings file: two would each save over the other's session.
    kazoomba::SessionLock lock(settings.Path());
    if (!kazoomba::ClaimSettingsFile(lock, settings.Path())) return 0;
    kazoomba::RemoveStaleTemporaries(settings.Path());
    if (!kazoomba::CheckSettingsFileAtStart(settings)) return 0;
    MainWindow window(graphics, sound, random);
    WindowSelections menus(window);
    kazoomba::Game& game = window.game();

    window.presentWin = [&] {
        kazoomba::ui::PayoffsWindow::PresentWin(game, graphics, window.DigitColor(), sound, random, &window);
    };
    window.askWinStopValue = [&] { return kazoomba::ui::AskWinStopValue(&window); };
    window.readBannerText = [&] { return kazoomba::ReadBannerText(settings); };
    window.writeBannerText = [&](const QString& text) { kazoomba::WriteBannerText(settings, text); };

    // A Wayland window cannot learn where it is; the stored position then stays as it was.
    const auto position = [&]() -> std::optional<QPoint> {
        if (!kazoomba::PlatformReportsWindowPosition(QGuiApplication::platformName())) return std::nullopt;
        return window.pos();
    };
    const auto saveAtExit = [&] { return kazoomba::SaveAtExit(settings, game, menus, position(), ScreenSize()); };
    QByteArray ending;  // the signal that ends the game: no window may be shown any more
    // After a signal, even one that arrives while the failed-save message is up, no window is shown again.
    const auto saveOrReport = [&] {
        if (ending.isEmpty()) return saveAtExit();
        if (!saveAtExit()) kazoomba::ReportSaveFailedOnStandardError(settings.LastError(), ending.constData());
        return true;
    };
    window.beforeQuit = [&] { kazoomba::SaveBeforeQuitting(saveOrReport, [&] { return settings.LastError(); }, &window); };

    // The game in play is written after every settled spin and every change to the bank, so a crash
    // or a power cut loses at most the spin in play. A failure is told once, not after every spin.
    bool checkpointFailed = false;
    const auto checkpoint = [&] {
        const bool saved = kazoomba::SaveCurrentGame(settings, game, menus);
        if (!saved && !checkpointFailed) kazoomba::ReportSaveFailedOnStandardError(settings.LastError(), "autosave");
        checkpointFailed = !saved;
    };

    const auto redraw = [&] { window.RedrawMainWindow(); };
    window.Wire(QStringLiteral("mnuLoadSave_0"), [&] {
        kazoomba::LoadSaveCommand(0, settings, game, menus, redraw, &window);
        checkpoint();
    });
    window.Wire(QStringLiteral("mnuLoadSave_1"), [&] { kazoomba::LoadSaveCommand(1, settings, game, menus, redraw, &window); });
    window.Wire(QStringLiteral("mnuStats"), [&] { kazoomba::ui::ShowStatistics(game.state, &window); });
    window.Wire(QStringLiteral("mnuAbout"), [&] { kazoomba::ui::ShowAbout(graphics, &window); });
    window.Wire(QStringLiteral("mnuHelp"), [&] { kazoomba::ui::ShowManual(&window); });
    window.Wire(QStringLiteral("mnuPayChart"), [&] { kazoomba::ui::ShowPayChart(graphics, &window); });

    window.StartUp();
    // The frame is not known before the window is shown; a Windows 95 frame makes the window 617 x 500.
    window.move(kazoomba::RestoreAtStart(settings, game, menus, ScreenSize(), QSize(617, 500)));
    window.checkpoint = checkpoint;

    // A signal or the end of the desktop session saves the game as at exit; a signal then closes the game.
    // A second copy started on the same file asks this one, through a local socket, to come forward.
    kazoomba::SessionGuard guard([&](int signal) {
        if (signal == 0) {
            if (!saveAtExit()) kazoomba::ReportSaveFailedOnStandardError(settings.LastError(), "session end");
            return;
        }
        const char* name = sigabbrev_np(signal);
        ending = name ? QByteArray("SIG") + name : QByteArray("signal ") + QByteArray::number(signal);
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
