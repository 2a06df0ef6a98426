// kazoomba-artsheet: renders all the game's SVG art into one labelled contact-sheet PNG.
#include <QDir>
#include <QFontMetrics>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Tile {
    QString label;
    QImage image;
};

struct Section {
    QString title;
    std::vector<Tile> tiles;
};

QImage RenderSvg(const QString& path, double scale, const QColor& background, QSize size = {}) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        QTextStream(stderr) << "kazoomba-artsheet: cannot read " << path << '\n';
        return {};
    }
    if (size.isEmpty()) size = renderer.defaultSize();
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The symbols put together the way the game builds its symbol sheets: four to a row,
// code order, on white at 64 pixels and on black at 32.
QImage SymbolSheet(const QStringList& files, int cell, const QColor& background, double scale) {
    QImage sheet(QSize(4 * cell, 3 * cell) * scale, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(background);
    QPainter painter(&sheet);
    for (int code = 0; code < files.size() && code < 12; ++code) {
        QSvgRenderer renderer(files[code]);
        renderer.render(&painter,
                        QRectF((code % 4) * cell * scale, (code / 4) * cell * scale, cell * scale, cell * scale));
    }
    return sheet;
}

// A checkerboard shows which parts of a picture are transparent.
QImage OnChecker(const QImage& picture, double scale) {
    QImage out(picture.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&out);
    const int square = static_cast<int>(8 * scale);
    for (int y = 0; y < out.height(); y += square)
        for (int x = 0; x < out.width(); x += square)
            painter.fillRect(x, y, square, square,
                             ((x + y) / square) % 2 ? QColor(0xcc, 0xcc, 0xcc) : QColor(0xff, 0xff, 0xff));
    painter.drawImage(0, 0, picture);
    return out;
}

// Numbers put together from the digit picture the way the displays copy glyphs: 16 pixels
// wide from the glyph's x, the pen moving on 16 for a figure or a blank and 6 for "." and ":".
// Shows at a glance whether the point and colon sit right and whether anything overdraws.
QImage DigitsPreview(const QString& path, double scale) {
    const QImage digits = RenderSvg(path, scale, Qt::black);
    if (digits.isNull()) return {};
    const QString samples[] = {"  01234.50", "12:05", "9876543.21"};
    const int row_height = 21;
    int width = 4;
    for (const QString& text : samples) {
        for (const QChar c : text) width += (c == '.' || c == ':') ? 6 : 16;
        width += 24;
    }
    QImage out(QSize(width, 7 * (row_height + 4)) * scale, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::black);
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int colour = 0; colour < 7; ++colour) {
        int x = 4;
        const int y = colour * (row_height + 4) + 2;
        for (const QString& text : samples) {
            for (const QChar c : text) {
                int source_x = 160;
                int advance = 16;
                if (c == '.') {
                    source_x = 176;
                    advance = 6;
                } else if (c == ':') {
                    source_x = 182;
                    advance = 6;
                } else if (c.isDigit()) {
                    source_x = 16 * c.digitValue();
                }
                // The picture ends at 188, so a copy from the point or the colon is cut short there.
                const int width = std::min(16, digits.width() / static_cast<int>(scale) - source_x);
                painter.drawImage(
                    QRectF(x * scale, y * scale, width * scale, row_height * scale), digits,
                    QRectF(source_x * scale, colour * row_height * scale, width * scale, row_height * scale));
                x += advance;
            }
            x += 24;
        }
    }
    return out;
}

QStringList SvgFiles(const QDir& dir) {
    QStringList files;
    for (const QFileInfo& info : dir.entryInfoList({"*.svg"}, QDir::Files, QDir::Name)) files << info.filePath();
    return files;
}

