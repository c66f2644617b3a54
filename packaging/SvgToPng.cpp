// Draws an SVG picture into a square PNG of the given size: the installed program's icon in the
// sizes the desktop's icon theme asks for, made from the one picture the window shows.

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (arguments.size() != 4) {
        err << "usage: talvex_svg_to_png SVG SIZE PNG\n";
        return 2;
    }
    const QString svgPath = arguments.at(1);
    bool sizeOk = false;
    const int size = arguments.at(2).toInt(&sizeOk);
    const QString pngPath = arguments.at(3);
    if (!sizeOk || size <= 0 || size > 4096) {
        err << "talvex_svg_to_png: " << arguments.at(2) << " is not a size in pixels\n";
        return 2;
    }
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) {
        err << "talvex_svg_to_png: " << svgPath << " is not a picture that can be drawn\n";
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
    }
    if (!image.save(pngPath, "PNG")) {
        err << "talvex_svg_to_png: " << pngPath << " cannot be written\n";
        return 1;
    }
    return 0;
}
