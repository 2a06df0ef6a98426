// Checks the game's SVG pictures: each exists, parses, has its fixed pixel size, and keeps the layout the drawing code relies on.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

QString ArtPath(const QString& relative) { return QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/art/") + relative; }

QImage Render(const QString& relative, double scale = 1.0, QColor background = Qt::transparent) {
    QSvgRenderer renderer(ArtPath(relative));
    QImage image(renderer.defaultSize() * scale, QImage::Format_ARGB32);
    image.fill(background);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

int Brightness(QRgb c) { return std::max({qRed(c), qGreen(c), qBlue(c)}); }

struct Picture {
    const char* file;
    int width;
    int height;
};

const std::vector<Picture>& AllPictures() {
    static const std::vector<Picture> pictures = {
        {"symbols/00-fulmina.svg", 64, 64},
        {"symbols/01-target.svg", 64, 64},
        {"symbols/02-globe.svg", 64, 64},
        {"symbols/03-flag.svg", 64, 64},
        {"symbols/04-starmap.svg", 64, 64},
        {"symbols/05-smile.svg", 64, 64},
        {"symbols/06-dontwalk.svg", 64, 64},
        {"symbols/07-triplebar.svg", 64, 64},
        {"symbols/08-doublebar.svg", 64, 64},
        {"symbols/09-singlebar.svg", 64, 64},
        {"symbols/10-anybar.svg", 64, 64},
        {"symbols/11-stop.svg", 64, 64},
        {"digits.svg", 188, 147},
        {"coins.svg", 62, 105},
        {"buttons/spin-0.svg", 127, 75},
        {"buttons/spin-1.svg", 127, 75},
        {"buttons/spin-2.svg", 127, 75},
        {"buttons/bet1-0.svg", 127, 75},
        {"buttons/bet1-1.svg", 127, 75},
        {"buttons/bet1-2.svg", 127, 75},
        {"buttons/bet8-0.svg", 127, 75},
        {"buttons/bet8-1.svg", 127, 75},
        {"buttons/bet8-2.svg", 127, 75},
        {"logo.svg", 107, 118},
        {"icon.svg", 32, 32},
        {"blankspace.svg", 32, 32},
        {"toilet.svg", 32, 32},
    };
    return pictures;
}

TEST(ArtFiles, EveryPictureParsesWithItsExactSizeAndMatchingViewBox) {
    for (const Picture& p : AllPictures()) {
        SCOPED_TRACE(p.file);
        QSvgRenderer renderer(ArtPath(p.file));
        ASSERT_TRUE(renderer.isValid());
        EXPECT_EQ(renderer.defaultSize(), QSize(p.width, p.height));
        EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, p.width, p.height));
    }
}

