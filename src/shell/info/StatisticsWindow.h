// The Game Statistics window: where the money of the current game went.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "info/StatisticsLayout.h"
#include "play/GameState.h"

class QLabel;

namespace kazoomba::ui {

class StatisticsWindow : public QDialog {
    Q_OBJECT
public:
    // The figures are computed once, here: the window shows the game as it was when opened.
    explicit StatisticsWindow(const kazoomba::GameState& state, QWidget* parent = nullptr);

    QString FigureText(statistics_layout::Figure figure) const;

private:
    std::array<QLabel*, statistics_layout::kFigures> values_{};
};

// The File menu's "Statistics": shows the window modally and discards it when it closes.
void ShowStatistics(const kazoomba::GameState& state, QWidget* parent);

}  // namespace kazoomba::ui