QImage Layout(const std::vector<Section>& sections, double scale) {
    const int margin = static_cast<int>(12 * scale);
    const int gap = static_cast<int>(14 * scale);
    const int width = static_cast<int>(980 * scale);
    QFont title_font("DejaVu Sans");
    title_font.setBold(true);
    title_font.setPixelSize(static_cast<int>(15 * scale));
    QFont label_font("DejaVu Sans");
    label_font.setPixelSize(static_cast<int>(10 * scale));
    const int title_height = static_cast<int>(22 * scale);
    const int label_height = static_cast<int>(14 * scale);

    // First pass measures, second pass paints.
    auto place = [&](QPainter* painter) {
        int y = margin;
        for (const Section& section : sections) {
            if (painter) {
                painter->setFont(title_font);
                painter->setPen(Qt::black);
                painter->drawText(QRect(margin, y, width - 2 * margin, title_height), Qt::AlignLeft | Qt::AlignVCenter,
                                  section.title);
            }
            y += title_height;
            int x = margin;
            int row_height = 0;
            for (const Tile& tile : section.tiles) {
                const int tile_width =
                    std::max(tile.image.width(), QFontMetrics(label_font).horizontalAdvance(tile.label));
                if (x > margin && x + tile_width > width - margin) {
                    x = margin;
                    y += row_height + gap;
                    row_height = 0;
                }
                if (painter) {
                    painter->setFont(label_font);
                    painter->setPen(QColor(0x20, 0x20, 0x20));
                    painter->drawText(QRect(x, y, tile_width + gap, label_height), Qt::AlignLeft | Qt::AlignVCenter,
                                      tile.label);
                    painter->drawImage(x, y + label_height, tile.image);
                }
                row_height = std::max(row_height, label_height + tile.image.height());
                x += tile_width + gap;
            }
            y += row_height + gap;
        }
        return y + margin;
    };

    QImage sheet(width, place(nullptr), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xc0, 0xc0, 0xc0));
    QPainter painter(&sheet);
    place(&painter);
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3 || argc > 4) {
        QTextStream(stderr) << "usage: kazoomba-artsheet ART_DIR OUT.png [SCALE]\n";
        return 2;
    }
    const QDir art(QString::fromLocal8Bit(argv[1]));
    const QString out_path = QString::fromLocal8Bit(argv[2]);
    const double scale = argc == 4 ? QString::fromLocal8Bit(argv[3]).toDouble() : 1.0;
    if (scale <= 0.0 || scale > 8.0) {
        QTextStream(stderr) << "kazoomba-artsheet: SCALE must be between 0 and 8\n";
        return 2;
    }

    std::vector<Section> sections;
    const QStringList symbols = SvgFiles(QDir(art.filePath("symbols")));
    if (!symbols.isEmpty()) {
        sections.push_back({"Symbol sheets as the game builds them",
                            {{"64 px on white", SymbolSheet(symbols, 64, Qt::white, scale)},
                             {"32 px on black", SymbolSheet(symbols, 32, Qt::black, scale)}}});
        Section each{"Symbols (transparent shown as checkerboard)", {}};
        for (const QString& file : symbols)
            each.tiles.push_back(
                {QFileInfo(file).fileName(), OnChecker(RenderSvg(file, scale, Qt::transparent), scale)});
        sections.push_back(std::move(each));
    }
    const QStringList buttons = SvgFiles(QDir(art.filePath("buttons")));
    if (!buttons.isEmpty()) {
        Section section{"Buttons: raised, pressed, disabled", {}};
        for (const QString& file : buttons)
            section.tiles.push_back({QFileInfo(file).fileName(), RenderSvg(file, scale, Qt::black)});
        sections.push_back(std::move(section));
    }
    Section others{"Digits, coins, logo, icon and the rest (on black)", {}};
    for (const QString& file : SvgFiles(art))
        others.tiles.push_back({QFileInfo(file).fileName(), RenderSvg(file, scale, Qt::black)});
    if (!others.tiles.empty()) sections.push_back(std::move(others));
    Section previews{"Previews", {}};
    if (art.exists("digits.svg"))
        previews.tiles.push_back(
            {"digits as the displays copy them", DigitsPreview(art.filePath("digits.svg"), scale)});
    if (art.exists("icon.svg")) {
        const QSize big(128, 128);
        previews.tiles.push_back({"icon.svg at 128 px", RenderSvg(art.filePath("icon.svg"), scale, Qt::white, big)});
    }
    if (!previews.tiles.empty()) sections.push_back(std::move(previews));

    if (sections.empty()) {
        QTextStream(stderr) << "kazoomba-artsheet: no SVG files under " << art.path() << '\n';
        return 1;
    }
    if (!Layout(sections, scale).save(out_path)) {
        QTextStream(stderr) << "kazoomba-artsheet: cannot write " << out_path << '\n';
        return 1;
    }
    return 0;
}
