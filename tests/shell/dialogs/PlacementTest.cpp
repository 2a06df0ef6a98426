// Where a restored window goes: into the free area that holds its title bar, whole when it fits.
#include <gtest/gtest.h>

#include "dialogs/Placement.h"

using kazoomba::ui::FitFrameInAreas;

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
