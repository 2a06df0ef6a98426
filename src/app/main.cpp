// The game's entry: builds the image store, the sounds, the settings file and the main window, wires the
// windows that the menus open, restores the game saved at exit, and runs.
#include <QApplication>
#include <QScreen>
#include <QtGlobal>

#include "app/CommandLine.h"
#include "engine/Random.h"
#include "gamble/PayoffsWindow.h"
#include "info/AboutBox.h"
#include "info/ManualViewer.h"
#include "info/PayChartWindow.h"
#include "info/StatisticsWindow.h"
#include "storage/LoadSaveDialog.h"
#include "storage/ProfileFile.h"
#include "storage/SavedGames.h"
#include "storage/SessionGuard.h"
#include "ui/DataPaths.h"
#include "ui/Graphics.h"
#include "ui/Identity.h"
#include "ui/MainWindow.h"
#include "ui/Sound.h"
#include "ui/WinStopDialog.h"

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
    kazoomba::ui::NameApplication();

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
    kazoomba::RemoveStaleTemporaries(settings.Path());
    MainWindow window(graphics, sound, random);
    WindowSelections menus(window);
    kazoomba::Game& game = window.game();

    window.presentWin = [&] {
        kazoomba::ui::PayoffsWindow::PresentWin(game, graphics, window.DigitColor(), sound, random, &window);
    };
    window.askWinStopValue = [&] { return kazoomba::ui::AskWinStopValue(&window); };
    window.readBannerText = [&] { return kazoomba::ReadBannerText(settings); };
    window.writeBannerText = [&](const QString& text) { kazoomba::WriteBannerText(settings, text); };
    window.beforeQuit = [&] { kazoomba::SaveAtExit(settings, game, menus, window.pos(), ScreenSize()); };

    const auto redraw = [&] { window.RedrawMainWindow(); };
    window.Wire(QStringLiteral("mnuLoadSave_0"), [&] { kazoomba::LoadSaveCommand(0, settings, game, menus, redraw, &window); });
    window.Wire(QStringLiteral("mnuLoadSave_1"), [&] { kazoomba::LoadSaveCommand(1, settings, game, menus, redraw, &window); });
    window.Wire(QStringLiteral("mnuStats"), [&] { kazoomba::ui::ShowStatistics(game.state, &window); });
    window.Wire(QStringLiteral("mnuAbout"), [&] { kazoomba::ui::ShowAbout(graphics, &window); });
    window.Wire(QStringLiteral("mnuHelp"), [&] { kazoomba::ui::ShowManual(&window); });
    window.Wire(QStringLiteral("mnuPayChart"), [&] { kazoomba::ui::ShowPayChart(graphics, &window); });

    window.StartUp();
    // The frame is not known before the window is shown; a Windows 95 frame makes the window 617 x 500.
    window.move(kazoomba::RestoreAtStart(settings, game, menus, ScreenSize(), QSize(617, 500)));

    // A signal or the end of the desktop session saves the game as at exit; a signal then closes the game.
    kazoomba::SessionGuard guard([&](int signal) {
        if (signal == 0) {
            kazoomba::SaveAtExit(settings, game, menus, window.pos(), ScreenSize());
            return;
        }
        // Whatever is open closes the way a player would close it: a win on screen is taken, a board
        // pays what it shows, and a spin in progress is settled before the window goes.
        while (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            if (QApplication::activeModalWidget() == modal) break;
        }
        window.close();
    });

    window.show();
    return app.exec();
}
