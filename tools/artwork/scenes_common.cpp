#include "scenes_common.h"

#include <QFontMetricsF>

#include <algorithm>
#include <vector>

namespace scenes {

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont boldFont(qreal pixelSize, const QString &family)
{
    QFont font(family);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor shade(const QColor &c, qreal lightness)
{
    // Negative darkens towards black, positive lightens towards white.
    return lightness >= 0 ? mix(c, Qt::white, lightness) : mix(c, Qt::black, -lightness);
}

namespace {

// One box pass along a line of premultiplied pixels; pixels outside count as transparent so edges fade out.
void boxLine(quint32 *data, int count, int stride, int radius, std::vector<quint32> &copy,
             std::vector<int> &sums)
{
    for (int i = 0; i < count; ++i)
        copy[size_t(i)] = data[size_t(i) * size_t(stride)];
    for (int i = 0; i < count; ++i)
        data[size_t(i) * size_t(stride)] = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        sums[0] = 0;
        for (int i = 0; i < count; ++i)
            sums[size_t(i) + 1] = sums[size_t(i)] + int((copy[size_t(i)] >> shift) & 0xff);
        for (int i = 0; i < count; ++i) {
            const int lo = std::max(0, i - radius);
            const int hi = std::min(count, i + radius + 1);
            const int value = (sums[size_t(hi)] - sums[size_t(lo)]) / (2 * radius + 1);
            data[size_t(i) * size_t(stride)] |= quint32(value) << shift;
        }
    }
}

} // namespace

QImage blurred(const QImage &source, int radius)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius < 1)
        return image;
    const int w = image.width();
    const int h = image.height();
    const int stride = int(image.bytesPerLine() / 4);
    auto *bits = reinterpret_cast<quint32 *>(image.bits());
    std::vector<quint32> copy(size_t(std::max(w, h)));
    std::vector<int> sums(size_t(std::max(w, h)) + 1);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            boxLine(bits + size_t(y) * size_t(stride), w, 1, radius, copy, sums);
        for (int x = 0; x < w; ++x)
            boxLine(bits + x, h, stride, radius, copy, sums);
    }
    return image;
}

void dropShadow(QPainter &painter, const QPainterPath &shape, qreal blurRadius, QPointF offset,
                const QColor &colour)
{
    const QRect device =
        painter.device() ? QRect(0, 0, painter.device()->width(), painter.device()->height()) : QRect();
    QImage layer = canvas(device.width(), device.height());
    {
        QPainter p(&layer);
        prepare(p);
        p.setTransform(painter.transform());
        p.translate(offset);
        p.fillPath(shape, colour);
    }
    layer = blurred(layer, qMax(1, qRound(blurRadius / 2)));
    painter.save();
    painter.resetTransform();
    painter.drawImage(0, 0, layer);
    painter.restore();
}

QPainterPath centredText(const QString &text, const QFont &font, QPointF centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    path.translate(centre - bounds.center());
    return path;
}

QFont fittingFont(const QString &text, qreal pixelSize, QSizeF box, const QString &family)
{
    for (qreal size = pixelSize; size > 6; size -= 1) {
        const QFont font = boldFont(size, family);
        QPainterPath path;
        path.addText(0, 0, font, text);
        const QRectF bounds = path.boundingRect();
        if (bounds.width() <= box.width() && bounds.height() <= box.height())
            return font;
    }
    return boldFont(6, family);
}

QPainterPath leafShape(qreal length, qreal width, qreal asymmetry)
{
    // Two mirrored cubic curves from base (0, length/2) to tip (0, -length/2).
    const qreal half = length / 2;
    const qreal w = width / 2;
    const qreal bulge = 0.15 * length * asymmetry;
    QPainterPath path;
    path.moveTo(0, half);
    path.cubicTo(w * 1.25, half * 0.55 + bulge, w * 1.15, -half * 0.45 + bulge, 0, -half);
    path.cubicTo(-w * 1.15, -half * 0.45 + bulge, -w * 1.25, half * 0.55 + bulge, 0, half);
    path.closeSubpath();
    return path;
}

} // namespace scenes
