// The Vaz Ivero board without a mouse: a focusable box over each painted one, arrow keys between
// neighbours, and box numbers typed on the keyboard.
#pragma once

#include <QWidget>
#include <vector>

namespace kazoomba::ui {

// The box an arrow key leads to: Left and Right step through the numbers, Up and Down to the row above or
// below (Down then Up comes back). Home and End go to the first and last box. 0 for other keys.
int NeighbourBox(int box, int key);

// Box numbers typed: 2 to 9 pick at once; a 1 waits for a second digit, and 0 to 5 typed within the pause
// make 10 to 15. Times are handed in, in milliseconds.
class BoxTyping {
public:
    static constexpr long long kPauseMs = 800;

    // The boxes a digit picks now, in order: a 1 left waiting too long comes first.
    std::vector<int> Type(int digit, long long nowMs);
    // A 1 that has waited the whole pause is box 1; 0 while nothing is due.
    int Pause(long long nowMs);
    bool Waiting() const { return waitingSince_ >= 0; }

private:
    long long waitingSince_ = -1;
};

// An invisible, focusable box laid over a painted one. Space and Enter pick it, the arrows move on; the
// board paints the focus ring.
class BoardBox : public QWidget {
    Q_OBJECT
public:
    BoardBox(int number, const QRect& area, QWidget* board);
    int Number() const { return number_; }

signals:
    void Picked(int box);
    void MoveTo(int box);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent*) override {}

private:
    int number_;
};

}  // namespace kazoomba::ui
