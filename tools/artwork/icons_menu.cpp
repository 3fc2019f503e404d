#include "icons.h"

#include <QtMath>

namespace icons {

namespace {

QPainterPath folderBack(qreal top, qreal bottom, qreal left, qreal right)
{
    return roundedPolygon({{left, top},
                           {left + 17, top},
                           {left + 22, top + 5},
                           {right, top + 5},
                           {right, bottom},
                           {left, bottom}},
                          3.0);
}

void textLines(QPainter &p, qreal left, qreal right, std::initializer_list<qreal> rows)
{
    for (qreal y : rows)
        stroke(p, {left, y}, {right, y}, colour::line, 2.6);
}

} // namespace

void fileOpen(QPainter &p)
{
    shape(p, folderBack(10, 54, 5, 51), colour::yellowDark);
    // The sheet sticks out of the open folder; it is what makes "open" different from a plain folder.
    shape(p, roundedPolygon({{13, 15}, {45, 15}, {45, 44}, {13, 44}}, 2.0), colour::paper);
    textLines(p, 19, 39, {22, 28});
    shape(p, roundedPolygon({{16, 28}, {61, 28}, {52, 56}, {4, 56}}, 3.0), colour::yellow);
}

void fileSave(QPainter &p)
{
    shape(p, roundedPolygon({{6, 6}, {48, 6}, {58, 16}, {58, 58}, {6, 58}}, 5.0), colour::blue);
    shape(p, roundedPolygon({{17, 6}, {45, 6}, {45, 24}, {17, 24}}, 2.0), colour::greyLight);
    shape(p, roundedRect(QRectF(35, 10, 6, 10), 1.5), colour::blueDark, 0);
    shape(p, roundedPolygon({{14, 33}, {50, 33}, {50, 58}, {14, 58}}, 2.5), colour::paper);
    textLines(p, 20, 44, {41, 49});
}

void questionEditor(QPainter &p)
{
    document(p, QRectF(6, 3, 38, 57), 11);
    shape(p, text(QStringLiteral("?"), QRectF(12, 14, 24, 36)), colour::blue, 2.2);

    // Pencil lying diagonally over the lower right corner, tip down-left towards the sheet.
    p.save();
    p.translate(29, 59);
    p.rotate(-45);
    const qreal h = 5.5;
    QPainterPath body = roundedPolygon({{0, 0}, {12, -h}, {40, -h}, {40, h}, {12, h}}, 1.5);
    shape(p, body, colour::outline, 2 * kOutline);
    shape(p, roundedPolygon({{0, 0}, {12, -h}, {12, h}}, 1.0), QColor(0xf3, 0xd3, 0xa2), 0);
    shape(p, roundedPolygon({{0, 0}, {4.5, -2.1}, {4.5, 2.1}}, 0.5), colour::outline, 0);
    shape(p, roundedRect(QRectF(12, -h, 20, 2 * h), 0), colour::orange, 0);
    shape(p, roundedRect(QRectF(32, -h, 4, 2 * h), 0), colour::silver, 0);
    shape(p, roundedPolygon({{36, -h}, {40, -h}, {40, h}, {36, h}}, 1.5), QColor(0xee, 0x8f, 0xa0), 0);
    stroke(p, {12, -h}, {12, h}, colour::outline, 1.4, Qt::FlatCap);
    stroke(p, {32, -h}, {32, h}, colour::outline, 1.4, Qt::FlatCap);
    stroke(p, {36, -h}, {36, h}, colour::outline, 1.4, Qt::FlatCap);
    stroke(p, {14, 0}, {30, 0}, QColor(0xf7, 0xb0, 0x62), 2.0);
    p.restore();
}

void gear(QPainter &p)
{
    const QPointF centre(32, 32);
    const auto at = [&](qreal radius, qreal degrees) {
        const qreal a = qDegreesToRadians(degrees);
        return centre + QPointF(std::cos(a), std::sin(a)) * radius;
    };
    QPolygonF outer;
    const int teeth = 8;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * 360.0 / teeth + 22.5;
        outer << at(20.5, a - 15) << at(28.5, a - 8.5) << at(28.5, a + 8.5) << at(20.5, a + 15)
              << at(20.5, a + 22.5);
    }
    QPainterPath wheel = roundedPolygon(outer, 2.0);
    wheel.addEllipse(centre, 8, 8); // odd-even fill turns this into a hole
    shape(p, wheel, colour::grey);
    QPainterPath ring = circle(centre, 14);
    ring.addEllipse(centre, 8, 8);
    shape(p, ring, colour::greyLight, 2.0);
}

