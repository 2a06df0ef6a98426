// The board by keyboard.
#include "gamble/BoxKeys.h"

#include <QKeyEvent>
#include <algorithm>

#include "gamble/Board.h"

namespace kazoomba::ui {

namespace {
// Box 1 is the apex; row r (from 0) holds r + 1 boxes.
int RowOf(int box) {
    int row = 0;
    while ((row + 1) * (row + 2) / 2 < box) ++row;
    return row;
}
int FirstOf(int row) { return row * (row + 1) / 2 + 1; }
constexpr int kRows = 5;
}  // namespace

int NeighbourBox(int box, int key) {
    if (box < 1 || box > kBoxes) return 0;
    const int row = RowOf(box), column = box - FirstOf(row);
    switch (key) {
        case Qt::Key_Left: return box > 1 ? box - 1 : box;
        case Qt::Key_Right: return box < kBoxes ? box + 1 : box;
        case Qt::Key_Up: return row > 0 ? FirstOf(row - 1) + std::min(column, row - 1) : box;
        case Qt::Key_Down: return row + 1 < kRows ? FirstOf(row + 1) + column : box;
        case Qt::Key_Home: return 1;
        case Qt::Key_End: return kBoxes;
        default: return 0;
    }
}

std::vector<int> BoxTyping::Type(int digit, long long nowMs) {
    std::vector<int> picks;
    if (digit < 0 || digit > 9) return picks;
    if (Waiting()) {
        const bool inTime = nowMs - waitingSince_ < kPauseMs;
        waitingSince_ = -1;
        if (inTime && digit <= 5) {
            picks.push_back(10 + digit);
            return picks;
        }
        picks.push_back(1);
    }
    if (digit == 1) waitingSince_ = nowMs;
    else if (digit != 0) picks.push_back(digit);
    return picks;
}

int BoxTyping::Pause(long long nowMs) {
    if (!Waiting() || nowMs - waitingSince_ < kPauseMs) return 0;
    waitingSince_ = -1;
    return 1;
}

BoardBox::BoardBox(int number, const QRect& area, QWidget* board) : QWidget(board), number_(number) {
    setGeometry(area);
    setFocusPolicy(Qt::TabFocus);
    setProperty("ownFocusRing", true);  // the board paints a ring of its own round a box
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void BoardBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!event->isAutoRepeat()) emit Picked(number_);
        return;
    }
    if (const int next = NeighbourBox(number_, key)) {
        emit MoveTo(next);
        return;
    }
    QWidget::keyPressEvent(event);
}

void BoardBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    parentWidget()->update(geometry().adjusted(-6, -6, 6, 6));
}

void BoardBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    parentWidget()->update(geometry().adjusted(-6, -6, 6, 6));
}

}  // namespace kazoomba::ui
