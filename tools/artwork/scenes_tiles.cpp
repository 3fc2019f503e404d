// Answer tiles of the blue template and the countdown bar colours.

#include "artwork.h"
#include "gif.h"
#include "scenes_common.h"

#include <QLinearGradient>
#include <QPolygonF>

#include <cmath>

namespace {

using namespace scenes;

constexpr int kTileWidth = 550;
constexpr int kTileHeight = 180;
constexpr int kTallTileHeight = 212;
constexpr qreal kCorner = 18;
constexpr qreal kPoint = 46; // how far the arrow end reaches into the tile

// Polygon with every corner rounded by its own radius (0 keeps it sharp).
QPainterPath roundedPolygon(const QPolygonF &points, const QVector<qreal> &radii)
{
    QPainterPath path;
    const int n = points.size();
    for (int i = 0; i < n; ++i) {
        const QPointF prev = points[(i + n - 1) % n];
        const QPointF here = points[i];
        const QPointF next = points[(i + 1) % n];
        const QLineF in(here, prev);
        const QLineF out(here, next);
        const qreal r = std::min({radii[i], in.length() / 2, out.length() / 2});
        const QPointF a = in.pointAt(r / in.length());
        const QPointF b = out.pointAt(r / out.length());
        if (i == 0)
            path.moveTo(a);
        else
            path.lineTo(a);
        path.quadTo(here, b);
    }
    path.closeSubpath();
    return path;
}

enum class End { PointRight, PointLeft, SlantLeft };

QPainterPath tileShape(End end, qreal top, qreal height)
{
    const qreal w = kTileWidth;
    const qreal bottom = top + height;
    const qreal middle = top + height / 2;
    switch (end) {
    case End::PointRight:
        return roundedPolygon({QPointF(0, top), QPointF(w - kPoint, top), QPointF(w, middle),
                               QPointF(w - kPoint, bottom), QPointF(0, bottom)},
                              {kCorner, 8, 6, 8, kCorner});
    case End::PointLeft:
        return roundedPolygon({QPointF(0, middle), QPointF(kPoint, top), QPointF(w, top), QPointF(w, bottom),
                               QPointF(kPoint, bottom)},
                              {6, 8, kCorner, kCorner, 8});
    case End::SlantLeft:
        // A single slant: the top edge reaches furthest towards the centre column.
        return roundedPolygon(
            {QPointF(0, top), QPointF(w, top), QPointF(w, bottom), QPointF(kPoint + 14, bottom)},
            {6, kCorner, kCorner, 8});
    }
    return {};
}

struct TileColours
{
    QColor top;
    QColor bottom;
};

const TileColours kBlue{QColor(0x45, 0x96, 0xcb), QColor(0x27, 0x68, 0x9a)};
const TileColours kGreen{QColor(0x4c, 0xb8, 0x55), QColor(0x2b, 0x8f, 0x36)};

QImage tile(End end, int imageHeight, const TileColours &colours)
{
    QImage image = canvas(kTileWidth, imageHeight);
    QPainter p(&image);
    prepare(p);
    const qreal top = (imageHeight - kTileHeight) / 2.0;
    const QPainterPath shape = tileShape(end, top, kTileHeight);

    QLinearGradient fill(0, top, 0, top + kTileHeight);
    fill.setColorAt(0, colours.top);
    fill.setColorAt(1, colours.bottom);
    p.fillPath(shape, fill);

    // A soft sheen over the upper part gives depth without competing with the answer text.
    p.save();
    p.setClipPath(shape);
    QLinearGradient sheen(0, top, 0, top + kTileHeight * 0.55);
    sheen.setColorAt(0, QColor(255, 255, 255, 46));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, top, kTileWidth, kTileHeight * 0.55), sheen);

    // Light rim on top, darker rim at the bottom: reads as a slightly raised card.
    QLinearGradient rim(0, top, 0, top + kTileHeight);
    rim.setColorAt(0, QColor(255, 255, 255, 120));
    rim.setColorAt(0.5, QColor(255, 255, 255, 30));
    rim.setColorAt(1, QColor(0, 0, 0, 50));
    p.strokePath(shape, QPen(QBrush(rim), 5));
    p.restore();
    p.end();
    return image;
}

void writeTile(const QDir &root, const QString &name, End end, int height, const TileColours &colours)
{
    gif::Options options;
    // The blue template sits on a white page; blending the outline onto white keeps it smooth there.
    options.matte = Qt::white;
    gif::write(root.filePath(QStringLiteral("resources/images/") + name), {{tile(end, height, colours), 0}},
               options);
}

void writeBar(const QDir &root, const QString &name, const QColor &colour)
{
    // Flat on purpose: the page stretches it to a thin line either across or upwards.
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(colour);
    artwork::save(image, root.filePath(QStringLiteral("resources/images/") + name), "png");
}

void generateTiles(const QDir &root)
{
    writeTile(root, QStringLiteral("antwortenHintergrundBlauRechts.gif"), End::PointRight, kTileHeight,
              kBlue);
    writeTile(root, QStringLiteral("antwortenHintergrundBlauLinks.gif"), End::PointLeft, kTileHeight, kBlue);
    // B's tile keeps its old file name but is as blue as the others: grey read as "not available".
    writeTile(root, QStringLiteral("antwortHintergrundGrau.gif"), End::SlantLeft, kTallTileHeight, kBlue);
    writeTile(root, QStringLiteral("antwortenHintergrundRechtsGruen.gif"), End::PointRight, kTileHeight,
              kGreen);
    writeTile(root, QStringLiteral("antwortenHintergrundLinksGruen.gif"), End::PointLeft, kTileHeight,
              kGreen);
    writeTile(root, QStringLiteral("antwortHintergrundSchraegGruen.gif"), End::SlantLeft, kTallTileHeight,
              kGreen);

    writeBar(root, QStringLiteral("progress_gruen.png"), QColor(0x2e, 0xb8, 0x2e));
    writeBar(root, QStringLiteral("progress_orange.png"), QColor(0xff, 0x9a, 0x1f));
    writeBar(root, QStringLiteral("progress_rot.png"), QColor(0xe5, 0x39, 0x35));
}

static artwork::Register registration("tiles", &generateTiles);

} // namespace
