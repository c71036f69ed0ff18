#include "ads/AdAssets.h"

#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library are registered by hand, outside any namespace.
static void registerAdResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(ads);
        return true;
    }();
    (void)done;
}

namespace adassets {
namespace {

QImage draw(const char* name, int width, int height)
{
    registerAdResources();
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer svg(QStringLiteral(":/ads/%1.svg").arg(QLatin1String(name)));
    QPainter painter(&image);
    svg.render(&painter, QRectF(0, 0, width, height));
    return image;
}

} // namespace

QImage reportLogo()
{
    static const QImage logo = draw("report_logo", 110, 110);
    return logo;
}

QImage viewerLogo()
{
    static const QImage logo = draw("logoQD", 137, 43);
    return logo;
}

QImage zoomIn()
{
    return draw("zoom_in", 25, 25);
}

QImage zoomOut()
{
    return draw("zoom_out", 25, 25);
}

} // namespace adassets
