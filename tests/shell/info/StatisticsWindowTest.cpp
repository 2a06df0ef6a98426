// The Game Statistics window: every figure, caption and colour, opened from a real game.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <utility>
#include <vector>

#include "info/StatisticsWindow.h"
#include "support/Scripted.h"
#include "support/WindowTesting.h"
#include "art/Palette.h"

using namespace kazoomba;
using namespace kazoomba::testing;
using kazoomba::ui::Colour;
using kazoomba::ui::PaletteColor;
using kazoomba::ui::StatisticsWindow;
namespace SL = kazoomba::ui::statistics_layout;

namespace {

class StatisticsWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { App(); }

    // Opens the window from the menu command, lets `look` read it, and closes it with OK.
    void OpenAndLook(const std::function<void(StatisticsWindow&)>& look) {
        bool looked = false;
        WhenModalOpens([&](QWidget* modal) {
            auto* window = qobject_cast<StatisticsWindow*>(modal);
            ASSERT_NE(window, nullptr);
            look(*window);
            looked = true;
            QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);
        });
        ui::ShowStatistics(table.s(), nullptr);
        EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
        EXPECT_TRUE(looked);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "OK closes the window";
    }

    Table table;
};

QString Shown(const StatisticsWindow& w, SL::Figure f) { return w.FigureText(f); }

}  // namespace

TEST_F(StatisticsWindowTest, ANewGameShowsTheStartingFigures) {
    OpenAndLook([](StatisticsWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Game Statistics");
        EXPECT_EQ(w.size(), QSize(289, 389));
        EXPECT_EQ(Shown(w, SL::SpinsFigure), "0");
        EXPECT_EQ(Shown(w, SL::CreditsFigure), "$1,000.00");
        EXPECT_EQ(Shown(w, SL::BorrowedFigure), "$1,000.00");
        EXPECT_EQ(Shown(w, SL::TotalBetsFigure), "$0.00");
        EXPECT_EQ(Shown(w, SL::WonLostFigure), "$0.00");
        for (SL::Figure f : {SL::TotalFigure, SL::NormalFigure, SL::VazIveroFigure, SL::BonusFigure,
                             SL::BonusRollsFigure, SL::BonusPoolFigure})
            EXPECT_EQ(Shown(w, f), "$0.00") << SL::kValues[f].name;
        EXPECT_EQ(Shown(w, SL::TotalRatioFigure), "0.00%");
        EXPECT_EQ(Shown(w, SL::NormalRatioFigure), "0.00%");
    });
}