// The drawing code and anyone restyling the art find parts by id, so ids are unique and every
// reference to one (gradients, reused shapes) points at something that exists.
TEST(ArtFiles, IdsAreUniqueAndEveryReferenceResolves) {
    const QRegularExpression paint_reference(QStringLiteral("url\\(#([^)]+)\\)"));
    for (const Picture& p : AllPictures()) {
        SCOPED_TRACE(p.file);
        QFile file(ArtPath(p.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        std::set<QString> ids;
        std::vector<QString> wanted;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == QLatin1String("id")) {
                    EXPECT_TRUE(ids.insert(attribute.value().toString()).second)
                        << attribute.value().toString().toStdString();
                    continue;
                }
                const QString value = attribute.value().toString();
                if (attribute.name() == QLatin1String("href") && value.startsWith('#')) wanted.push_back(value.mid(1));
                auto match = paint_reference.globalMatch(value);
                while (match.hasNext()) wanted.push_back(match.next().captured(1));
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        for (const QString& id : wanted) EXPECT_TRUE(ids.count(id)) << "dangling reference to #" << id.toStdString();
    }
}

TEST(ArtFiles, NoPictureIsLeftOutOfTheList) {
    std::set<std::string> listed;
    for (const Picture& p : AllPictures()) listed.insert(p.file);
    const QDir root(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/art"));
    for (const QString& folder : {QString(), QStringLiteral("symbols"), QStringLiteral("buttons")}) {
        const QDir dir(root.filePath(folder));
        for (const QString& name : dir.entryList({"*.svg"}, QDir::Files)) {
            const QString relative = folder.isEmpty() ? name : folder + '/' + name;
            EXPECT_TRUE(listed.count(relative.toStdString())) << relative.toStdString();
        }
    }
}

// The symbol sheets are white at 64 pixels and black at 32, so a symbol must bring no background of its own.
TEST(ArtFiles, SymbolsHaveTransparentCornersAndSolidMiddles) {
    for (const Picture& p : AllPictures()) {
        if (std::string(p.file).rfind("symbols/", 0) != 0) continue;
        SCOPED_TRACE(p.file);
        const QImage image = Render(p.file);
        for (QPoint corner : {QPoint(0, 0), QPoint(63, 0), QPoint(0, 63), QPoint(63, 63)})
            EXPECT_EQ(qAlpha(image.pixel(corner)), 0);
        int opaque = 0;
        for (int y = 16; y < 48; ++y)
            for (int x = 16; x < 48; ++x) opaque += qAlpha(image.pixel(x, y)) == 255;
        EXPECT_GT(opaque, 32 * 32 / 2);
    }
}

TEST(ArtFiles, BlankSpaceIsSolidBlack) {
    const QImage image = Render("blankspace.svg", 1.0, Qt::white);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(image.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
}

// Glyphs are copied 16 x 21 and laid side by side: nothing may spill past a cell, and the
// point and colon must keep to the 6 pixels the pen moves on after them.
TEST(DigitsPicture, GlyphsStayInsideTheirCells) {
    const QImage image = Render("digits.svg", 1.0, Qt::magenta);
    for (int row = 0; row < 7; ++row) {
        const int top = 21 * row;
        for (int x = 0; x < 188; ++x) {
            SCOPED_TRACE(testing::Message() << "row " << row << " x " << x);
            EXPECT_EQ(image.pixel(x, top), qRgb(0, 0, 0));
            EXPECT_EQ(image.pixel(x, top + 20), qRgb(0, 0, 0));
        }
        for (int y = top; y < top + 21; ++y) {
            for (int cell = 0; cell <= 10; ++cell) {
                EXPECT_EQ(image.pixel(16 * cell, y), qRgb(0, 0, 0)) << "cell " << cell << " y " << y;
                EXPECT_EQ(image.pixel(16 * cell + 15, y), qRgb(0, 0, 0)) << "cell " << cell << " y " << y;
            }
            for (int x : {176, 181, 182, 187}) EXPECT_EQ(image.pixel(x, y), qRgb(0, 0, 0)) << "x " << x << " y " << y;
        }
    }
}

TEST(DigitsPicture, PointSitsLowAndColonHasTwoDots) {
    const QImage image = Render("digits.svg");
    for (int row = 0; row < 7; ++row) {
        SCOPED_TRACE(row);
        const int top = 21 * row;
        auto lit_in = [&](int x0, int x1, int y0, int y1) {
            int lit = 0;
            for (int y = top + y0; y <= top + y1; ++y)
                for (int x = x0; x <= x1; ++x) lit += Brightness(image.pixel(x, y)) > 150;
            return lit;
        };
        EXPECT_GT(lit_in(177, 180, 15, 19), 0);  // point, on the baseline
        EXPECT_EQ(lit_in(177, 180, 1, 14), 0);
        EXPECT_GT(lit_in(183, 186, 4, 8), 0);    // colon, upper dot
        EXPECT_GT(lit_in(183, 186, 12, 16), 0);  // colon, lower dot
        EXPECT_EQ(lit_in(183, 186, 17, 19), 0);
    }
}

TEST(DigitsPicture, LitSegmentsOutshineTheirGhostsAndTheBlankCellIsDark) {
    const QImage image = Render("digits.svg");
    for (int row = 0; row < 7; ++row) {
        SCOPED_TRACE(row);
        const int y = 21 * row + 2;                                // through the top stroke
        const int lit = Brightness(image.pixel(16 * 8 + 8, y));    // "8": top stroke lit
        const int ghost = Brightness(image.pixel(16 * 1 + 8, y));  // "1": top stroke dark
        EXPECT_GT(lit, 200);
        EXPECT_GT(ghost, 0);
        EXPECT_LT(ghost * 3, lit);
        for (int x = 160; x < 176; ++x)
            for (int yy = 21 * row; yy < 21 * row + 21; ++yy) EXPECT_LE(Brightness(image.pixel(x, yy)), ghost + 8);
    }
}

TEST(CoinsPicture, EmptyCellIsARedCrossAndStacksGrowWithTheCount) {
    const QImage image = Render("coins.svg");
    auto count_pixels = [&](int n, auto predicate) {
        int count = 0;
        for (int y = 21 * (n % 5); y < 21 * (n % 5) + 21; ++y)
            for (int x = 31 * (n / 5); x < 31 * (n / 5) + 31; ++x) count += predicate(image.pixel(x, y));
        return count;
    };
    auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
    auto gold = [](QRgb c) { return qRed(c) > 150 && qGreen(c) > 100 && qBlue(c) < qGreen(c) - 40; };
    EXPECT_GT(count_pixels(0, red), 20);
    EXPECT_EQ(count_pixels(0, gold), 0);
    int previous = 0;
    for (int n = 1; n <= 9; ++n) {
        const int now = count_pixels(n, gold);
        EXPECT_GT(now, previous) << n;
        EXPECT_EQ(count_pixels(n, red), 0) << n;
        previous = now;
    }
}

TEST(ButtonPictures, RaisedPressedAndDisabledLookTheirPart) {
    for (const char* name : {"spin", "bet1", "bet8"}) {
        SCOPED_TRACE(name);
        const QImage raised = Render(QString("buttons/%1-0.svg").arg(name));
        const QImage pressed = Render(QString("buttons/%1-1.svg").arg(name));
        const QImage disabled = Render(QString("buttons/%1-2.svg").arg(name));
        // Light from the top left: the raised edge is white there, the sunken edge dark.
        EXPECT_EQ(raised.pixel(0, 0), qRgb(255, 255, 255));
        EXPECT_EQ(raised.pixel(126, 74), qRgb(0, 0, 0));
        EXPECT_LT(Brightness(pressed.pixel(1, 1)), 64);
        EXPECT_EQ(pressed.pixel(126, 74), qRgb(255, 255, 255));
        EXPECT_NE(raised.copy(2, 2, 123, 71), pressed.copy(2, 2, 123, 71));
        int saturated_raised = 0;
        int saturated_disabled = 0;
        for (int y = 0; y < 75; ++y) {
            for (int x = 0; x < 127; ++x) {
                const QColor a = QColor::fromRgb(raised.pixel(x, y));
                const QColor b = QColor::fromRgb(disabled.pixel(x, y));
                saturated_raised += a.hsvSaturation() > 100;
                saturated_disabled += b.hsvSaturation() > 24;
            }
        }
        EXPECT_GT(saturated_raised, 300);
        EXPECT_EQ(saturated_disabled, 0);
    }
}

}  // namespace
