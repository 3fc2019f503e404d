#include "icons.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QtEndian>

namespace icons {

namespace {

// The four handset keys, in the order they sit on the device (top left, top right, bottom left, bottom
// right).
const QColor kKeyColours[] = {{0xe5, 0x39, 0x35}, {0x1e, 0x88, 0xe5}, {0xfb, 0xc0, 0x2d}, {0x43, 0xa0, 0x47}};

QPainterPath checkStroke(const QPointF &start, const QPointF &corner, const QPointF &end)
{
    return polyline({start, corner, end});
}

void appendLe16(QByteArray &out, quint16 value)
{
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

void appendLe32(QByteArray &out, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

// Classic icon bitmap: BITMAPINFOHEADER, bottom-up BGRA rows, then the 1-bit transparency mask that
// older consumers still insist on.
QByteArray iconBitmap(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    appendLe32(out, 40);
    appendLe32(out, quint32(w));
    appendLe32(out, quint32(2 * h)); // colour rows plus mask rows
    appendLe16(out, 1);
    appendLe16(out, 32);
    appendLe32(out, 0);
    appendLe32(out, quint32(w * h * 4 + maskStride * h));
    for (int i = 0; i < 4; ++i)
        appendLe32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            appendLe32(out, row[x]); // 0xAARRGGBB stored little-endian is B, G, R, A
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray mask(maskStride, '\0');
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = char(mask.at(x / 8) | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}

QByteArray png(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

} // namespace

Motif applicationIconMotif(int size)
{
    // At 16 px the keys must be as big as the body allows and the display shrinks to a strip,
    // otherwise the icon melts into a grey blob.
    const bool tiny = size <= 16;
    const bool detailed = size >= 48;
    return [tiny, detailed, size](QPainter &p) {
        const qreal outline = tiny ? 4.0 : size <= 32 ? 3.2 : 2.6;
        const QRectF body = tiny ? QRectF(8, 1.5, 48, 61) : QRectF(12, 2, 40, 60);
        QLinearGradient shade(body.topLeft(), body.bottomLeft());
        shade.setColorAt(0, QColor(0x55, 0x6d, 0x87));
        shade.setColorAt(1, QColor(0x34, 0x46, 0x5a));
        p.save();
        p.setPen(QPen(colour::outline, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(shade);
        p.drawRoundedRect(body, tiny ? 9 : 11, tiny ? 9 : 11);
        p.restore();

        const QRectF display = tiny ? QRectF(17, 8, 30, 8) : QRectF(20, 9, 24, 12);
        shape(p, roundedRect(display, 2.5), QColor(0xbf, 0xe8, 0xdc), tiny ? 0 : 1.8);

        const qreal radius = tiny ? 9.0 : 6.8;
        const qreal dx = tiny ? 10.5 : 8.0;
        const qreal rows[] = {tiny ? 30.0 : 34.0, tiny ? 51.0 : 50.0};
        for (int i = 0; i < 4; ++i) {
            const QPointF centre(32 + (i % 2 == 0 ? -dx : dx), rows[i / 2]);
            shape(p, circle(centre, radius), kKeyColours[i], tiny ? 0 : 1.8);
            if (detailed) {
                p.save();
                p.setPen(QPen(QColor(255, 255, 255, 150), 1.3, Qt::SolidLine, Qt::RoundCap));
                p.drawArc(QRectF(centre.x() - 4.2, centre.y() - 4.2, 8.4, 8.4), 100 * 16, 70 * 16);
                p.restore();
            }
        }
    };
}

QImage applicationIcon(int size)
{
    return render(applicationIconMotif(size), size);
}

QByteArray icoFile(const QList<QImage> &images)
{
    QList<QByteArray> entries;
    for (const QImage &image : images)
        entries << (image.width() >= 256 ? png(image) : iconBitmap(image));

    QByteArray out;
    appendLe16(out, 0);
    appendLe16(out, 1); // icon, not cursor
    appendLe16(out, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (int i = 0; i < images.size(); ++i) {
        const QImage &image = images.at(i);
        out.append(char(image.width() >= 256 ? 0 : image.width())); // 0 stands for 256
        out.append(char(image.height() >= 256 ? 0 : image.height()));
        out.append(char(0)); // no palette
        out.append(char(0));
        appendLe16(out, 1);
        appendLe16(out, 32);
        appendLe32(out, quint32(entries.at(i).size()));
        appendLe32(out, offset);
        offset += quint32(entries.at(i).size());
    }
    for (const QByteArray &entry : entries)
        out.append(entry);
    return out;
}

QImage usbOk()
{
    return render(
        [](QPainter &p) {
            shape(p, circle({70, 70}, 66), QColor(0x1f, 0x7a, 0x39), 0);
            shape(p, circle({70, 70}, 59), QColor(0x2f, 0xa8, 0x4f), 0);
            band(p, checkStroke({40, 72}, {61, 93}, {101, 50}), Qt::white, 17, 0);
        },
        140, 140);
}

QImage letterBadge(const QString &letter, const QColor &face, const QColor &rim)
{
    return render(
        [&](QPainter &p) {
            // 7 px rim at double size: 3.5 px once the template shows the badge 55 px high.
            shape(p, roundedRect(QRectF(3, 3, 104, 104), 24), rim, 0);
            QLinearGradient light(0, 10, 0, 100);
            light.setColorAt(0, face.lighter(112));
            light.setColorAt(1, face);
            p.save();
            p.setPen(Qt::NoPen);
            p.setBrush(light);
            p.drawRoundedRect(QRectF(10, 10, 90, 90), 17.5, 17.5);
            p.restore();
            shape(p, text(letter, QRectF(22, 27, 66, 56)), Qt::white, 0);
        },
        110, 110);
}

QImage checkGreen()
{
    return render(
        [](QPainter &p) {
            band(p, checkStroke({13, 43}, {32, 62}, {67, 20}), QColor(0x2f, 0xa8, 0x4f), 13, 3.5);
        },
        80, 80);
}

QImage checkInCircle()
{
    return render(
        [](QPainter &p) {
            p.setPen(QPen(Qt::white, 4.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(40, 40), 35.5, 35.5);
            band(p, checkStroke({23, 41}, {35, 53}, {58, 28}), Qt::white, 8.5, 0);
        },
        80, 80);
}

QImage checkColoured(const QColor &colour)
{
    return render(
        [&](QPainter &p) {
            band(p, checkStroke({11, 42}, {31, 62}, {69, 19}), colour, 15, 0);
        },
        80, 80);
}

} // namespace icons
