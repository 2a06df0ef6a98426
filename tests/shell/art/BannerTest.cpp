// The banner marquee at fractional scales: the whole text picture runs through the strip.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "art/Banner.h"
#include "art/Drawing.h"
#include "art/Graphics.h"
#include "support/QtApp.h"

using namespace kazoomba::ui;

namespace {

// Whether any pixel of the strip between window x from and to is the text's cyan.
bool CyanBetween(const QImage& surface, int from, int to) {
    const qreal r = surface.devicePixelRatio();
    for (int y = 0; y < surface.height(); ++y)
        for (int x = qRound(from * r); x < qRound(to * r) && x < surface.width(); ++x) {
            const QColor c = surface.pixelColor(x, y);
            if (c.red() < 90 && c.green() > 180 && c.blue() > 180) return true;
        }
    return false;
}

}  // namespace

TEST(BannerTest, TheWholeTextShowsAtFractionalScales) {
    kazoomba::testing::App();
    const QString text = QStringLiteral("Welcome to Kazoomba Video Slots!");
    const QFontMetrics metrics(GameFont(10, true));
    const int textWidth = metrics.horizontalAdvance(text);
    const int width = textWidth + metrics.horizontalAdvance(QString(25, QLatin1Char(' ')));
    const int lastMark = metrics.horizontalAdvance(text.chopped(1));
    for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        SCOPED_TRACE(ratio);
        Graphics graphics(ratio);
        QImage surface = graphics.NewImage(640, 20, Qt::black);
        BannerMarquee banner(surface, graphics, {});
        banner.SetText(text);
        banner.Tick();
        EXPECT_EQ(banner.PictureWidth(), width);
        // The first step shows the picture from x 10: the closing "!" is printed from x 12.
        EXPECT_TRUE(CyanBetween(surface, 12 + lastMark - 10, 12 + textWidth - 10 + 2)) << "the \"!\" is missing";
        // The marquee runs the whole width before it wraps.
        int furthest = 0;
        for (int i = 0; i < 200 && banner.Offset() >= furthest; ++i) {
            furthest = banner.Offset();
            banner.Tick();
        }
        EXPECT_GE(furthest, width - BannerMarquee::kStep);
    }
}
