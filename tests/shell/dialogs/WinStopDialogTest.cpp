// The "Win Stop Value" dialog answered as a player answers it: typed into, refocused, closed by OK or Escape.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>

#include "support/QtApp.h"
#include "support/WindowTesting.h"
#include "art/Palette.h"
#include "dialogs/WinStopDialog.h"
#include "dialogs/WinStopLayout.h"

using namespace kazoomba::ui;
using kazoomba::testing::CountColour;
using kazoomba::testing::PixelAt;
using kazoomba::testing::Snapshot;
using kazoomba::testing::WhenModalOpens;
using kazoomba::testing::AwaitModalsClosed;
namespace L = kazoomba::ui::win_stop_layout;

namespace {

class WinStopDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kazoomba::testing::App(); }

    // Asks as the game asks, runs act on the dialog once it shows, and returns what the dialog returned.
    static QString Ask(const std::function<void(WinStopDialog&, QLineEdit&)>& act) {
        WhenModalOpens([&](QWidget* w) {
            auto* dialog = qobject_cast<WinStopDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            auto* entry = dialog->findChild<QLineEdit*>();
            ASSERT_NE(entry, nullptr);
            act(*dialog, *entry);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->accept();
            }
        });
        QString answer;
        AskWinStopValue(nullptr, [&answer](const QString& text) { answer = text; });
        EXPECT_TRUE(AwaitModalsClosed());
        return answer;
    }

    static QPushButton* Ok(WinStopDialog& d) { return d.findChild<QPushButton*>(); }

    // Moves the keyboard focus away to OK and back to the entry, as Tab and Shift+Tab do.
    static void Refocus(WinStopDialog& d, QLineEdit& entry) {
        kazoomba::testing::MakeActive(&d);
        Ok(d)->setFocus(Qt::TabFocusReason);
        entry.setFocus(Qt::BacktabFocusReason);
        ASSERT_TRUE(entry.hasFocus());
    }
};

TEST_F(WinStopDialogTest, OpensWithZeroSelectedSoTypingReplacesIt) {
    const QString value = Ask([](WinStopDialog& d, QLineEdit& entry) {
        EXPECT_EQ(d.focusWidget(), &entry);
        EXPECT_EQ(entry.text(), QStringLiteral("0"));
        EXPECT_EQ(entry.selectedText(), QStringLiteral("0"));
        QTest::keyClicks(&entry, QStringLiteral("250"));
        QTest::mouseClick(Ok(d), Qt::LeftButton);
    });
    EXPECT_EQ(value, QStringLiteral("250"));
}

TEST_F(WinStopDialogTest, EscapePressesOkAndKeepsWhatWasTyped) {
    const QString value = Ask([](WinStopDialog&, QLineEdit& entry) {
        QTest::keyClicks(&entry, QStringLiteral(" 75 "));
        QTest::keyClick(&entry, Qt::Key_Escape);
    });
    // Handed back as typed: the game trims it and reads the number.
    EXPECT_EQ(value, QStringLiteral(" 75 "));
}

TEST_F(WinStopDialogTest, RegainingTheFocusSelectsTheValueWithoutItsBlanks) {
    const QString value = Ask([](WinStopDialog& d, QLineEdit& entry) {
        entry.setText(QStringLiteral("120 "));
        Refocus(d, entry);
        EXPECT_EQ(entry.selectionStart(), 0);
        EXPECT_EQ(entry.selectedText(), QStringLiteral("120"));

        // Blanks in front: typing still replaces the whole value, not its first figures.
        entry.setText(QStringLiteral("  50 "));
        Refocus(d, entry);
        EXPECT_EQ(entry.selectedText(), QStringLiteral("50"));
        QTest::keyClicks(&entry, QStringLiteral("9"));
        EXPECT_EQ(entry.text(), QStringLiteral("  9 "));

        entry.setText(QStringLiteral("   "));
        Refocus(d, entry);
        EXPECT_FALSE(entry.hasSelectedText());
        d.accept();
    });
    EXPECT_EQ(value, QStringLiteral("   "));
}

TEST_F(WinStopDialogTest, LooksAsTheGameDrawsIt) {
    WinStopDialog d;
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Win Stop Value"));
    EXPECT_EQ(d.size(), QSize(494, 152));
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                    Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(d.pos(), QPoint((screen.width() - 494) / 2, (screen.height() - 152) / 2));

    QStringList texts;
    for (QLabel* label : d.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral(
        "If you would like the game to pause when you win over a certain amount on a spin, then fill in that value "
        "below.  For example:  if you would like the the game to pause when you win $1,000 or more on a spin, then "
        "fill in 1000 below.  If you do not want the game to pause no matter how much you win, then enter 0 below.")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Win Stop Value:")));
    EXPECT_EQ(d.findChildren<QPushButton*>().size(), 1);
    EXPECT_EQ(Ok(d)->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(d.findChild<QLineEdit*>()->alignment() & Qt::AlignRight);

    const QImage shot = Snapshot(d);
    EXPECT_EQ(PixelAt(shot, 2, 148), PaletteColor(Colour::Blue));
    EXPECT_GT(CountColour(shot, L::kText, PaletteColor(Colour::White)), 300);
    EXPECT_GT(CountColour(shot, L::kLabel, PaletteColor(Colour::Yellow)), 500);
}

}  // namespace