TEST_F(StatisticsWindowTest, CaptionsAndFiguresStandAtTheirPlacesInTheirColours) {
    OpenAndLook([](StatisticsWindow& w) {
        const QImage shot = Snapshot(w);
        EXPECT_EQ(PixelAt(shot, 2, 2), PaletteColor(Colour::Black));
        EXPECT_EQ(PixelAt(shot, 280, 100), PaletteColor(Colour::Black));
        // Each caption and figure is drawn in its colour inside its box, right-aligned.
        for (const SL::Caption& c : SL::kCaptions)
            EXPECT_GT(CountColour(shot, QRect(c.x, c.y, c.w, SL::kRowHeight), PaletteColor(c.colour)), 15) << c.text;
        for (const SL::Value& v : SL::kValues)
            EXPECT_GT(CountColour(shot, QRect(v.x, v.y, v.w, SL::kRowHeight), PaletteColor(v.colour)), 5) << v.name;
        // "Credits:" ends at its box's right edge: red near x = 96, none in the gap before its figure.
        EXPECT_GT(CountColour(shot, QRect(88, 48, 9, 20), PaletteColor(Colour::Red)), 3);
        EXPECT_EQ(CountColour(shot, QRect(98, 24, 5, 300), PaletteColor(Colour::Red)), 0);
        auto* label = w.findChild<QLabel*>(QStringLiteral("Credits"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->geometry().topLeft(), QPoint(104, 48));
        EXPECT_EQ(label->alignment(), Qt::AlignRight | Qt::AlignTop);
        auto* ok = w.findChild<QPushButton*>();
        EXPECT_EQ(ok->text(), "&OK");
        EXPECT_EQ(ok->geometry(), QRect(16, 336, 257, 41));
    });
}

TEST_F(StatisticsWindowTest, CoinsPlacedButNotSpunAreAlreadyBetAndOutOfCredits) {
    table.game.PlaceCoins(8);  // $2.00 at 25 cents
    OpenAndLook([](StatisticsWindow& w) {
        EXPECT_EQ(Shown(w, SL::CreditsFigure), "$998.00");
        EXPECT_EQ(Shown(w, SL::TotalBetsFigure), "$2.00");
        EXPECT_EQ(Shown(w, SL::WonLostFigure), "-$2.00");
        EXPECT_EQ(Shown(w, SL::TotalFigure), "$0.00");
        EXPECT_EQ(Shown(w, SL::TotalRatioFigure), "0.00%");
    });
}

// The worked cases: what the player sees after a game has gone a certain way.
TEST_F(StatisticsWindowTest, TheWorkedGamesShowTheirFigures) {
    struct Case {
        const char* what;
        float wagers, credits, poolPts, doubleNothing;
        std::vector<std::pair<SL::Figure, const char*>> shown;
    };
    const Case cases[] = {
        {"$10 bet, nothing won", 10, 990, 0, 0,
         {{SL::CreditsFigure, "$990.00"}, {SL::WonLostFigure, "-$10.00"}, {SL::TotalFigure, "$0.00"},
          {SL::TotalRatioFigure, "0.00%"}, {SL::NormalRatioFigure, "0.00%"}}},
        {"$100 bet, $80 back on lines and a $20 pool", 100, 1000, 20, 0,
         {{SL::TotalFigure, "$100.00"}, {SL::TotalRatioFigure, "100.00%"}, {SL::NormalFigure, "$80.00"},
          {SL::NormalRatioFigure, "80.00%"}, {SL::BonusFigure, "$20.00"}, {SL::BonusPoolFigure, "$20.00"},
          {SL::BonusRollsFigure, "$0.00"}}},
        {"a $5 line win lost on the board", 5, 995, 0, -5,
         {{SL::VazIveroFigure, "-$5.00"}, {SL::TotalFigure, "$0.00"}, {SL::NormalFigure, "$5.00"}}},
    };
    for (const Case& c : cases) {
        table.s().TotalWagers = c.wagers;
        table.s().Credits = c.credits;
        table.s().PoolPts = c.poolPts;
        table.s().DoubleNothing = c.doubleNothing;
        OpenAndLook([&c](StatisticsWindow& w) {
            for (const auto& [figure, text] : c.shown) EXPECT_EQ(Shown(w, figure), text) << c.what;
        });
    }
}

TEST_F(StatisticsWindowTest, AFigureTooWideForItsBoxIsNarrowedNotCut) {
    table.s().Credits = 12345678.0f;
    table.s().Borrowed = 1000.0f;
    OpenAndLook([](StatisticsWindow& w) {
        EXPECT_EQ(Shown(w, SL::TotalFigure), "$12,344,678.00");
        auto* total = w.findChild<QLabel*>(QStringLiteral("Total"));
        EXPECT_LE(QFontMetrics(total->font()).horizontalAdvance(total->text()), total->width());
        auto* credits = w.findChild<QLabel*>(QStringLiteral("Credits"));
        EXPECT_LE(QFontMetrics(credits->font()).horizontalAdvance(credits->text()), credits->width());
    });
}

// A listener hears the figures with their captions as the window opens, and each figure is labelled by
// its caption.
TEST_F(StatisticsWindowTest, FiguresAreReadWithTheirCaptions) {
    OpenAndLook([](StatisticsWindow& w) {
        EXPECT_TRUE(w.accessibleDescription().startsWith(
            "Spins: 0. Credits: $1,000.00. Borrowed: $1,000.00. Total Bets: $0.00. Won/Lost: $0.00. "
            "Payoffs: Total: $0.00, 0.00%. Normal: $0.00, 0.00%. Vaz Ivero: $0.00."))
            << w.accessibleDescription().toStdString();
        QLabel* credits = w.findChild<QLabel*>(QStringLiteral("Credits"));
        ASSERT_NE(credits, nullptr);
        QAccessibleInterface* figure = QAccessible::queryAccessibleInterface(credits);
        const auto labels = figure->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels.first().first->text(QAccessible::Name), "Credits:");
        EXPECT_EQ(figure->text(QAccessible::Name), "Credits");
        // The ratios have no caption of their own: read alone, each says what it is and its figure.
        int ratios = 0;
        for (QLabel* label : w.findChildren<QLabel*>()) {
            const QString name = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
            if (!name.contains("payoff ratio")) continue;
            ++ratios;
            EXPECT_TRUE(name.endsWith(" " + label->text())) << name.toStdString();
        }
        EXPECT_EQ(ratios, 2);
    });
}
