// Every dialog under a dark desktop colour scheme: the text of each button and label keeps at least
// 4.5:1 contrast with what lies behind it, measured on the pixels shown, and so do the manual's links on
// its white page; and no window opens larger than the screen's free area.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>

#include "gamble/BoardWindow.h"
#include "gamble/PayoffsWindow.h"
#include "info/AboutBox.h"
#include "info/ManualViewer.h"
#include "art/DataPaths.h"
#include "info/PayChartWindow.h"
#include "info/StatisticsWindow.h"
#include "dialogs/LoadSaveDialog.h"
#include "ProfileFile.h"
#include "support/Scripted.h"
#include "support/WindowTesting.h"
#include "support/WindowParts.h"
#include "dialogs/BannerTextDialog.h"
#include "art/Graphics.h"
#include "sound/Sound.h"
#include "dialogs/WinStopDialog.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

double Luminance(QRgb c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of a control's text: the commonest colour inside it is taken as the background, and the
// colour furthest from it as the ink of the text.
double TextContrast(const QImage& shot, QRect area) {
    area = area.adjusted(3, 3, -3, -3).intersected(shot.rect());
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ++counts[shot.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (const auto& [colour, n] : counts)
        if (n > most) most = n, background = colour;
    double best = 1.0;
    for (const auto& [colour, n] : counts) best = std::max(best, Contrast(colour, background));
    return best;
}

QPalette DarkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    p.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::ToolTipBase, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::ToolTipText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    p.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
    p.setColor(QPalette::Mid, QColor(0x25, 0x25, 0x25));
    p.setColor(QPalette::Dark, QColor(0x15, 0x15, 0x15));
    p.setColor(QPalette::Shadow, Qt::black);
    // A dark scheme's links are a light, mid blue: on the manual's white page it fades.
    p.setColor(QPalette::Link, QColor(0x2a, 0x82, 0xda));
    p.setColor(QPalette::LinkVisited, QColor(0xa7, 0x70, 0xef));
    return p;
}

struct FixedMenus : MenuSelections {
    int SpeedIndex() const override { return 1; }
    int BannerIndex() const override { return 0; }
    void SetSpinSpeed(int) override {}
    void SetBanner(int) override {}
};

class DarkPaletteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        App();
        graphics = &TestGraphics();
        sound = &TestSound();
    }
    void SetUp() override {
        light = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        // A win on lines 1 and 4 and a pool row, for the Payoffs window.
        table.s().LinePay[0] = 5;
        table.s().LinePay[3] = 10;
        table.s().LineCoins[0] = table.s().LineCoins[3] = 1;
        table.s().SpinWin = 3.75f;
    }
    void TearDown() override { QApplication::setPalette(light); }

    // Shows the window, then checks every button and label that carries text.
    void ExpectReadable(QWidget& window, const char* what) {
        window.show();
        QApplication::processEvents();
        const QImage shot = Snapshot(window);
        int checked = 0;
        for (QWidget* w : window.findChildren<QWidget*>()) {
            QString text;
            if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
            else if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
            if (text.trimmed().isEmpty() || !w->isVisible()) continue;
            const QRect area(w->mapTo(&window, QPoint(0, 0)), w->size());
            EXPECT_GE(TextContrast(shot, area), 4.5) << what << ": \"" << text.toStdString() << "\"";
            ++checked;
        }
        EXPECT_GT(checked, 0) << what;
        const QRect free = window.screen()->availableGeometry();
        EXPECT_TRUE(free.contains(window.frameGeometry())) << what << " runs off the screen";
        window.close();
    }

    static inline ui::Graphics* graphics = nullptr;
    static inline ui::Sound* sound = nullptr;
    QPalette light;
    Table table;
    FixedMenus menus;
};

}  // namespace

TEST_F(DarkPaletteTest, LoadAndSaveDialogsKeepTheirTextReadable) {
    QTemporaryDir dir;
    ProfileFile file(dir.filePath(QStringLiteral("KAZO.INI")));
    EnsureSettingsFile(file);
    LoadSaveDialog load(LoadSaveDialog::Mode::Load, file, table.game, menus);
    ExpectReadable(load, "Load");
    LoadSaveDialog save(LoadSaveDialog::Mode::Save, file, table.game, menus);
    save.SlotButton(2)->click();  // shows the name label and field
    ExpectReadable(save, "Save");
}

