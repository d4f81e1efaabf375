#include "ui/AppIcon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#ifdef KORVEX_HAVE_QTSVG
#include <QSvgRenderer>
#endif

namespace korvex {

namespace {

QString iconFile() { return QStringLiteral(":/icons/korvex.svg"); }

}  // namespace

QIcon appIcon() {
#ifdef KORVEX_HAVE_QTSVG
    // Drawn once per size, so every size is sharp and no icon-engine plugin
    // is needed at run time.
    QSvgRenderer renderer(iconFile());
    if (!renderer.isValid()) return QIcon();
    QIcon icon;
    for (const int size : {16, 20, 24, 32, 40, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
#else
    // Built without Qt SVG: Qt's SVG icon engine draws it when installed.
    return QIcon(iconFile());
#endif
}

}  // namespace korvex
