// Where a window goes: a restored one into the free area that holds its title bar, whole when it fits; a
// new one centred on the free area of its screen, and cut down to it where it is larger.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

#include "dialogs/Placement.h"
#include "support/QtApp.h"

using kazoomba::ui::CentreOnScreen;
using kazoomba::ui::FitFrameInAreas;
using kazoomba::ui::FitOnScreen;

TEST(Placement, ARestoredFrameIsBroughtInsideTheFreeAreaOfItsScreen) {
    const QList<QRect> one{QRect(0, 32, 1366, 736)};  // 1366 x 768 less a 32-pixel top panel
    // Where it fits, it stays.
    EXPECT_EQ(FitFrameInAreas(QRect(100, 200, 617, 500), 20, one), QPoint(100, 200));
    // A title bar under the top panel comes down below it.
    EXPECT_EQ(FitFrameInAreas(QRect(100, 10, 617, 500), 20, one), QPoint(100, 32));
    // A title bar above the screen, or a window whose bottom would hang below it, comes inside.
    EXPECT_EQ(FitFrameInAreas(QRect(100, -40, 617, 500), 20, one), QPoint(100, 32));
    EXPECT_EQ(FitFrameInAreas(QRect(900, 600, 617, 500), 20, one), QPoint(1366 - 617, 768 - 500));
    // Saved at one scale and opened at a larger one: taller than the free area, its top left stays in it.
    EXPECT_EQ(FitFrameInAreas(QRect(50, 300, 1250, 1000), 40, one), QPoint(50, 32));
}

TEST(Placement, AFrameOnAScreenThatHasGoneComesToTheNearestOne) {
    const QList<QRect> two{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(FitFrameInAreas(QRect(2000, 100, 617, 500), 20, two), QPoint(2000, 100));  // on the second
    EXPECT_EQ(FitFrameInAreas(QRect(3500, 100, 617, 500), 20, two), QPoint(3200 - 617, 100));
    EXPECT_EQ(FitFrameInAreas(QRect(-900, -700, 617, 500), 20, two), QPoint(0, 0));
    EXPECT_EQ(FitFrameInAreas(QRect(5, 5, 617, 500), 20, {}), QPoint(5, 5));
}

// A window taller (or wider) than the free area cannot be centred on it: it is centred across what it can
// be, and its top left stays inside, so its title bar can be reached. A window given its preferred size is
// cut down to nine tenths of the free area and centred there.
TEST(Placement, AWindowLargerThanTheFreeAreaIsCentredWithItsTopLeftInsideAndFittedToIt) {
    kazoomba::testing::App();
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_FALSE(free.isEmpty());

    QWidget tall;
    tall.resize(free.width() / 2, free.height() + 200);
    CentreOnScreen(tall, nullptr);
    EXPECT_EQ(tall.pos(), QPoint(free.x() + (free.width() - tall.width()) / 2, free.y()));

    QWidget huge;
    huge.resize(free.width() + 300, free.height() + 200);
    CentreOnScreen(huge, nullptr);
    EXPECT_EQ(huge.pos(), free.topLeft());

    QWidget fitted;
    FitOnScreen(fitted, QSize(free.width() * 2, free.height() * 3), nullptr);
    EXPECT_EQ(fitted.size(), free.size() * 9 / 10);
    EXPECT_EQ(fitted.pos(), QPoint(free.x() + (free.width() - fitted.width()) / 2,
                                   free.y() + (free.height() - fitted.height()) / 2));
    EXPECT_TRUE(free.contains(fitted.geometry()));

    // Only the side that is too large is cut.
    QWidget wide;
    FitOnScreen(wide, QSize(free.width() * 2, 200), nullptr);
    EXPECT_EQ(wide.size(), QSize(free.width() * 9 / 10, 200));
    EXPECT_EQ(wide.y(), free.y() + (free.height() - 200) / 2);
}

// A window that takes its size from its contents has the size every widget has until it first shows: the
// place it is restored to is fitted with the size it will show at, so one flush against the screen's edge
// stays there.
TEST(Placement, AWindowSizedByItsContentsIsFittedAtTheSizeItWillShow) {
    kazoomba::testing::App();
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    QMainWindow window;
    auto* contents = new QWidget;
    contents->setFixedSize(free.width() / 2 + 40, free.height() / 2);
    window.setCentralWidget(contents);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    const QPoint flushRight(free.right() + 1 - contents->width(), free.y() + 10);
    kazoomba::ui::PlaceFrameAt(window, flushRight);
    EXPECT_EQ(window.pos(), flushRight);
    EXPECT_EQ(window.size(), contents->size());
}
