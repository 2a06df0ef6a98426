// The machine's face: the off-screen surface and everything drawn on it (reel panel, pay lines, reels,
// displays, markers) and the captions laid over it. It reads the game and never changes it.
#pragma once

#include <QImage>
#include <QLabel>

#include "art/Graphics.h"
#include "play/Game.h"

namespace kazoomba::ui {

class MachineView;

class MachineFace {
public:
    MachineFace(Graphics& graphics, QWidget* parent);

    QImage& surface() { return surface_; }
    const QImage& surface() const { return surface_; }
    MachineView& view() { return *view_; }

    int DigitColor() const { return digitColor_; }
    void SetDigitColor(int colour) { digitColor_ = colour; }
    bool PayLinesOn() const { return payLinesOn_; }
    void SetPayLinesOn(bool on) { payLinesOn_ = on; }

    // The whole face as the game stands, winning lines included.
    void Redraw(const Game& game);
    // One frame of the reels' motion, or their rest.
    void DrawReels(const Wheels& wheels, int frame);
    void DrawSpinsDisplay(const GameState& s);
    void DrawStatusPanel(const GameState& s);
    void DrawLineMarkers(const GameState& s);
    // A coin value change clears the whole client area before the redraw that follows.
    void Clear();
    void ShowBonusCaption(bool visible) { bonusCaption_->setVisible(visible); }

private:
    void DrawCell(const Wheels& wheels, int cell, int frame);
    void HighlightWinningLines(const GameState& s);

    Graphics& graphics_;
    QImage surface_;
    MachineView* view_;
    QLabel* poolCaption_ = nullptr;
    QLabel* smileCaption_ = nullptr;
    QLabel* freeCaption_ = nullptr;
    QLabel* bonusCaption_ = nullptr;
    int digitColor_ = 2;
    bool payLinesOn_ = true;
};

}  // namespace kazoomba::ui