void exitDoor(QPainter &p)
{
    shape(p, roundedPolygon({{7, 5}, {39, 5}, {39, 59}, {7, 59}}, 2.5), colour::greyDark);
    // The leaf is swung open towards the viewer: hinge on the left, far edge foreshortened.
    shape(p, roundedPolygon({{7, 5}, {25, 11}, {25, 55}, {7, 59}}, 2.0), QColor(0xb5, 0x78, 0x4a));
    shape(p, circle({20.5, 34}, 2.2), colour::gold, 1.4);
    shape(p, arrow({26, 32}, {61, 32}, 11, 15, 26), colour::red);
}

void ranking(QPainter &p)
{
    shape(p, roundedPolygon({{4, 34}, {23, 34}, {23, 59}, {4, 59}}, 2.5), colour::silver);
    shape(p, roundedPolygon({{41, 42}, {60, 42}, {60, 59}, {41, 59}}, 2.5), colour::bronze);
    shape(p, roundedPolygon({{22, 24}, {42, 24}, {42, 59}, {22, 59}}, 2.5), colour::gold);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 10.5 : 4.6;
        const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
        star << QPointF(32, 12) + QPointF(std::cos(a), std::sin(a)) * radius;
    }
    shape(p, roundedPolygon(star, 1.2), colour::gold);
}

namespace {

// Coloured format label across the lower part of a report sheet.
void formatLabel(QPainter &p, const QString &label, const QColor &labelColour)
{
    shape(p, roundedRect(QRectF(5, 38, 46, 19), 4), labelColour);
    shape(p, text(label, QRectF(9.5, 41.5, 37, 12)), colour::paper, 0);
}

} // namespace

void rankingPdf(QPainter &p)
{
    document(p, QRectF(15, 3, 40, 57), 12);
    textLines(p, 21, 38, {12});
    textLines(p, 21, 48, {20, 27});
    textLines(p, 21, 42, {34});
    formatLabel(p, QStringLiteral("PDF"), colour::red);
}

