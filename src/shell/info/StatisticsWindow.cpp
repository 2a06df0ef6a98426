// The Game Statistics window.
#include "dialogs/Placement.h"
#include "info/StatisticsWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <array>
#include <iterator>

#include "dialogs/Modal.h"
#include "play/Statistics.h"
#include "art/Drawing.h"
#include "art/Label.h"
#include "art/Palette.h"
#include "art/TextFit.h"
#include "access/FocusRing.h"

namespace kazoomba::ui {

namespace SL = statistics_layout;

namespace {

QLabel* RightAlignedLabel(QWidget* parent, const QString& text, int x, int y, int w, Colour colour, QFont font) {
    QLabel* label = ColouredLabel(parent, QRect(x, y, w, SL::kRowHeight), FittedFont(font, text, w), colour,
                                  Qt::AlignRight | Qt::AlignTop);
    label->setText(text);
    return label;
}

// The caption beside each figure (a ratio shares its amount's), and what a listener hears each figure called.
constexpr int kCaptionOf[SL::kFigures] = {0, 1, 2, 3, 4, 6, 6, 7, 7, 8, 9, 10, 11};
constexpr const char* kSpokenNames[SL::kFigures] = {
    "Spins", "Credits", "Borrowed", "Total Bets", "Won/Lost", "Total payoffs", "Total payoff ratio",
    "Normal payoffs", "Normal payoff ratio", "Vaz Ivero", "Bonus payoffs", "Bonus Rolls", "Bonus Pool"};

}  // namespace

StatisticsWindow::StatisticsWindow(const kazoomba::GameState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Game Statistics"));
    setFixedSize(SL::kClientWidth, SL::kClientHeight);
    SetBackground(*this, PaletteColor(Colour::Black));

    std::array<QLabel*, std::size(SL::kCaptions)> captions{};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const SL::Caption& c = SL::kCaptions[i];
        captions[i] = RightAlignedLabel(this, QString::fromUtf8(c.text), c.x, c.y, c.w, c.colour,
                                        GameFont(SL::kCaptionPoints));
    }

    const kazoomba::StatisticsTexts t = kazoomba::FormatStatistics(kazoomba::ComputeStatistics(state));
    const std::array<const std::string*, SL::kFigures> texts = {
        &t.Spins, &t.Credits, &t.Borrowed, &t.TotalBets, &t.WonLost, &t.Total, &t.TotalRatio,
        &t.Normal, &t.NormalRatio, &t.VazIvero, &t.Bonus, &t.BonusRolls, &t.BonusPool,
    };
    for (int f = 0; f < SL::kFigures; ++f) {
        const SL::Value& v = SL::kValues[f];
        values_[f] = RightAlignedLabel(this, QString::fromStdString(*texts[f]), v.x, v.y, v.w, v.colour,
                                       GameFont(v.points));
        values_[f]->setObjectName(QString::fromUtf8(v.name));
        values_[f]->setAccessibleName(QString::fromUtf8(kSpokenNames[f]));
    }
    // Each caption labels its figure for assistive technology; a ratio, which no caption labels, is named
    // with its figure, so that a screen reader reading the window's loose labels says what it is.
    for (int f = 0; f < SL::kFigures; ++f)
        if (f != SL::TotalRatioFigure && f != SL::NormalRatioFigure) captions[kCaptionOf[f]]->setBuddy(values_[f]);
    for (int f : {SL::TotalRatioFigure, SL::NormalRatioFigure})
        values_[f]->setAccessibleName(QString::fromUtf8(kSpokenNames[f]) + u' ' + values_[f]->text());
    // The figures in the window's words, read by a screen reader as the window opens.
    QString spoken;
    for (int f = 0; f < SL::kFigures; ++f) {
        if (f == SL::TotalRatioFigure || f == SL::NormalRatioFigure) continue;
        if (f == SL::TotalFigure) spoken += QStringLiteral("Payoffs: ");
        spoken += QString::fromUtf8(SL::kCaptions[kCaptionOf[f]].text) + u' ' + values_[f]->text();
        if (f == SL::TotalFigure || f == SL::NormalFigure) spoken += QStringLiteral(", ") + values_[f + 1]->text();
        spoken += QStringLiteral(". ");
    }
    setAccessibleDescription(spoken.trimmed());

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setGeometry(SL::kOkX, SL::kOkY, SL::kOkW, SL::kOkH);
    ok->setFont(GameFont(9.75));
    ok->setPalette(QGuiApplication::palette());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    ShowFocusRings(*this);
    CentreOnScreen(*this, parent);
}

QString StatisticsWindow::FigureText(SL::Figure figure) const { return values_[figure]->text(); }

void ShowStatistics(const kazoomba::GameState& state, QWidget* parent) {
    OpenModal(new StatisticsWindow(state, parent));
}

}  // namespace kazoomba::ui
