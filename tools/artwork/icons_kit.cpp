#include "icons.h"

#include <QFont>
#include <QLineF>
#include <QTransform>
#include <QtMath>

#include <algorithm>

namespace icons {

namespace {

QPointF unit(const QPointF &v)
{
    const qreal length = std::hypot(v.x(), v.y());
    return length > 0 ? v / length : QPointF();
}

QPen outlinePen(qreal width)
{
    return QPen(colour::outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

QImage render(const Motif &motif, int size, qreal grid)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    p.scale(size / grid, size / grid);
    motif(p);
    p.end();
    return image;
}

void shape(QPainter &p, const QPainterPath &path, const QColor &fill, qreal outline)
{
    p.save();
    p.setPen(outline > 0 ? outlinePen(outline) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

void band(QPainter &p, const QPainterPath &centreLine, const QColor &fill, qreal width, qreal outline,
          Qt::PenCapStyle cap)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    if (outline > 0) {
        p.setPen(QPen(colour::outline, width + 2 * outline, Qt::SolidLine, cap, Qt::RoundJoin));
        p.drawPath(centreLine);
    }
    p.setPen(QPen(fill, width, Qt::SolidLine, cap, Qt::RoundJoin));
    p.drawPath(centreLine);
    p.restore();
}

void stroke(QPainter &p, const QPointF &from, const QPointF &to, const QColor &colour, qreal width,
            Qt::PenCapStyle cap)
{
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, cap, Qt::RoundJoin));
    p.drawLine(from, to);
    p.restore();
}

QPainterPath polyline(const QPolygonF &points)
{
    QPainterPath path;
    path.addPolygon(points);
    return path;
}

QPainterPath roundedPolygon(const QPolygonF &corners, qreal radius)
{
    QPainterPath path;
    const int n = int(corners.size());
    for (int i = 0; i < n; ++i) {
        const QPointF corner = corners.at(i);
        const QPointF previous = corners.at((i + n - 1) % n);
        const QPointF next = corners.at((i + 1) % n);
        // Never round more than half an edge, or neighbouring corners would overlap on short edges.
        const qreal in = std::min(radius, QLineF(previous, corner).length() / 2);
        const qreal out = std::min(radius, QLineF(corner, next).length() / 2);
        const QPointF a = corner + unit(previous - corner) * in;
        const QPointF b = corner + unit(next - corner) * out;
        if (i == 0)
            path.moveTo(a);
        else
            path.lineTo(a);
        path.quadTo(corner, b);
    }
    path.closeSubpath();
    return path;
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath circle(const QPointF &centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath arrow(const QPointF &from, const QPointF &to, qreal shaftWidth, qreal headLength,
                   qreal headWidth)
{
    const QPointF direction = unit(to - from);
    const QPointF normal(-direction.y(), direction.x());
    const QPointF base = to - direction * headLength;
    const QPointF shaft = normal * (shaftWidth / 2);
    const QPointF head = normal * (headWidth / 2);
    return roundedPolygon(
        {from + shaft, base + shaft, base + head, to, base - head, base - shaft, from - shaft}, 2.0);
}

QPainterPath text(const QString &label, const QRectF &box)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(200);
    // Hinting would snap the outlines to a 200 px grid that no longer exists once the path is scaled.
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath glyphs;
    glyphs.addText(0, 0, font, label);
    const QRectF bounds = glyphs.boundingRect();
    const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform transform;
    transform.translate(box.center().x(), box.center().y());
    transform.scale(scale, scale);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    return transform.map(glyphs);
}

void document(QPainter &p, const QRectF &rect, qreal fold)
{
    const QPointF foldTop(rect.right() - fold, rect.top());
    const QPointF foldSide(rect.right(), rect.top() + fold);
    shape(p, roundedPolygon({rect.topLeft(), foldTop, foldSide, rect.bottomRight(), rect.bottomLeft()}, 2.5),
          colour::paper);
    shape(p, roundedPolygon({foldTop, QPointF(foldTop.x(), foldSide.y()), foldSide}, 1.5),
          colour::paperShade);
}

void circularArrow(QPainter &p, const QPointF &centre, qreal radius, qreal startAngle, qreal span,
                   qreal width, const QColor &fill, qreal outline)
{
    const QRectF bounds(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(bounds, startAngle);
    arc.arcTo(bounds, startAngle, span);

    // Qt counts angles counter-clockwise on screen, so y runs against the usual sine.
    const qreal end = qDegreesToRadians(startAngle + span);
    const QPointF radial(std::cos(end), -std::sin(end));
    const QPointF tangent =
        span > 0 ? QPointF(-std::sin(end), -std::cos(end)) : QPointF(std::sin(end), std::cos(end));
    const QPointF base = arc.pointAtPercent(1.0);
    const qreal headLength = width * 1.55;
    const qreal headHalf = width * 1.3;
    const QPolygonF head{base + radial * headHalf, base + tangent * headLength, base - radial * headHalf};

    // Outline of arc and head first, fills second, so the two parts merge into one silhouette.
    p.save();
    p.setBrush(Qt::NoBrush);
    if (outline > 0) {
        p.setPen(QPen(colour::outline, width + 2 * outline, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(arc);
        p.setPen(outlinePen(2 * outline));
        p.setBrush(colour::outline);
        p.drawPolygon(head);
    }
    p.setPen(QPen(fill, width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.setPen(QPen(fill, 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPolygon(head);
    p.restore();
}

void magnifier(QPainter &p)
{
    const QPointF lens(26, 26);
    // Handle first so the lens rim overlaps its inner end.
    p.save();
    p.translate(lens);
    p.rotate(45);
    shape(p, roundedRect(QRectF(17, -5.5, 24, 11), 4.5), colour::greyDark);
    p.restore();

    shape(p, circle(lens, 20.5), colour::blue);
    shape(p, circle(lens, 14.5), colour::blueLight);
    // A soft glint keeps the glass from reading as a flat disc.
    p.save();
    p.setPen(QPen(QColor(255, 255, 255, 230), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(lens.x() - 10.5, lens.y() - 10.5, 21, 21), 100 * 16, 60 * 16);
    p.restore();
}

} // namespace icons
