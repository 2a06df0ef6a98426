// The Payoffs window: the winning lines of the spin just played, the total and the pool, then Take or Double.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <functional>

#include "gamble/PayoffsSheet.h"

class QPushButton;

namespace kazoomba {
class Game;
class Random;
}  // namespace kazoomba

namespace kazoomba::ui {

class Graphics;
class Sound;

class PayoffsWindow : public QDialog {
    Q_OBJECT
public:
    // Sound and random are handed on to the board when the player doubles.
    PayoffsWindow(kazoomba::Game& game, const Graphics& graphics, int digitColour, Sound& sound,
                  kazoomba::Random& random, QWidget* parent = nullptr);

    // Opens a fresh window over parent; `settled` follows once the win has been taken, or doubled and the
    // board left.
    static void PresentWin(kazoomba::Game& game, const Graphics& graphics, int digitColour, Sound& sound,
                           kazoomba::Random& random, QWidget* parent, std::function<void()> settled);

    // Where the player last left the window in this run (its frame's top left); a left of 0 or less
    // means it has not been placed yet, and it opens centred.
    static QPoint PayoffsWindowPos;

    const PayoffsSheet& sheet() const { return sheet_; }
    const QImage& surface() const { return surface_; }
    const QTimer& autoTakeTimer() const { return autoTake_; }
    // Opened in a run of auto spins for a win below the win stop: the window takes it by itself at its
    // tick, even if the run is stopped meanwhile, and never has the keyboard unless the player clicks it.
    bool takesByItself() const { return takesByItself_; }

public slots:
    void Take();
    void Double();
    // Auto spin takes a win by itself at a tick unless the win reaches the win-stop value.
    void TimerTick();

public:
    // Escape and the frame's close command both land here. Closing must never cost the player a win,
    // so both take it. In a window taking its win by itself, Escape ends the run too, as on the machine.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Place();
    void AddReadouts();
    void Redraw();
    void Close();

    kazoomba::Game& game_;
    const Graphics& graphics_;
    int digitColour_;
    Sound& sound_;
    kazoomba::Random& random_;
    PayoffsSheet sheet_;
    QImage surface_;
    QTimer autoTake_;
    QPushButton* double_ = nullptr;
    QPushButton* take_ = nullptr;
    bool settled_ = false;  // taken or doubled: a win is settled once, whatever else arrives after
    bool takesByItself_ = false;
};

}  // namespace kazoomba::ui
