// Leaves of the nature template: one numbered leaf per handset, and the autumn pile that wrong
// answers fall onto.

#include "artwork.h"
#include "scenes_common.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace scenes;

struct LeafLook
{
    qreal length = 88;
    qreal width = 68;
    qreal asymmetry = 0;
    qreal angle = 0;
    QColor colour;
    int veinPairs = 4;
};

// Draws a leaf with its base at the origin's bottom end; the caller places and rotates the painter.
void drawLeafBody(QPainter &p, const LeafLook &look, bool detailed)
{
    const QPainterPath shape = leafShape(look.length, look.width, look.asymmetry);
    const qreal half = look.length / 2;

    QRadialGradient fill(QPointF(-look.width * 0.2, -half * 0.35), look.length * 0.85);
    fill.setColorAt(0, shade(look.colour, 0.22));
    fill.setColorAt(0.6, look.colour);
    fill.setColorAt(1, shade(look.colour, -0.25));
    p.fillPath(shape, fill);

    const QColor rib = mix(look.colour, QColor(0xf4, 0xf8, 0xd0), 0.55);
    p.save();
    p.setClipPath(shape);
    if (detailed) {
        // Side veins leave the midrib and bend towards the tip, as on a real leaf.
        QPen vein(QColor(rib.red(), rib.green(), rib.blue(), 140), look.length / 70, Qt::SolidLine,
                  Qt::RoundCap);
        p.setPen(vein);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < look.veinPairs; ++i) {
            const qreal y = half * (0.55 - i * 0.34);
            const qreal reach = look.width * 0.48 * (1.0 - 0.12 * i);
            for (int side = -1; side <= 1; side += 2) {
                QPainterPath path;
                path.moveTo(0, y);
                path.quadTo(side * reach * 0.45, y - look.length * 0.05, side * reach,
                            y - look.length * 0.17);
                p.drawPath(path);
            }
        }
    }
    // Midrib tapers from base to tip.
    QPainterPath midrib;
    const qreal baseWidth = look.length / 36;
    midrib.moveTo(-baseWidth, half);
    midrib.quadTo(-baseWidth * 0.4, 0, 0, -half * 0.86);
    midrib.quadTo(baseWidth * 0.4, 0, baseWidth, half);
    midrib.closeSubpath();
    p.fillPath(midrib, rib);
    p.restore();

    // Thin darker rim keeps the outline crisp on light backgrounds.
    QColor rim = shade(look.colour, -0.45);
    rim.setAlpha(112);
    p.strokePath(shape, QPen(rim, look.length / 90));
}

void drawStem(QPainter &p, const LeafLook &look, qreal bend, qreal length)
{
    const qreal half = look.length / 2;
    QPainterPath stem;
    stem.moveTo(0, half - 4);
    stem.quadTo(bend * 0.3, half + length * 0.6, bend, half + length);
    p.strokePath(stem, QPen(shade(mix(look.colour, QColor(0x8a, 0x6a, 0x30), 0.45), -0.2), look.length / 26,
                            Qt::SolidLine, Qt::RoundCap));
}

