// A focused control can be seen: the Win Stop OK, the Load/Save slot 1 and the board's Quit each show a
// ring that stands out at least 3:1 from the face around it, and nothing when the focus is elsewhere.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "SavedGames.h"
#include "dialogs/LoadSaveDialog.h"
#include "dialogs/WinStopDialog.h"
#include "dialogs/WinStopLayout.h"
#include "support/QtApp.h"
#include "support/Scripted.h"
#include "support/WindowTesting.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

double Luminance(QColor c) {
    auto channel = [](double v) { v /= 255.0; return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}
double Contrast(QColor a, QColor b) {
    const double x = Luminance(a), y = Luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The best contrast, against the face just outside the ring, of a pixel that the focus changed in the
// band of `band` pixels round `control`; 0 when no pixel changed.
double RingContrast(QWidget& window, QWidget& control, QWidget& elsewhere, int band = 6) {
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    elsewhere.setFocus();
    QCoreApplication::processEvents();
    const QImage without = Snapshot(window);
    control.setFocus();
    QCoreApplication::processEvents();
    const QImage with = Snapshot(window);
    const QRect r(control.mapTo(&window, QPoint(0, 0)), control.size());
    const QColor face = PixelAt(without, r.left() - band - 2, r.center().y());
    double best = 0.0;
    for (int y = r.top() - band; y <= r.bottom() + band; ++y)
        for (int x = r.left() - band; x <= r.right() + band; ++x) {
            if (r.adjusted(1, 1, -1, -1).contains(x, y)) continue;
            if (with.pixel(x, y) != without.pixel(x, y)) best = std::max(best, Contrast(PixelAt(with, x, y), face));
        }
    return best;
}

struct Menus : MenuSelections {
    int SpeedIndex() const override { return 1; }
    int BannerIndex() const override { return 0; }
    void SetSpinSpeed(int) override {}
    void SetBanner(int) override {}
};

class FocusVisibleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { App(); }
};

}  // namespace

TEST_F(FocusVisibleTest, WinStopOkShowsARingOnTheBlueFace) {
    ui::WinStopDialog dialog;
    auto* ok = dialog.findChild<QPushButton*>();
    auto* entry = dialog.findChild<QLineEdit*>();
    ASSERT_TRUE(ok && entry);
    EXPECT_GE(RingContrast(dialog, *ok, *entry), 3.0);
}

TEST_F(FocusVisibleTest, LoadSlotOneShowsARingOnTheGreyFace) {
    QTemporaryDir dir;
    ProfileFile file(dir.filePath("KAZO.INI"));
    Table table;
    Menus menus;
    LoadSaveDialog dialog(LoadSaveDialog::Mode::Load, file, table.game, menus);
    QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    QPushButton* slot1 = nullptr;
    QPushButton* cancel = nullptr;
    for (QPushButton* b : buttons) {
        if (b->text() == "Game #1") slot1 = b;
        if (b->text() == "&Cancel") cancel = b;
    }
    ASSERT_TRUE(slot1 && cancel);
    EXPECT_GE(RingContrast(dialog, *slot1, *cancel), 3.0);
}

// The Win Stop entry and the Save name field are labelled by their captions for assistive technology.
TEST_F(FocusVisibleTest, EntriesAreLabelledByTheirCaptions) {
    ui::WinStopDialog dialog;
    auto* entry = dialog.findChild<QLineEdit*>();
    ASSERT_NE(entry, nullptr);
    const auto labels = QAccessible::queryAccessibleInterface(entry)->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first().first->text(QAccessible::Name), "Win Stop Value:");

    QTemporaryDir dir;
    ProfileFile file(dir.filePath("KAZO.INI"));
    Table table;
    Menus menus;
    LoadSaveDialog save(LoadSaveDialog::Mode::Save, file, table.game, menus);
    auto* name = save.findChild<QLineEdit*>();
    ASSERT_NE(name, nullptr);
    const auto nameLabels = QAccessible::queryAccessibleInterface(name)->relations(QAccessible::Label);
    ASSERT_EQ(nameLabels.size(), 1);
    EXPECT_EQ(nameLabels.first().first->text(QAccessible::Name), "Name of Game:");
}
