#include "ui/AppIcon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#ifdef KORVEX_HAVE_QTSVG
#include <QSvgRenderer>
#endif

namespace korvex {

QIcon appIcon() {
#ifdef KORVEX_HAVE_QTSVG
    // Drawn once per size, so every size is sharp and no icon-engine plugin
    // is needed at run time.
    QSvgRenderer renderer(QStringLiteral(":/icons/korvex.svg"));
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
    // Built without Qt SVG: the same drawing at the sizes scripts/icon keeps
    // in korvex.ico (the executables' own icon), all of which QIcon reads
    // through Qt's ICO plugin.
    return QIcon(QStringLiteral(":/icons/korvex.ico"));
#endif
}

}  // namespace korvex