void rankingCsv(QPainter &p)
{
    document(p, QRectF(15, 3, 40, 57), 12);
    const QRectF grid(20.5, 17, 29, 17);
    shape(p, roundedRect(QRectF(grid.left(), grid.top(), grid.width(), grid.height() / 3), 0),
          QColor(0xbf, 0xe6, 0xc6), 0);
    p.save();
    p.setPen(QPen(colour::greenDark, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(grid);
    for (int i = 1; i < 3; ++i) {
        p.drawLine(QPointF(grid.left() + grid.width() * i / 3, grid.top()),
                   QPointF(grid.left() + grid.width() * i / 3, grid.bottom()));
        p.drawLine(QPointF(grid.left(), grid.top() + grid.height() * i / 3),
                   QPointF(grid.right(), grid.top() + grid.height() * i / 3));
    }
    p.restore();
    formatLabel(p, QStringLiteral("CSV"), colour::green);
}

void restart(QPainter &p)
{
    circularArrow(p, {32, 36}, 19, 15, -285, 9, colour::blue);
}

void play(QPainter &p)
{
    shape(p, roundedPolygon({{14, 7}, {56, 32}, {14, 57}}, 6.0), colour::green);
}

void skipForward(QPainter &p)
{
    shape(p, roundedPolygon({{7, 9}, {43, 32}, {7, 55}}, 5.0), colour::blue);
    shape(p, roundedRect(QRectF(44, 9, 12, 46), 3.5), colour::blue);
}

void back(QPainter &p)
{
    shape(p, arrow({58, 32}, {5, 32}, 18, 25, 48), colour::blue);
}

void gotoMarker(QPainter &p)
{
    shape(p, roundedRect(QRectF(27, 5, 32, 32), 7), colour::blue);
    shape(p, text(QStringLiteral("#"), QRectF(33, 11, 20, 20)), colour::paper, 0);
    shape(p, arrow({6, 58}, {29.5, 34.5}, 9, 15, 22), colour::orange);
}

void zoomIn(QPainter &p)
{
    magnifier(p);
    shape(p, roundedRect(QRectF(17, 23, 18, 6), 2), colour::green, 1.8);
    shape(p, roundedRect(QRectF(23, 17, 6, 18), 2), colour::green, 1.8);
    shape(p, roundedRect(QRectF(17.9, 23.9, 16.2, 4.2), 1.5), colour::green, 0); // hides the crossing rim
}

void zoomOut(QPainter &p)
{
    magnifier(p);
    shape(p, roundedRect(QRectF(17, 23, 18, 6), 2), colour::red, 1.8);
}

void zoomNormal(QPainter &p)
{
    magnifier(p);
    shape(p, text(QStringLiteral("1:1"), QRectF(14.5, 20, 23, 12)), colour::outline, 0);
}

void zoomFull(QPainter &p)
{
    const QPointF centre(32, 32);
    for (int i = 0; i < 4; ++i) {
        const qreal a = qDegreesToRadians(45.0 + 90.0 * i);
        const QPointF direction(std::cos(a), std::sin(a));
        shape(p, arrow(centre + direction * 7, centre + direction * 37, 8, 14, 22), colour::blue);
    }
}

void globe(QPainter &p)
{
    const QPointF centre(32, 32);
    const qreal r = 27.5;
    shape(p, circle(centre, r), colour::blue, 0);
    p.save();
    p.setClipPath(circle(centre, r));
    p.setPen(QPen(colour::blueLight, 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 12.0, r);
    p.drawLine(QPointF(32, 0), QPointF(32, 64));
    p.drawLine(QPointF(0, 32), QPointF(64, 32));
    p.drawLine(QPointF(0, 17), QPointF(64, 17));
    p.drawLine(QPointF(0, 47), QPointF(64, 47));
    p.restore();
    shape(p, circle(centre, r), Qt::transparent);
}

void keyboard(QPainter &p)
{
    shape(p, roundedRect(QRectF(3, 13, 58, 39), 6), colour::greyDark);
    const qreal key = 8.4, gap = 2.2, left = 8.0;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 5; ++col) {
            const QRectF r(left + col * (key + gap), 18 + row * (key + gap), key, key);
            // One lit key: the shortcut being pressed.
            const bool pressed = row == 0 && col == 3;
            shape(p, roundedRect(r, 1.8), pressed ? colour::orange : colour::paper, 0);
        }
    }
    shape(p, roundedRect(QRectF(18.5, 39, 27, 7.5), 1.8), colour::paper, 0);
}

void tutorialsFolder(QPainter &p)
{
    shape(p, folderBack(8, 56, 4, 60), colour::yellowDark);
    shape(p, roundedPolygon({{4, 19}, {60, 19}, {60, 56}, {4, 56}}, 3.0), colour::yellow);
    // Mortarboard: crown below, square board in perspective on top, tassel hanging off one corner.
    shape(p, roundedPolygon({{21, 34}, {43, 34}, {43, 46}, {32, 50}, {21, 46}}, 3.0), colour::outline, 0);
    shape(p, roundedPolygon({{11, 34}, {32, 25}, {53, 34}, {32, 43}}, 1.5), colour::greyDark, 2.2);
    stroke(p, {32, 34}, {47, 38}, colour::red, 2.2);
    stroke(p, {47, 38}, {47, 48}, colour::red, 2.2);
    shape(p, roundedRect(QRectF(45, 46, 4, 6), 1.5), colour::red, 0);
    shape(p, circle({32, 34}, 2.2), colour::red, 0);
}

void documentReload(QPainter &p)
{
    document(p, QRectF(7, 3, 38, 54), 11);
    textLines(p, 13, 28, {12});
    textLines(p, 13, 37, {20, 28});
    shape(p, circle({43, 43}, 18), colour::green);
    circularArrow(p, {43, 44}, 9.5, 10, -280, 5.5, colour::paper, 0);
}

void info(QPainter &p)
{
    shape(p, circle({32, 32}, 28.5), colour::blue);
    shape(p, circle({32, 17.5}, 5), colour::paper, 0);
    shape(p, roundedRect(QRectF(27, 26, 10, 25), 3), colour::paper, 0);
}

} // namespace icons
