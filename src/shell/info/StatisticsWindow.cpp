// The Game Statistics window.
#include "dialogs/Placement.h"
#include "info/StatisticsWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "dialogs/Modal.h"
#include "play/Statistics.h"
#include "art/Drawing.h"
#include "art/Label.h"
#include "art/Palette.h"
#include "art/TextFit.h"

namespace kazoomba::ui {

namespace L = statistics_layout;

namespace {

QLabel* RightAlignedLabel(QWidget* parent, const QString& text, int x, int y, int w, Colour colour, QFont font) {
    QLabel* label = ColouredLabel(parent, QRect(x, y, w, L::kRowHeight), FittedFont(font, text, w), colour,
                                  Qt::AlignRight | Qt::AlignTop);
    label->setText(text);
    return label;
}

}  // namespace

StatisticsWindow::StatisticsWindow(const kazoomba::GameState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Game Statistics"));
    setFixedSize(L::kClientWidth, L::kClientHeight);
    SetBackground(*this, PaletteColor(Colour::Black));

    for (const L::Caption& c : L::kCaptions)
        RightAlignedLabel(this, QString::fromUtf8(c.text), c.x, c.y, c.w, c.colour, GameFont(L::kCaptionPoints));

    const kazoomba::StatisticsTexts t = kazoomba::FormatStatistics(kazoomba::ComputeStatistics(state));
    const std::array<const std::string*, L::kFigures> texts = {
        &t.Spins, &t.Credits, &t.Borrowed, &t.TotalBets, &t.WonLost, &t.Total, &t.TotalRatio,
        &t.Normal, &t.NormalRatio, &t.VazIvero, &t.Bonus, &t.BonusRolls, &t.BonusPool,
    };
    for (int f = 0; f < L::kFigures; ++f) {
        const L::Value& v = L::kValues[f];
        values_[f] = RightAlignedLabel(this, QString::fromStdString(*texts[f]), v.x, v.y, v.w, v.colour,
                                       GameFont(v.points));
        values_[f]->setObjectName(QString::fromUtf8(v.name));
    }

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setGeometry(L::kOkX, L::kOkY, L::kOkW, L::kOkH);
    ok->setFont(GameFont(9.75));
    ok->setPalette(QGuiApplication::palette());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    CentreOnScreen(*this, parent);
}

QString StatisticsWindow::FigureText(L::Figure figure) const { return values_[figure]->text(); }

void ShowStatistics(const kazoomba::GameState& state, QWidget* parent) {
    RunModal(new StatisticsWindow(state, parent));
}

}  // namespace kazoomba::ui
