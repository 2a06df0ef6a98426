// The image store, rendered from resources/art.
#include "art/Graphics.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

#include "art/DataPaths.h"
#include "art/Drawing.h"

namespace kazoomba::ui {

const std::array<const char*, 12>& SymbolFiles() {
    static const std::array<const char*, 12> files = {
        "symbols/00-fulmina.svg", "symbols/01-target.svg",    "symbols/02-globe.svg",
        "symbols/03-flag.svg",    "symbols/04-starmap.svg",   "symbols/05-smile.svg",
        "symbols/06-dontwalk.svg", "symbols/07-triplebar.svg", "symbols/08-doublebar.svg",
        "symbols/09-singlebar.svg", "symbols/10-anybar.svg",  "symbols/11-stop.svg",
    };
    return files;
}

QImage Graphics::NewImage(int w, int h, const QColor& fill) const {
    QImage image(qRound(w * ratio_), qRound(h * ratio_), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio_);
    image.fill(fill);
    return image;
}

bool Graphics::LoadArt(QSvgRenderer& renderer, const QString& file) {
    // Each file is looked for once, though a symbol is drawn into both sheets, and a file that is not there
    // is only named in the list, not also in a warning of the SVG module's.
    if (missing_.contains(file)) return false;
    const QString path = ArtPath(file);
    if (!QFileInfo::exists(path) || !renderer.load(path)) {
        missing_ << file;
        return false;
    }
    return true;
}

QImage Graphics::Render(const QString& file, int w, int h, const QColor& background) {
    QImage image = NewImage(w, h, background);
    QSvgRenderer renderer;
    if (!LoadArt(renderer, file)) return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&p, QRectF(0, 0, w, h));
    return image;
}

Graphics::Graphics(qreal devicePixelRatio) : ratio_(devicePixelRatio > 0 ? devicePixelRatio : 1.0) {
    sheetLarge_ = NewImage(256, 192, Qt::white);
    sheetSmall_ = NewImage(128, 96, Qt::black);
    for (int code = 0; code < kSymbolCount; ++code) {
        RenderSymbolInto(sheetLarge_, code, 64, Qt::white);
        RenderSymbolInto(sheetSmall_, code, 32, Qt::black);
    }
    // The point and colon glyphs are copied 16 wide from near the right edge, so the stored picture
    // is padded with black to 192 columns: such copies show black past the art.
    {
        QImage art = Render(QStringLiteral("digits.svg"), 188, 147, Qt::black);
        digits_ = NewImage(192, 147, Qt::black);
        QPainter p(&digits_);
        Blit(p, 0, 0, art, 0, 0, 188, 147);
    }
    coins_ = Render(QStringLiteral("coins.svg"), 62, 105, Qt::black);
    logo_ = Render(QStringLiteral("logo.svg"), 107, 118, Qt::black);
    icon_ = Render(QStringLiteral("icon.svg"), 32, 32);
    blank_ = NewImage(32, 32, Qt::black);
    toilet_ = Render(QStringLiteral("toilet.svg"), 32, 32, Qt::black);
    const char* names[3] = {"spin", "bet1", "bet8"};
    for (int b = 0; b < 3; ++b)
        for (int s = 0; s < 3; ++s)
            buttons_[b][s] = Render(QStringLiteral("buttons/%1-%2.svg").arg(QLatin1String(names[b])).arg(s), 127, 75,
                                    QColor(192, 192, 192));
    BuildSlotWheels(RegularStrips());
}

void Graphics::RenderSymbolInto(QImage& target, int code, int cell, const QColor& background) {
    QSvgRenderer renderer;
    if (!LoadArt(renderer, QLatin1String(SymbolFiles()[code]))) return;
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(cell * (code % 4), cell * (code / 4), cell, cell);
    p.fillRect(box, background);
    renderer.render(&p, box);
}

void Graphics::BuildSlotWheels(const StripSet& strips) {
    for (int i = 0; i < kStrips; ++i) slotWheel_[i] = StripPicture(strips[i]);
}

QImage Graphics::StripPicture(const std::array<kazoomba::Symbol, kStops>& strip) const {
    QImage wheel = NewImage(kStripWidth, kStripRows, Qt::white);
    QPainter p(&wheel);
    auto symbol = [&](kazoomba::Symbol code, int top, int rowsFromTop, int rows) {
        Blit(p, 0, top, sheetLarge_, 64 * (code % 4), 64 * (code / 4) + rowsFromTop, 64, rows);
    };
    symbol(strip[kStops - 1], 0, 32, 32);  // the lower half of stop 19 leads in
    for (int k = 0; k < kStops; ++k) symbol(strip[k], 34 + kStopPitch * k, 0, 64);
    symbol(strip[0], 1354, 0, 54);          // stop 0 again, cut by the picture's end
    return wheel;
}

}  // namespace kazoomba::ui