TEST_F(DarkPaletteTest, PayoffsAndBoardKeepTheirTextReadable) {
    ui::PayoffsWindow payoffs(table.game, *graphics, 2, *sound, table.random);
    ExpectReadable(payoffs, "Payoffs");
    ui::BoardWindow board(table.game, *graphics, *sound, table.random);
    ExpectReadable(board, "Board");
}

TEST_F(DarkPaletteTest, InformationWindowsKeepTheirTextReadable) {
    ui::AboutBox about(graphics->Icon());
    ExpectReadable(about, "About");
    ui::PayChartWindow chart(*graphics);
    ExpectReadable(chart, "Pay chart");
    ui::StatisticsWindow statistics(table.s());
    ExpectReadable(statistics, "Statistics");
    ui::ManualViewer manual;
    manual.setAttribute(Qt::WA_DeleteOnClose, false);
    ExpectReadable(manual, "Manual");
}

TEST_F(DarkPaletteTest, SmallDialogsAndMessagesKeepTheirTextReadable) {
    ui::WinStopDialog winStop;
    ExpectReadable(winStop, "Win Stop");
    ui::BannerTextDialog banner(QStringLiteral("Welcome"));
    ExpectReadable(banner, "Banner Text");
    QMessageBox message(QMessageBox::Warning, QStringLiteral("Kazoomba"), QStringLiteral("You are out of credits."),
                        QMessageBox::Ok);
    ExpectReadable(message, "Message");
}

// The manual's links as the eye sees them on the contents page and on a page with links in its text and
// its "Contents" trail: the contrast of each link's ink with the page around it. Links that wrap are left
// out; each of the others is measured over its own stretch of its line.
TEST_F(DarkPaletteTest, TheManualsLinksStandOutFromItsWhitePage) {
    ui::ManualViewer manual;
    manual.setAttribute(Qt::WA_DeleteOnClose, false);
    manual.show();
    QTextBrowser& page = *manual.browser();
    for (const QString& name : {QStringLiteral("index.html"), QStringLiteral("gamble.html")}) {
        page.setSource(QUrl::fromLocalFile(ui::ManualPath(name)));
        QApplication::processEvents();
        const QImage shot = Snapshot(manual);
        const QRect shown(page.viewport()->mapTo(&manual, QPoint(0, 0)), page.viewport()->size());
        int measured = 0;
        for (QTextBlock block = page.document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment link = it.fragment();
                if (link.charFormat().anchorHref().isEmpty()) continue;
                QTextCursor first(page.document()), last(page.document());
                first.setPosition(link.position());
                last.setPosition(link.position() + link.length());
                const QRect from = page.cursorRect(first), to = page.cursorRect(last);
                if (from.top() != to.top()) continue;
                const QRect area =
                    QRect(from.topLeft(), to.bottomLeft()).adjusted(2, 0, -2, 0).translated(shown.topLeft());
                if (!shown.contains(area)) continue;
                const double contrast = TextContrast(shot, area);
                EXPECT_GE(contrast, 4.5) << name.toStdString() << ": link \"" << link.text().toStdString()
                                         << "\" reads " << contrast << ":1";
                ++measured;
            }
        }
        EXPECT_GT(measured, 0) << name.toStdString() << " shows its links";
    }
}

// The manual asks for a generous window, but never more than the screen has free.
TEST_F(DarkPaletteTest, TheManualOpensWithinTheScreensFreeArea) {
    ui::ManualViewer manual;
    manual.setAttribute(Qt::WA_DeleteOnClose, false);
    manual.show();
    const QRect free = manual.screen()->availableGeometry();
    EXPECT_LE(manual.width(), free.width() * 9 / 10);
    EXPECT_LE(manual.height(), free.height() * 9 / 10);
    EXPECT_TRUE(free.contains(manual.frameGeometry()));
}