QImage numberedLeaf(int number)
{
    Random random(quint32(number) * 7919u + 17u);
    LeafLook look;
    look.width = random.uniform(70, 78);
    look.asymmetry = random.uniform(-0.35, 0.35);
    look.angle = random.uniform(-6, 6);
    const qreal hue = random.uniform(88, 122) / 360.0;
    look.colour =
        QColor::fromHsvF(float(hue), float(random.uniform(0.68, 0.82)), float(random.uniform(0.62, 0.74)));
    const qreal bend = random.uniform(-7, 7);

    QImage image = canvas(90, 110);
    QPainter p(&image);
    prepare(p);
    p.translate(45, 50);
    p.rotate(look.angle);

    QPainterPath silhouette = leafShape(look.length, look.width, look.asymmetry);
    dropShadow(p, silhouette, 4, QPointF(1, 2), QColor(20, 50, 10, 80));
    drawStem(p, look, bend, 15);
    drawLeafBody(p, look, true);

    // White digits with a dark outline stay readable over the midrib and any hue the page shifts to.
    const QString text = QString::number(number);
    const QFont font = fittingFont(text, 40, QSizeF(48, 32));
    const QPainterPath digits = centredText(text, font, QPointF(0, 6));
    p.strokePath(digits, QPen(shade(look.colour, -0.62), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(digits, Qt::white);
    p.end();
    return image;
}

// Silhouette of the pile: a low, slightly lopsided mound standing on the bottom edge.
qreal moundTop(qreal x, qreal width, qreal height)
{
    const qreal u = (x - width / 2) / (width / 2 - 8);
    if (std::abs(u) >= 1)
        return height;
    const qreal lump = 1.0 - std::pow(std::abs(u), 2.2);
    const qreal wobble = 0.03 * std::sin(x / 31.0) + 0.02 * std::sin(x / 11.0 + 1.3);
    return height - 6 - (height - 34) * std::pow(lump, 0.75) * (1 + wobble) * (1 - 0.08 * u);
}

QImage leafPile()
{
    const int w = 400;
    const int h = 190;
    QImage image = canvas(w, h);
    QPainter p(&image);
    prepare(p);

    // Ground shadow and a dark heap underneath, so gaps between leaves read as depth, not holes.
    QRadialGradient ground(QPointF(w / 2.0, h - 8), w / 2.0);
    ground.setColorAt(0, QColor(60, 40, 20, 90));
    ground.setColorAt(1, QColor(60, 40, 20, 0));
    p.save();
    p.translate(w / 2.0, h - 8);
    p.scale(1, 0.09);
    p.translate(-w / 2.0, -(h - 8));
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawEllipse(QPointF(w / 2.0, h - 8), w / 2.0, w / 2.0);
    p.restore();

    QPainterPath heap;
    heap.moveTo(14, h - 14);
    for (int x = 14; x <= w - 14; x += 4)
        heap.lineTo(x, std::min<qreal>(h - 14, moundTop(x, w, h) + 14));
    heap.lineTo(w - 14, h - 14);
    heap.closeSubpath();
    QLinearGradient heapFill(0, 40, 0, h);
    heapFill.setColorAt(0, QColor(0x8a, 0x55, 0x22));
    heapFill.setColorAt(1, QColor(0x4a, 0x2c, 0x14));
    p.fillPath(heap, heapFill);

    const std::vector<QColor> autumn = {
        QColor(0xf2, 0xc1, 0x2e), QColor(0xf5, 0xa6, 0x23), QColor(0xe8, 0x77, 0x2e),
        QColor(0xd2, 0x50, 0x2a), QColor(0xb8, 0x3a, 0x24), QColor(0x9a, 0x5e, 0x2c),
        QColor(0xe3, 0x92, 0x2a), QColor(0xc9, 0x8f, 0x2e), QColor(0x86, 0xa8, 0x3a),
        QColor(0x6b, 0x94, 0x30),
    };
    struct Placed
    {
        QPointF centre;
        LeafLook look;
        qreal bend;
    };
    std::vector<Placed> leaves;
    Random random(20241);
    // A jittered grid rather than pure chance, so the crest and the flanks are always covered.
    for (qreal gy = 0; gy < h; gy += 12) {
        for (qreal gx = 18; gx < w - 18; gx += 16) {
            const qreal x = gx + random.uniform(-6, 6);
            const qreal top = moundTop(x, w, h);
            const qreal y = gy + random.uniform(-4, 4);
            if (top > h - 20 || y < top + 6 || y > h - 16)
                continue;
            LeafLook look;
            // Smaller leaves near the crest keep the silhouette tidy.
            look.length = random.uniform(30, 46) * (0.8 + 0.2 * (y - top) / std::max<qreal>(1, h - top));
            look.width = look.length * random.uniform(0.55, 0.8);
            look.asymmetry = random.uniform(-0.4, 0.4);
            look.angle = random.uniform(0, 360);
            // Mostly warm colours; green only now and then, like leaves that fell early.
            const int pick = random.integer(0, int(autumn.size()) - 1);
            const int index = (pick >= 8 && random.integer(0, 2) != 0) ? random.integer(0, 7) : pick;
            look.colour = shade(autumn[size_t(index)], random.uniform(-0.12, 0.1));
            look.veinPairs = 3;
            leaves.push_back({QPointF(x, y), look, random.uniform(-5, 5)});
        }
    }
    // Back to front: leaves lower in the picture lie on top.
    std::stable_sort(leaves.begin(), leaves.end(),
                     [](const Placed &a, const Placed &b) { return a.centre.y() < b.centre.y(); });
    for (const Placed &leaf : leaves) {
        p.save();
        p.translate(leaf.centre);
        p.rotate(leaf.look.angle);
        QPainterPath silhouette = leafShape(leaf.look.length, leaf.look.width, leaf.look.asymmetry);
        p.fillPath(silhouette.translated(1.5, 2), QColor(40, 20, 5, 60));
        drawStem(p, leaf.look, leaf.bend, leaf.look.length * 0.2);
        drawLeafBody(p, leaf.look, true);
        p.restore();
    }
    p.end();
    return image;
}

void generateLeaves(const QDir &root)
{
    for (int n = 1; n <= 60; ++n) {
        artwork::save(
            numberedLeaf(n),
            root.filePath(QStringLiteral("resources/IconGeraeteIDTandrivelle/%1_0_green.png").arg(n)), "png");
    }
    artwork::save(leafPile(), root.filePath(QStringLiteral("resources/images/blaetterhaufen.png")), "png");
}

static artwork::Register registration("leaves", &generateLeaves);

} // namespace
