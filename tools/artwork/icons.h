#pragma once

// Shared drawing kit of the "icons" generator: menu icons, message-box pictures, the window icon and the
// small badges of the HTML templates.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <functional>

namespace icons {

// Every motif is drawn on a 64×64 grid and scaled, so one drawing serves 16 px menus and 256 px icons alike.
constexpr qreal kGrid = 64.0;
// Dark rim around every shape so the icons read on light menus as well as on dark themes.
constexpr qreal kOutline = 3.0;

namespace colour {
inline const QColor outline{0x27, 0x31, 0x3d};
inline const QColor paper{0xff, 0xff, 0xff};
inline const QColor paperShade{0xd5, 0xdd, 0xe6};
inline const QColor line{0xa9, 0xb6, 0xc4};
inline const QColor blue{0x3a, 0x86, 0xd4};
inline const QColor blueLight{0xd4, 0xea, 0xfb};
inline const QColor blueDark{0x23, 0x5f, 0xa0};
inline const QColor green{0x3f, 0xaa, 0x55};
inline const QColor greenDark{0x2a, 0x7c, 0x3c};
inline const QColor red{0xdd, 0x4a, 0x3c};
inline const QColor orange{0xf0, 0x8a, 0x24};
inline const QColor yellow{0xf7, 0xc2, 0x48};
inline const QColor yellowDark{0xdc, 0x98, 0x22};
inline const QColor grey{0x87, 0x96, 0xa6};
inline const QColor greyLight{0xd3, 0xdb, 0xe3};
inline const QColor greyDark{0x4e, 0x5b, 0x68};
inline const QColor gold{0xf5, 0xc0, 0x2c};
inline const QColor silver{0xc3, 0xcb, 0xd3};
inline const QColor bronze{0xcf, 0x8a, 0x4e};
} // namespace colour

using Motif = std::function<void(QPainter &)>;

// Renders `motif`, drawn on a grid×grid design area, into a transparent size×size image.
QImage render(const Motif &motif, int size, qreal grid = kGrid);

// Fills `path` and rims it with the common outline (width 0 leaves the rim off).
void shape(QPainter &p, const QPainterPath &path, const QColor &fill, qreal outline = kOutline);
// Strokes a centre line as a band of `width` with an outline of `outline` on both sides.
void band(QPainter &p, const QPainterPath &centreLine, const QColor &fill, qreal width,
          qreal outline = kOutline, Qt::PenCapStyle cap = Qt::RoundCap);
// A straight stroke without outline, for details drawn on top of a filled shape.
void stroke(QPainter &p, const QPointF &from, const QPointF &to, const QColor &colour, qreal width,
            Qt::PenCapStyle cap = Qt::RoundCap);

QPainterPath polyline(const QPolygonF &points);
// A closed polygon whose corners are rounded by `radius`; keeps the flat style soft at every size.
QPainterPath roundedPolygon(const QPolygonF &corners, qreal radius);
QPainterPath roundedRect(const QRectF &rect, qreal radius);
QPainterPath circle(const QPointF &centre, qreal radius);
// A straight arrow from `from` to the tip at `to`.
QPainterPath arrow(const QPointF &from, const QPointF &to, qreal shaftWidth, qreal headLength,
                   qreal headWidth);
// Glyph outlines of `label` in DejaVu Sans Bold, scaled to fit `box` and centred in it.
QPainterPath text(const QString &label, const QRectF &box);

// Building blocks used by several motifs.
void document(QPainter &p, const QRectF &rect, qreal fold);
void circularArrow(QPainter &p, const QPointF &centre, qreal radius, qreal startAngle, qreal span,
                   qreal width, const QColor &fill, qreal outline = kOutline);
void magnifier(QPainter &p);

// Motifs on the 64 grid.
void fileOpen(QPainter &p);
void fileSave(QPainter &p);
void questionEditor(QPainter &p);
void gear(QPainter &p);
void exitDoor(QPainter &p);
void ranking(QPainter &p);
void rankingPdf(QPainter &p);
void rankingCsv(QPainter &p);
void restart(QPainter &p);
void play(QPainter &p);
void skipForward(QPainter &p);
void back(QPainter &p);
void gotoMarker(QPainter &p);
void zoomIn(QPainter &p);
void zoomOut(QPainter &p);
void zoomFull(QPainter &p);
void zoomNormal(QPainter &p);
void globe(QPainter &p);
void keyboard(QPainter &p);
void tutorialsFolder(QPainter &p);
void documentReload(QPainter &p);
void info(QPainter &p);

// The application icon; `size` selects how much detail survives (16 px needs bigger buttons, no display).
QImage applicationIcon(int size);
// The drawing behind applicationIcon at `size` pixels, on the 64 grid, for painting into other devices.
Motif applicationIconMotif(int size);
// A Windows icon file with one entry per image (small ones as bitmaps, 256 px as PNG).
QByteArray icoFile(const QList<QImage> &images);

// Template badges, drawn at twice their display size.
QImage usbOk();
QImage letterBadge(const QString &letter, const QColor &face, const QColor &rim);
QImage checkGreen();
QImage checkInCircle();
QImage checkColoured(const QColor &colour);

} // namespace icons
