// The Payoff Chart: the figures of both payoff tables at their places, the symbols, the texts and Close.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "info/PayChartWindow.h"
#include "support/Accessibility.h"
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

// Both tables as a screen reader reads them: each a list named by its title, one sentence a row, in the
// order and with the figures the chart paints.
TEST_F(PayChartWindowTest, EachTableReadsAsAListOfItsRowsInWords) {
    PayChartWindow w(*graphics);
    w.show();
    const auto rows = [](QListView& table) {
        QStringList said;
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&table);
        for (int i = 0; list && i < list->childCount(); ++i) said << list->child(i)->text(QAccessible::Name);
        return said.join(QStringLiteral(" | ")).toStdString();
    };
    QAccessibleInterface* regular = QAccessible::queryAccessibleInterface(&w.RegularTable());
    ASSERT_NE(regular, nullptr);
    EXPECT_EQ(regular->role(), QAccessible::List);
    EXPECT_EQ(regular->text(QAccessible::Name), "Regular Payoffs");
    EXPECT_EQ(rows(w.RegularTable()),
              "Three Fulminas: pays 150 coins | Three Targets: pays 25 coins | Three Globes: pays 20 coins | "
              "Three Flags: pays 15 coins | Three Star Maps: pays 15 coins | Three Smiles: pays 10 coins | "
              "Three Don't Walks: pays 5 coins");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&w.BonusTable())->text(QAccessible::Name), "Bonus Payoffs");
    EXPECT_EQ(rows(w.BonusTable()),
              "Three Targets: pays 100 coins | Three Triple Bars: pays 50 coins | Three Double Bars: pays 25 coins | "
              "Three Single Bars: pays 15 coins | Any three Bars: pays 10 coins");
}

// The keyboard alone: the chart opens on the regular table's first row, the arrows go from row to row with
// a mark under the row, Tab goes on to the bonus table and then to Close, and Enter still closes.
TEST_F(PayChartWindowTest, TheKeyboardOpensOnTheRegularTableAndWalksItsRowsThenTheBonusTable) {
    bool walked = false;
    AccessibilityListener listener;
    WhenModalOpens([&](QWidget* modal) {
        auto& w = *static_cast<PayChartWindow*>(modal);
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        ASSERT_EQ(QApplication::focusWidget(), &w.RegularTable());
        QCoreApplication::processEvents();
        // The first row, chosen before anybody listened, is told as the table takes the keyboard.
        bool told = false;
        for (const HeardEvent& e : listener.events())
            told = told || (e.type == QAccessible::Focus && e.name == "Three Fulminas: pays 150 coins");
        EXPECT_TRUE(told) << "the chart opened without its first row told";
        EXPECT_EQ(w.RegularTable().currentIndex().row(), 0);
        const auto markUnder = [&](int top) {
            return CountColour(Snapshot(w), QRect(10, top + 34, 220, 2), PaletteColor(Colour::White));
        };
        EXPECT_GT(markUnder(40), 200) << "the mark under the first row";
        EXPECT_EQ(markUnder(80), 0);
        QTest::keyClick(&w.RegularTable(), Qt::Key_Down);
        QTest::keyClick(&w.RegularTable(), Qt::Key_Down);
        EXPECT_EQ(w.RegularTable().currentIndex().data().toString().toStdString(), "Three Globes: pays 20 coins");
        EXPECT_GT(markUnder(120), 200) << "the mark moved to the third row";
        EXPECT_EQ(markUnder(40), 0);
        QTest::keyClick(&w.RegularTable(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), &w.BonusTable());
        EXPECT_EQ(markUnder(120), 0) << "no mark on a table without the keyboard";
        QTest::keyClick(&w.BonusTable(), Qt::Key_End);
        EXPECT_EQ(w.BonusTable().currentIndex().data().toString().toStdString(), "Any three Bars: pays 10 coins");
        QTest::keyClick(&w.BonusTable(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), modal->findChild<QPushButton*>());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), &w.RegularTable());
        walked = true;
        QTest::keyClick(&w.RegularTable(), Qt::Key_Return);
    });
    kazoomba::ui::ShowPayChart(*graphics, nullptr);
    EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_TRUE(walked);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
