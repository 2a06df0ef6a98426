// The about box: caption, icons, title size rule, the description and the Program button.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "info/AboutBox.h"
#include "support/WindowTesting.h"
#include "support/WindowParts.h"
#include "art/Graphics.h"

using namespace kazoomba::testing;
using kazoomba::ui::AboutBox;

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        App();
        graphics = &TestGraphics();
    }
    static inline kazoomba::ui::Graphics* graphics = nullptr;
};

QPushButton* Button(QWidget& box, const QString& text) {
    for (auto* b : box.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace

TEST_F(AboutBoxTest, OpensFromTheMenuWithTheGamesTitleIconsAndDescription) {
    bool looked = false;
    WhenModalOpens([&](QWidget* modal) {
        looked = true;
        EXPECT_EQ(modal->windowTitle(), "About Kazoomba Video Slots");
        EXPECT_EQ(modal->size(), QSize(436, 313));
        auto* title = modal->findChild<QLabel*>(QStringLiteral("Title"));
        EXPECT_EQ(title->text(), "Kazoomba v4.7");
        EXPECT_EQ(title->font().pixelSize(), 16);
        EXPECT_TRUE(title->font().bold());
        EXPECT_EQ(title->mapTo(modal, QPoint(0, 0)), QPoint(48, 24));

        const QImage shot = Snapshot(*modal);
        const QImage icon = graphics->Icon().convertToFormat(QImage::Format_RGB32);
        for (QPoint at : {QPoint(16, 24), QPoint(280, 24)}) {
            // Where the icon is opaque the picture shows it exactly; elsewhere the box shows through.
            int opaque = 0, same = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (qAlpha(graphics->Icon().pixel(x, y)) == 255) {
                        ++opaque;
                        same += shot.pixel(at.x() + x, at.y() + y) == icon.pixel(x, y);
                    }
            EXPECT_GT(opaque, 0);
            EXPECT_EQ(same, opaque) << at.x();
        }
        // White words on dark cyan in the text box.
        EXPECT_EQ(PixelAt(shot, 300, 285), QColor(0, 128, 128));
        EXPECT_GT(CountColour(shot, QRect(16, 72, 297, 225), Qt::white), 300);
        auto* text = modal->findChild<QTextEdit*>();
        EXPECT_EQ(text->toPlainText(), AboutBox::Description());
        EXPECT_EQ(text->mapTo(modal, QPoint(0, 0)), QPoint(16, 72));
        EXPECT_EQ(Button(*modal, "&Program")->mapTo(modal, QPoint(0, 0)), QPoint(336, 40));
        QTest::mouseClick(Button(*modal, "&OK"), Qt::LeftButton);
    });
    kazoomba::ui::ShowAbout(*graphics, nullptr);
    EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_TRUE(looked);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AboutBoxTest, ProgramRestoresTheDescriptionAfterThePlayerEditedIt) {
    AboutBox box(graphics->Icon());
    box.show();
    auto* text = box.findChild<QTextEdit*>();
    text->setFocus();
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(text, "scribbles");
    ASSERT_EQ(text->toPlainText(), "scribbles");
    QTest::mouseClick(Button(box, "&Program"), Qt::LeftButton);
    EXPECT_EQ(text->toPlainText(), AboutBox::Description());
}

TEST_F(AboutBoxTest, ATitleLongerThanTwentyCharactersDropsToEightPoints) {
    EXPECT_EQ(AboutBox::TitlePoints("Kazoomba v4.7"), 12.0);
    EXPECT_EQ(AboutBox::TitlePoints("Fifteen Letters v4.7"), 12.0);   // 20 characters
    EXPECT_EQ(AboutBox::TitlePoints("Sixteen Letters! v4.7"), 8.0);   // 21
    EXPECT_EQ(AboutBox::TitlePoints("  Fifteen Letters v4.7  "), 12.0);
    AboutBox box(graphics->Icon(), nullptr, "Kazoomba Deluxe!", "v4.7");
    auto* title = box.findChild<QLabel*>(QStringLiteral("Title"));
    EXPECT_EQ(title->text(), "Kazoomba Deluxe! v4.7");
    EXPECT_EQ(title->font().pixelSize(), 11);
}

// Tab in the description moves on to the buttons instead of typing a tab.
TEST_F(AboutBoxTest, TabLeavesTheDescription) {
    AboutBox box(graphics->Icon());
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    auto* text = box.findChild<QTextEdit*>();
    ASSERT_NE(text, nullptr);
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Tab);
    EXPECT_FALSE(text->hasFocus());
    EXPECT_EQ(text->toPlainText(), AboutBox::Description());
}

// OK has the keyboard as the box opens, so a screen reader names the box and reads its description: the
// title and what the game is, not just "OK".
TEST_F(AboutBoxTest, AScreenReaderHearsTheTitleAndTheDescriptionAsTheBoxOpens) {
    bool looked = false;
    WhenModalOpens([&](QWidget* modal) {
        looked = true;
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->role(), QAccessible::Dialog);
        const QString heard = box->text(QAccessible::Description);
        EXPECT_TRUE(heard.startsWith("Kazoomba v4.7. Kazoomba is not your grandmother's slot machine!"))
            << heard.toStdString();
        EXPECT_TRUE(heard.contains("may the FULMINA light up your lines.")) << heard.toStdString();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    kazoomba::ui::ShowAbout(*graphics, nullptr);
    EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_TRUE(looked);
}
