// kazoomba-iconrender: renders an SVG picture into a square PNG of the given size, transparent around it.
// Usage: kazoomba-iconrender ICON.svg SIZE OUT.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv) {
    QTextStream err(stderr);
    bool sized = false;
    const int size = argc == 4 ? QString::fromLocal8Bit(argv[2]).toInt(&sized) : 0;
    if (!sized || size < 1 || size > 4096) {
        err << "usage: kazoomba-iconrender ICON.svg SIZE OUT.png (SIZE in pixels, 1 to 4096)\n";
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        err << "kazoomba-iconrender: cannot read " << argv[1] << '\n';
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    // Straight alpha for the file: what every PNG reader expects.
    if (!image.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        err << "kazoomba-iconrender: cannot write " << argv[3] << '\n';
        return 1;
    }
    return 0;
}
