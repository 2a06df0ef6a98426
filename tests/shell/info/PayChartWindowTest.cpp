// The Payoff Chart: the figures of both payoff tables at their places, the symbols, the texts and Close.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "info/PayChartWindow.h"
#include "support/WindowTesting.h"
#include "support/WindowParts.h"
#include "art/Drawing.h"
#include "art/Graphics.h"
#include "art/Palette.h"

using namespace kazoomba::testing;
using kazoomba::ui::Colour;
using kazoomba::ui::PaletteColor;
using kazoomba::ui::PayChartWindow;

namespace {

class PayChartWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        App();
        graphics = &TestGraphics();
    }
    static inline kazoomba::ui::Graphics* graphics = nullptr;
};

// The figure as the chart must show it: yellow over black layers, right-aligned on `right`, 18-point.
QImage ExpectedFigure(QSize size, int right, int top, const QString& text) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setFont(kazoomba::ui::GameFont(18));
    kazoomba::ui::EmbossText(p, right - p.fontMetrics().horizontalAdvance(text), top, Colour::Black, Colour::Black, Colour::Yellow, text);
    return image;
}

bool SameArea(const QImage& a, const QImage& b, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

}  // namespace

TEST_F(PayChartWindowTest, ShowsTheRegularAndBonusPayoffsRightAligned) {
    PayChartWindow w(*graphics);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Payoff Chart");
    const QImage shot = Snapshot(w);
    const char* regular[] = {"150", "25", "20", "15", "15", "10", "5"};
    for (int i = 0; i < 7; ++i) {
        const int top = 38 + 40 * i;
        const QImage expected = ExpectedFigure(shot.size(), 230, top, regular[i]);
        EXPECT_TRUE(SameArea(shot, expected, QRect(160, top, 80, 32))) << "regular row " << i << " shows " << regular[i];
    }
    const char* bonus[] = {"100", "50", "25", "15", "10"};
    for (int i = 0; i < 5; ++i) {
        const int top = 38 + 36 * i;
        const QImage expected = ExpectedFigure(shot.size(), 480, top, bonus[i]);
        EXPECT_TRUE(SameArea(shot, expected, QRect(420, top, 70, 30))) << "bonus row " << i << " shows " << bonus[i];
    }
}

TEST_F(PayChartWindowTest, EachRowShowsItsSymbolThreeTimesFromTheSmallSheet) {
    PayChartWindow w(*graphics);
    w.show();
    const QImage shot = Snapshot(w);
    const QImage sheet = graphics->SymbolSheetSmall().convertToFormat(QImage::Format_RGB32);
    auto shows = [&](int x, int y, int code) {
        for (int dy = 0; dy < 32; ++dy)
            for (int dx = 0; dx < 32; ++dx)
                if (shot.pixel(x + dx, y + dy) != sheet.pixel(32 * (code % 4) + dx, 32 * (code / 4) + dy)) return false;
        return true;
    };
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_TRUE(shows(5 + 36 * j, 40 + 40 * i, i)) << "regular " << i << "," << j;
    const int bonusCodes[] = {1, 7, 8, 9, 10};
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_TRUE(shows(260 + 36 * j, 40 + 36 * i, bonusCodes[i])) << "bonus " << i << "," << j;
}

TEST_F(PayChartWindowTest, TheRegularRowsTimesSignIsSmallerThanTheBonusRows) {
    PayChartWindow w(*graphics);
    w.show();
    const QImage shot = Snapshot(w);
    const int regular = CountColour(shot, QRect(144, 40, 24, 32), PaletteColor(Colour::Silver));
    const int bonus = CountColour(shot, QRect(400, 37, 30, 34), PaletteColor(Colour::Silver));
    EXPECT_GT(regular, 10);
    EXPECT_GT(bonus, regular);
}

TEST_F(PayChartWindowTest, TheTwoTextsUnderlineTheirThreeAndSitWhereTheyBelong) {
    PayChartWindow w(*graphics);
    auto* smile = w.findChild<QLabel*>(QStringLiteral("SmileText"));
    auto* fulmina = w.findChild<QLabel*>(QStringLiteral("FulminaText"));
    ASSERT_TRUE(smile && fulmina);
    EXPECT_EQ(smile->geometry(), QRect(248, 224, 233, 89));
    EXPECT_EQ(fulmina->geometry(), QRect(16, 328, 465, 81));
    EXPECT_TRUE(smile->text().contains("Remove all six to win <u>3</u> bonus spins."));
    EXPECT_TRUE(fulmina->text().contains("increase by <u>3</u> times"));
    EXPECT_TRUE(fulmina->text().contains("possible).  FULMINA"));
    EXPECT_FALSE(smile->text().contains("&3"));
    // Both texts fit their boxes without being cut off.
    EXPECT_LE(smile->heightForWidth(smile->width()), smile->height());
    EXPECT_LE(fulmina->heightForWidth(fulmina->width()), fulmina->height());
}

TEST_F(PayChartWindowTest, CoveringAndUncoveringDrawsTheSamePicture) {
    PayChartWindow w(*graphics);
    w.show();
    const QImage first = Snapshot(w);
    w.hide();
    w.show();
    w.repaint();
    EXPECT_EQ(Snapshot(w), first);
}

TEST_F(PayChartWindowTest, EscapeClosesTheChart) {
    bool pressed = false;
    WhenModalOpens([&](QWidget* modal) {
        pressed = true;
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    kazoomba::ui::ShowPayChart(*graphics, nullptr);
    EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_TRUE(pressed);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PayChartWindowTest, CloseClosesTheChartAndTheFrameOffersNoCloseButton) {
    bool clicked = false;
    WhenModalOpens([&](QWidget* modal) {
        EXPECT_FALSE(modal->windowFlags() & Qt::WindowCloseButtonHint);
        auto* close = modal->findChild<QPushButton*>();
        EXPECT_EQ(close->text(), "&Close");
        EXPECT_EQ(close->geometry(), QRect(16, 408, 457, 33));
        clicked = true;
        QTest::mouseClick(close, Qt::LeftButton);
    });
    kazoomba::ui::ShowPayChart(*graphics, nullptr);
    EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_TRUE(clicked);
}

TEST(AccessKeyHtml, UnderlinesTheMarkedCharacterAndKeepsEverythingElseAsTyped) {
    using kazoomba::ui::AccessKeyHtml;
    EXPECT_EQ(AccessKeyHtml("win &3 spins"), "<div style=\"white-space:pre-wrap\">win <u>3</u> spins</div>");
    EXPECT_EQ(AccessKeyHtml("R&&D <b>"), "<div style=\"white-space:pre-wrap\">R&amp;D &lt;b&gt;</div>");
    EXPECT_EQ(AccessKeyHtml("end&"), "<div style=\"white-space:pre-wrap\">end&amp;</div>");
    EXPECT_EQ(AccessKeyHtml("&<"), "<div style=\"white-space:pre-wrap\"><u>&lt;</u></div>");
}
