// The banner marquee.
#include "art/Banner.h"

#include <QFontMetrics>
#include <QPainter>

#include "art/Drawing.h"
#include "art/Graphics.h"
#include "art/Palette.h"

namespace kazoomba::ui {

BannerMarquee::BannerMarquee(QImage& surface, const Graphics& graphics, std::function<void()> changed, QObject* parent)
    : QObject(parent), surface_(surface), graphics_(graphics), changed_(std::move(changed)) {
    timer_.setInterval(kFirstMs);
    connect(&timer_, &QTimer::timeout, this, &BannerMarquee::Tick);
}

void BannerMarquee::SetText(const QString& text) {
    text_ = text;
    built_ = false;
}

void BannerMarquee::StartBanner() { timer_.start(); }

void BannerMarquee::StopBanner() {
    timer_.stop();
    QPainter p(&surface_);
    for (int x = 0; x <= 640; x += 10) Blit(p, x, 0, graphics_.BlankSpace(), 0, 0, 10, 20);
    p.end();
    if (changed_) changed_();
}

void BannerMarquee::Clear() {
    if (!picture_.isNull()) picture_.fill(Qt::black);
}

void BannerMarquee::Render() {
    const QFont font = GameFont(10, true);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text_) + metrics.horizontalAdvance(QString(25, QLatin1Char(' ')));
    built_ = true;
    picture_ = graphics_.NewImage(qMax(width, 1), 20, Qt::black);
    QPainter p(&picture_);
    p.setFont(font);
    auto print = [&](int x, int y, Colour colour) {
        p.setPen(PaletteColor(colour));
        p.drawText(QRect(x, y, width + 20, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text_);
    };
    print(13, 3, Colour::Black);
    print(12, 2, Colour::Cyan);
}

void BannerMarquee::Tick() {
    if (!built_) {
        Render();
        timer_.setInterval(kStepMs);
    }
    const int w = PictureWidth();
    offset_ += kStep;
    if (offset_ >= w) offset_ -= w;
    if (offset_ >= w || offset_ < 0) offset_ = 0;  // a picture narrower than one step
    QPainter p(&surface_);
    if (offset_ + 640 <= w) {
        Blit(p, 0, 0, picture_, offset_, 0, 640, 20);
    } else {
        const int first = w - offset_;
        Blit(p, 0, 0, picture_, offset_, 0, first, 20);
        // The wrapped copy may reach past the picture's end; that part of the strip shows black.
        p.fillRect(QRect(first, 0, 640 - first, 20), Qt::black);
        Blit(p, first, 0, picture_, 0, 0, qMin(640 - first, w), 20);
    }
    p.end();
    if (changed_) changed_();
}

}  // namespace kazoomba::ui
