// The game's entry: builds the image store, the sounds and the main window, wires the windows, and runs.
#include <QApplication>
#include <QScreen>
#include <QtGlobal>

#include "engine/Random.h"
#include "gamble/PayoffsWindow.h"
#include "ui/DataPaths.h"
#include "ui/Graphics.h"
#include "ui/MainWindow.h"
#include "ui/Sound.h"
#include "ui/WinStopDialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kazoomba"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kazoomba"));
    QApplication::setApplicationVersion(QStringLiteral(KAZOOMBA_VERSION));

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
    kazoomba::ui::MainWindow window(graphics, sound, random);
    window.presentWin = [&] {
        kazoomba::ui::PayoffsWindow::PresentWin(window.game(), graphics, window.DigitColor(), sound, random, &window);
    };
    window.askWinStopValue = [&] { return kazoomba::ui::AskWinStopValue(&window); };
    window.StartUp();
    window.show();
    return app.exec();
}
