// The Vaz Ivero board window: fifteen boxes in a triangle, the winnings, and Quit.
#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "engine/Random.h"
#include "gamble/Board.h"
#include "gamble/BoxKeys.h"
#include "play/Game.h"

class QPushButton;

namespace kazoomba::ui {

class BoardBox;
class Graphics;
class Herald;
class Readout;
class Sound;

class BoardWindow : public QDialog {
    Q_OBJECT
public:
    // Opening the window opens the board: shuffled afresh, the stake (SpinWin) held out of DoubleNothing;
    // a board the game brought back at start is shown as it was left instead. Open it with OpenModal;
    // every gamble gets a new window.
    BoardWindow(kazoomba::Game& game, const Graphics& graphics, Sound& sound, kazoomba::Random& random,
                QWidget* parent = nullptr);
    // A board torn down without Quit (destroyed with its parent) still pays what it shows.
    ~BoardWindow() override;

    const kazoomba::Board& board() const { return board_; }
    // The figure shown beside "Winnings:".
    QString WinningsText() const { return winningsText_; }
    // Shows every box's content; after a loss.
    void RevealBoard();

    static const QString& InstructionsText();
    // Where the instructions are written, and the type that fits them all there, above Quit.
    static QRect InstructionsRoom();
    static QFont InstructionsFont(const QRect& room);

    // The box with the keyboard focus; 0 when it is elsewhere.
    int FocusedBox() const;
    BoardBox* box(int number) const { return boxes_[number - 1]; }
    // What the board last said to a screen reader.
    const Herald& herald() const { return *herald_; }
    // Whether a losing box's flush is still playing; the board opens when it ends.
    bool Flushing() const { return flushing_.isActive(); }
    // Where typed box numbers take their time from; milliseconds, a steady clock by default.
    void SetClock(std::function<long long()> clock) { clock_ = std::move(clock); }

public slots:
    void Pick(int box);
    void Quit();
    // A lone 1 typed and not followed by a second digit in time picks box 1.
    void TypingPause();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Escape and the frame's close button leave the board as Quit does, so no winnings vanish.
    void reject() override;

private:
    int BoxAt(QPoint point) const;
    void DrawBox(QPainter& p, int box) const;
    void ShowWinnings();
    void BuildKeyboardBoxes();
    QString BoxName(int number) const;
    void DescribeBoxes();
    void TellPick(int number, int content);
    // Ends the board and has the game pay what it shows; only the first road out pays.
    void Leave();
    // The flush of a losing box has been heard: the board opens, and a Quit pressed meanwhile acts.
    void FlushHeard();
    // A box picked is shown, sounded and told, once the game has it on the disk.
    void ShowPick(int box, const kazoomba::PickResult& result);

    kazoomba::Game& game_;
    kazoomba::Board& board_;  // the game's: kept with it after every box, so a crash brings it back
    const Graphics& graphics_;
    Sound& sound_;
    bool revealed_ = false;
    int pressedBox_ = 0;
    int pickedBox_ = 0;  // the box last picked
    QString winningsText_;
    QPushButton* quit_ = nullptr;
    std::array<BoardBox*, kBoxes> boxes_{};
    Readout* winningsReadout_ = nullptr;
    std::unique_ptr<Herald> herald_;
    BoxTyping typing_;
    QTimer typingPause_;
    QTimer flushing_;           // runs while a losing box's flush plays
    int leaveAfterFlush_ = -1;  // how the player asked to leave while it played; -1: not at all
    int unsavedBox_ = 0;        // a box picked that waits for the disk before it is shown
    std::function<long long()> clock_;
};

}  // namespace kazoomba::ui
