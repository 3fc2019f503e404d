// Pictures of the start screen's three steps: plug in the receiver, press any button, start with the
// space bar. Two looks share one drawing style: blue for the older handsets, green for battery-free ones.

#include "artwork.h"
#include "gif.h"
#include "scenes_common.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <vector>

namespace {

using namespace scenes;

struct Look
{
    QColor accent;
    QColor dark;
    QColor screenTop;
    QColor screenBottom;
};

const Look kBlueLook{colours::blue, QColor(0x1d, 0x57, 0x80), QColor(0xbf, 0xe1, 0xf6),
                     QColor(0x4d, 0x9c, 0xcf)};
const Look kGreenLook{colours::green, QColor(0x03, 0x42, 0x03), QColor(0xd3, 0xee, 0xc4),
                      QColor(0x4f, 0xa4, 0x4a)};

const QColor kAluminiumTop(0xe3, 0xe7, 0xec);
const QColor kAluminiumFront(0xbd, 0xc5, 0xce);
const QColor kAluminiumSide(0xa5, 0xaf, 0xba);
const QColor kHighlight(0xff, 0xb3, 0x00); // "press here": works next to both the blue and the green look

// ---------------------------------------------------------------------------------------------------------
// Step 1: a laptop corner seen from the front left, a receiver stick on its way into the side port.

// Oblique projection: x runs to the right, depth recedes up and to the left (so the left side face with
// the port is visible), z is height.
class Oblique final
{
public:
    explicit Oblique(QPointF origin)
        : m_origin(origin)
    {
    }
    QPointF operator()(qreal x, qreal depth, qreal z) const
    {
        return m_origin + QPointF(x - depth * 0.62, -depth * 0.36 - z);
    }

private:
    QPointF m_origin;
};

// Four corners only: QPolygonF(QRectF) closes the ring with a fifth point, which quadToQuad rejects.
QPolygonF corners(const QRectF &r)
{
    return QPolygonF({r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()});
}

QPainterPath polygonPath(const QPolygonF &polygon)
{
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

// A box in oblique view: front, top and left end faces.
void drawBox(QPainter &p, const Oblique &o, qreal x0, qreal x1, qreal d0, qreal d1, qreal z0, qreal z1,
             const QColor &front, const QColor &top, const QColor &side)
{
    const QPolygonF frontFace({o(x0, d0, z0), o(x1, d0, z0), o(x1, d0, z1), o(x0, d0, z1)});
    const QPolygonF topFace({o(x0, d0, z1), o(x1, d0, z1), o(x1, d1, z1), o(x0, d1, z1)});
    const QPolygonF sideFace({o(x0, d0, z0), o(x0, d0, z1), o(x0, d1, z1), o(x0, d1, z0)});
    const QPen edge(QColor(0, 0, 0, 40), 1);
    p.setPen(edge);
    p.setBrush(side);
    p.drawPolygon(sideFace);
    p.setBrush(top);
    p.drawPolygon(topFace);
    p.setBrush(front);
    p.drawPolygon(frontFace);
}

// Key caps on a flat plane, mapped onto `target` (any quadrilateral).
void drawKeyGrid(QPainter &p, const QPolygonF &target, int columns, int rows, const QColor &cap,
                 const QColor &gap)
{
    QTransform map;
    if (!QTransform::quadToQuad(corners(QRectF(0, 0, 1, 1)), target, map))
        return;
    p.save();
    p.setTransform(map, true);
    p.setPen(Qt::NoPen);
    p.setBrush(gap);
    p.drawRect(QRectF(0, 0, 1, 1));
    p.setBrush(cap);
    const qreal w = 1.0 / columns;
    const qreal h = 1.0 / rows;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (r == rows - 1 && c > 2 && c < columns - 3) {
                if (c == 3)
                    p.drawRect(
                        QRectF(c * w + w * 0.12, r * h + h * 0.14, w * (columns - 6) - w * 0.24, h * 0.72));
                continue;
            }
            p.drawRect(QRectF(c * w + w * 0.12, r * h + h * 0.14, w * 0.76, h * 0.72));
        }
    }
    p.restore();
}

QImage plugInReceiver(const Look &look)
{
    const int width = 420;
    const int height = 210;
    QImage image = canvas(width, height);
    QPainter p(&image);
    prepare(p);

    const Oblique o(QPointF(258, 198));
    const qreal W = 300; // runs off the right edge: only the corner matters
    const qreal D = 150;
    const qreal T = 24;

    // Shadow of the base on the table.
    dropShadow(p, polygonPath({o(-6, -4, 0), o(W, -4, 0), o(W, D, 0), o(-6, D, 0)}), 14, QPointF(4, 6),
               QColor(20, 30, 40, 90));

    // Lid, leaning back a little from the hinge.
    const QPointF rise(-0.16 * 200, -200);
    const QPointF hingeLeft = o(0, D, T);
    const QPointF hingeRight = o(W, D, T);
    const QPolygonF lidEdge({hingeLeft, hingeLeft + rise, o(0, D - 9, T) + rise, o(0, D - 9, T)});
    p.setPen(Qt::NoPen);
    p.setBrush(kAluminiumSide);
    p.drawPolygon(lidEdge);
    const QPolygonF lid({hingeLeft, hingeRight, hingeRight + rise, hingeLeft + rise});
    p.setBrush(QColor(0x2e, 0x35, 0x3f));
    p.drawPolygon(lid);
    QTransform lidMap;
    QTransform::quadToQuad(corners(QRectF(0, 0, 1, 1)),
                           QPolygonF({hingeLeft + rise, hingeRight + rise, hingeRight, hingeLeft}), lidMap);
    {
        p.save();
        p.setTransform(lidMap, true);
        // Display inset inside the bezel, in the colours of the look.
        const QRectF display(0.04, 0.05, 0.95, 0.86);
        QLinearGradient screen(display.topLeft(), display.bottomLeft());
        screen.setColorAt(0, look.screenTop);
        screen.setColorAt(1, look.screenBottom);
        p.fillRect(display, screen);
        p.restore();
        // A soft diagonal reflection, drawn in device space so it is not distorted.
        p.save();
        p.setClipPath(polygonPath(lid));
        QLinearGradient glare(QPointF(150, 0), QPointF(260, 120));
        glare.setColorAt(0, QColor(255, 255, 255, 0));
        glare.setColorAt(0.45, QColor(255, 255, 255, 70));
        glare.setColorAt(0.55, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(0, 0, width, height), glare);
        p.restore();
    }

    // Base: top with keyboard and touchpad, front edge, left side with the port.
    const QPolygonF top({o(0, 0, T), o(W, 0, T), o(W, D, T), o(0, D, T)});
    const QPolygonF front({o(0, 0, 0), o(W, 0, 0), o(W, 0, T), o(0, 0, T)});
    const QPolygonF side({o(0, 0, 0), o(0, 0, T), o(0, D, T), o(0, D, 0)});
    p.setPen(QPen(QColor(0, 0, 0, 50), 1));
    p.setBrush(kAluminiumTop);
    p.drawPolygon(top);
    p.setBrush(kAluminiumFront);
    p.drawPolygon(front);
    QLinearGradient sideFill(o(0, 0, T), o(0, D, T));
    sideFill.setColorAt(0, kAluminiumSide);
    sideFill.setColorAt(1, shade(kAluminiumSide, -0.12));
    p.setBrush(sideFill);
    p.drawPolygon(side);
    drawKeyGrid(p, QPolygonF({o(22, D - 12, T), o(W, D - 12, T), o(W, 62, T), o(22, 62, T)}), 16, 5,
                QColor(0x4a, 0x53, 0x5e), QColor(0xc7, 0xce, 0xd6));
    p.setPen(QPen(QColor(0, 0, 0, 40), 1));
    p.setBrush(QColor(0xd3, 0xd9, 0xe0));
    p.drawPolygon(QPolygonF({o(100, 12, T), o(190, 12, T), o(190, 50, T), o(100, 50, T)}));

    // The port, with a glowing rim so the eye finds the target.
    const qreal portD0 = 30, portD1 = 66, portZ0 = 7, portZ1 = 17;
    const QPolygonF port(
        {o(0, portD0, portZ0), o(0, portD0, portZ1), o(0, portD1, portZ1), o(0, portD1, portZ0)});
    p.setPen(QPen(kHighlight, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0x22, 0x27, 0x2e));
    p.drawPolygon(port);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe9, 0xed, 0xf1));
    p.drawPolygon(
        QPolygonF({o(0, portD0 + 4, 12), o(0, portD0 + 4, 15), o(0, portD1 - 4, 15), o(0, portD1 - 4, 12)}));

    // Receiver stick floating left of the port: metal plug towards the laptop, body in the look's colour.
    const qreal gap = 86;
    const qreal plugLength = 26;
    const qreal bodyLength = 80;
    const qreal plugX1 = -gap;
    const qreal plugX0 = plugX1 - plugLength;
    const qreal bodyX0 = plugX0 - bodyLength;
    dropShadow(p,
               polygonPath({o(bodyX0, portD0 - 4, -18), o(plugX1, portD0 - 4, -18),
                            o(plugX1, portD1 + 4, -18), o(bodyX0, portD1 + 4, -18)}),
               10, QPointF(0, 10), QColor(20, 30, 40, 60));
    drawBox(p, o, plugX0, plugX1, portD0 + 3, portD1 - 3, portZ0 + 1, portZ1 - 1, QColor(0xc9, 0xd0, 0xd8),
            QColor(0xe6, 0xea, 0xee), QColor(0xb0, 0xb9, 0xc3));
    drawBox(p, o, bodyX0, plugX0, portD0 - 4, portD1 + 4, portZ0 - 6, portZ1 + 6, look.accent,
            shade(look.accent, 0.28), look.dark);
    // The two square openings on the plug make it read as a USB plug.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x5f, 0x6a));
    for (const qreal x : {plugX0 + 5, plugX0 + 15}) {
        const qreal z = portZ1 - 1;
        const qreal dMid = (portD0 + portD1) / 2;
        p.drawPolygon(
            QPolygonF({o(x, dMid - 6, z), o(x + 6, dMid - 6, z), o(x + 6, dMid + 6, z), o(x, dMid + 6, z)}));
    }
    // A seam a little before the plug end: cap and grip.
    p.setPen(QPen(shade(look.dark, -0.2), 1.5));
    const qreal seam = plugX0 - 12;
    p.drawPolyline(QPolygonF(
        {o(seam, portD0 - 4, portZ0 - 6), o(seam, portD0 - 4, portZ1 + 6), o(seam, portD1 + 4, portZ1 + 6)}));
    // Status light on the stick.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    const QPointF led = o(bodyX0 + 14, portD0 - 4, (portZ0 + portZ1) / 2.0);
    p.drawEllipse(led, 3, 3);

    // Arrow in the gap, in line with plug and port.
    const qreal midD = (portD0 + portD1) / 2;
    const qreal midZ = (portZ0 + portZ1) / 2;
    const QPointF from = o(plugX1 + 12, midD, midZ);
    const QPointF to = o(-10, midD, midZ);
    QPainterPath arrow;
    arrow.moveTo(from);
    arrow.lineTo(to - QPointF(12, 0));
    p.setPen(QPen(kHighlight, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arrow);
    p.setPen(QPen(kHighlight, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kHighlight);
    p.drawPolygon(QPolygonF({to + QPointF(4, 0), to + QPointF(-16, -12), to + QPointF(-16, 12)}));
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------------------
// Step 2: the handset with its four buttons (a still picture for the blue look, animated for the green one).

struct Button
{
    QString letter;
    QColor colour;
};

const Button kButtons[4] = {
    {QStringLiteral("A"), QColor(0xe5, 0x48, 0x4d)},
    {QStringLiteral("B"), QColor(0xf0, 0xa0, 0x20)},
    {QStringLiteral("C"), QColor(0x30, 0xa4, 0x6c)},
    {QStringLiteral("D"), QColor(0x3e, 0x8e, 0xd0)},
};

struct HandsetPose
{
    QPointF centre{110, 130};
    int lit = -1; // button shown glowing
    bool dimOthers = false;
    int waves = 0;      // radio arcs above the handset, 0..3
    bool solar = false; // battery-free handsets show a solar strip where the others have a status light
};

QPointF buttonCentre(const HandsetPose &pose, int index)
{
    const qreal dx = (index % 2 == 0) ? -23 : 23;
    const qreal dy = (index < 2) ? 3 : 45;
    return pose.centre + QPointF(dx, dy);
}

void drawWaves(QPainter &p, QPointF origin, int count, const QColor &colour)
{
    for (int i = 0; i < count; ++i) {
        const qreal r = 14 + 13 * i;
        QColor c = colour;
        c.setAlphaF(float(1.0 - 0.22 * i));
        p.setPen(QPen(c, 5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(origin.x() - r, origin.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
    }
}

void drawHandset(QPainter &p, const Look &look, const HandsetPose &pose)
{
    const QRectF shell(pose.centre.x() - 56, pose.centre.y() - 84, 112, 164);
    QPainterPath body;
    body.addRoundedRect(shell, 30, 30);
    dropShadow(p, body, 12, QPointF(3, 6), QColor(10, 30, 40, 90));

    QLinearGradient fill(shell.topLeft(), shell.bottomRight());
    fill.setColorAt(0, shade(look.accent, 0.18));
    fill.setColorAt(1, look.dark);
    p.fillPath(body, fill);
    p.strokePath(body, QPen(shade(look.dark, -0.2), 2));

    // Light face plate so the coloured buttons stand out on either look.
    const QRectF plate(shell.left() + 10, shell.top() + 56, shell.width() - 20, shell.height() - 64);
    QPainterPath platePath;
    platePath.addRoundedRect(plate, 22, 22);
    p.fillPath(platePath, QColor(0xf4, 0xf7, 0xf9));

    if (pose.solar) {
        const QRectF panel(shell.left() + 20, shell.top() + 14, shell.width() - 40, 28);
        QPainterPath panelPath;
        panelPath.addRoundedRect(panel, 6, 6);
        QLinearGradient cells(panel.topLeft(), panel.bottomRight());
        cells.setColorAt(0, QColor(0x2c, 0x3e, 0x5a));
        cells.setColorAt(1, QColor(0x17, 0x22, 0x33));
        p.fillPath(panelPath, cells);
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        for (int i = 1; i < 4; ++i) {
            const qreal x = panel.left() + panel.width() * i / 4;
            p.drawLine(QPointF(x, panel.top() + 2), QPointF(x, panel.bottom() - 2));
        }
        p.drawLine(QPointF(panel.left() + 2, panel.center().y()),
                   QPointF(panel.right() - 2, panel.center().y()));
    } else {
        // Status light and speaker slot.
        p.setPen(Qt::NoPen);
        QRadialGradient ledGlow(QPointF(shell.center().x(), shell.top() + 20), 9);
        ledGlow.setColorAt(0, QColor(0xd8, 0xff, 0xd8));
        ledGlow.setColorAt(0.5, QColor(0x5c, 0xe0, 0x6a));
        ledGlow.setColorAt(1, QColor(0x2e, 0x9b, 0x3a));
        p.setBrush(ledGlow);
        p.drawEllipse(QPointF(shell.center().x(), shell.top() + 20), 7, 7);
        p.setBrush(QColor(0, 0, 0, 60));
        p.drawRoundedRect(QRectF(shell.center().x() - 22, shell.top() + 36, 44, 6), 3, 3);
    }

    const QFont letterFont = boldFont(24);
    for (int i = 0; i < 4; ++i) {
        const QPointF c = buttonCentre(pose, i);
        QColor colour = kButtons[i].colour;
        const bool lit = i == pose.lit;
        if (pose.dimOthers && !lit)
            colour = mix(colour, QColor(0xd5, 0xdb, 0xe0), 0.55);
        if (lit) {
            QRadialGradient glow(c, 38);
            QColor inner = kButtons[i].colour;
            inner.setAlpha(150);
            QColor outer = inner;
            outer.setAlpha(0);
            glow.setColorAt(0.45, inner);
            glow.setColorAt(1, outer);
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(c, 38, 38);
        }
        QRadialGradient cap(c + QPointF(-6, -7), 26);
        cap.setColorAt(0, shade(colour, lit ? 0.45 : 0.2));
        cap.setColorAt(1, shade(colour, lit ? 0.0 : -0.15));
        p.setPen(QPen(shade(colour, -0.3), 1.5));
        p.setBrush(cap);
        p.drawEllipse(c, 19, 19);
        const QPainterPath letter = centredText(kButtons[i].letter, letterFont, c);
        p.fillPath(letter, Qt::white);
    }

    if (pose.waves > 0)
        drawWaves(p, QPointF(shell.center().x(), shell.top() - 4), pose.waves, look.accent);
}

// A stylised finger coming in from the lower right, its tip resting on `tip`.
void drawFinger(QPainter &p, QPointF tip)
{
    const QColor skin(0xf4, 0xc7, 0xa1);
    const QColor skinShade(0xdc, 0xa0, 0x78);
    p.save();
    p.translate(tip);
    p.rotate(-38); // finger points up and to the left
    QPainterPath finger;
    finger.addRoundedRect(QRectF(-15, -4, 30, 130), 15, 15);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(-28, 78, 78, 90), 34, 34);
    const QPainterPath whole = finger.united(hand);
    dropShadow(p, whole, 10, QPointF(-4, 6), QColor(40, 20, 10, 80));
    QLinearGradient fill(QPointF(-16, 0), QPointF(16, 0));
    fill.setColorAt(0, skin);
    fill.setColorAt(1, skinShade);
    p.fillPath(whole, fill);
    p.strokePath(whole, QPen(shade(skinShade, -0.25), 1.5));
    // Nail and a knuckle crease.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xfb, 0xe6, 0xd8));
    p.drawRoundedRect(QRectF(-9, 1, 18, 22), 8, 8);
    p.setPen(QPen(shade(skinShade, -0.15), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-7, 48), QPointF(7, 48));
    p.restore();
}

QImage pressAnyButton()
{
    QImage image = canvas(220, 220);
    QPainter p(&image);
    prepare(p);
    HandsetPose pose;
    pose.centre = QPointF(92, 130);
    pose.lit = 1;
    pose.waves = 3;
    drawHandset(p, kBlueLook, pose);
    // Small click rays around the pressed button.
    const QPointF c = buttonCentre(pose, 1);
    p.setPen(QPen(kHighlight, 3.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const qreal angle = qDegreesToRadians(-80.0 + i * 40);
        const QPointF dir(std::cos(angle), std::sin(angle));
        p.drawLine(c + dir * 25, c + dir * 34);
    }
    // The tip rests on the lower edge of the button so its letter stays readable.
    drawFinger(p, c + QPointF(10, 12));
    p.end();
    return image;
}

std::vector<gif::Frame> senderAnimation()
{
    // Each button glows for two frames (400 ms) while the radio arcs grow, then the next one takes over.
    std::vector<gif::Frame> frames;
    for (int f = 0; f < 8; ++f) {
        QImage image = canvas(220, 220);
        QPainter p(&image);
        prepare(p);
        HandsetPose pose;
        pose.centre = QPointF(110, 130);
        pose.lit = f / 2;
        pose.dimOthers = true;
        pose.waves = (f % 2 == 0) ? 1 : 3;
        pose.solar = true;
        drawHandset(p, kGreenLook, pose);
        p.end();
        frames.push_back({image, 200});
    }
    return frames;
}

// ---------------------------------------------------------------------------------------------------------
// Step 3: keyboard in gentle perspective, space bar lit and pressed.

QImage startWithSpace()
{
    const int width = 420;
    const int height = 210;
    QImage image = canvas(width, height);
    QPainter p(&image);
    prepare(p);

    const QRectF flat(0, 0, 400, 150);
    const QPolygonF place({QPointF(52, 46), QPointF(368, 46), QPointF(412, 186), QPointF(8, 186)});
    QTransform map;
    QTransform::quadToQuad(corners(flat), place, map);
    const auto mapped = [&map](const QRectF &r) {
        return map.map(corners(r));
    };

    // Thickness below the front edge, then the shadow.
    const QPolygonF rim({QPointF(8, 186), QPointF(412, 186), QPointF(406, 198), QPointF(14, 198)});
    dropShadow(p, polygonPath(place).united(polygonPath(rim)), 14, QPointF(0, 6), QColor(20, 30, 40, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xae, 0xb8, 0xc3));
    p.drawPolygon(rim);
    QLinearGradient caseFill(QPointF(0, 46), QPointF(0, 186));
    caseFill.setColorAt(0, QColor(0xb9, 0xc3, 0xce));
    caseFill.setColorAt(1, QColor(0xcc, 0xd4, 0xdc));
    p.setBrush(caseFill);
    p.setPen(QPen(QColor(0x9a, 0xa5, 0xb1), 1.5));
    p.drawPolygon(place);

    // Rows as key widths in units; the bottom row carries the wide space bar.
    const std::vector<std::vector<qreal>> rows = {
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2},    {1.5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1.5},
        {1.75, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2.25}, {2.25, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2.75},
        {1.5, 1.25, 1.25, 6.5, 1.25, 1.25, 1.5, 0.5},
    };
    const qreal margin = 10;
    const qreal unit = (flat.width() - 2 * margin) / 15.0;
    const qreal rowHeight = (flat.height() - 2 * margin) / rows.size();
    QRectF space;
    for (size_t r = 0; r < rows.size(); ++r) {
        qreal x = margin;
        for (size_t k = 0; k < rows[r].size(); ++k) {
            const qreal w = rows[r][k] * unit;
            const QRectF key(x + 1.6, margin + r * rowHeight + 1.6, w - 3.2, rowHeight - 3.2);
            x += w;
            if (r == 4 && k == 7)
                continue; // spacer at the end of the bottom row
            if (r == 4 && k == 3) {
                space = key;
                continue;
            }
            // A lip under each cap makes the keys read as raised.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x8a, 0x96, 0xa3));
            p.drawPolygon(mapped(key.translated(0, 1.8)));
            p.setBrush(QColor(0xfb, 0xfc, 0xfd));
            p.drawPolygon(mapped(key.adjusted(0, 0, 0, -1.5)));
        }
    }

    // Space bar: glowing and pushed down a little.
    const QPolygonF spaceShape = mapped(space);
    QPainterPath glowPath = polygonPath(spaceShape);
    dropShadow(p, glowPath, 16, QPointF(0, 0), QColor(0xff, 0xa0, 0x00, 230));
    const QPolygonF pressed = mapped(space.translated(0, 1.2));
    QLinearGradient spaceFill(pressed.boundingRect().topLeft(), pressed.boundingRect().bottomLeft());
    spaceFill.setColorAt(0, QColor(0xff, 0xdb, 0x6e));
    spaceFill.setColorAt(1, kHighlight);
    p.setPen(QPen(QColor(0xc7, 0x7c, 0x00), 1.5));
    p.setBrush(spaceFill);
    p.drawPolygon(pressed);
    // The open-box sign for "space".
    const QPointF mid = map.map(space.center() + QPointF(0, 1.2));
    QPainterPath sign;
    sign.moveTo(mid + QPointF(-16, -4));
    sign.lineTo(mid + QPointF(-16, 4));
    sign.lineTo(mid + QPointF(16, 4));
    sign.lineTo(mid + QPointF(16, -4));
    p.setPen(QPen(QColor(0x7a, 0x4a, 0x00), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sign);

    // Arrow pressing down on the bar, outlined in white so it stays clear above the keys.
    const QPointF tipPoint = map.map(QPointF(space.center().x(), space.top())) - QPointF(0, 4);
    QPainterPath arrow;
    const qreal shaft = 9;
    const qreal head = 24;
    const qreal top = 2;
    arrow.moveTo(tipPoint);
    arrow.lineTo(tipPoint + QPointF(-head, -head));
    arrow.lineTo(tipPoint + QPointF(-shaft, -head));
    arrow.lineTo(QPointF(tipPoint.x() - shaft, top));
    arrow.lineTo(QPointF(tipPoint.x() + shaft, top));
    arrow.lineTo(tipPoint + QPointF(shaft, -head));
    arrow.lineTo(tipPoint + QPointF(head, -head));
    arrow.closeSubpath();
    dropShadow(p, arrow, 8, QPointF(2, 4), QColor(20, 30, 40, 110));
    p.strokePath(arrow, QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient arrowFill(QPointF(0, top), tipPoint);
    arrowFill.setColorAt(0, QColor(0x4a, 0x56, 0x62));
    arrowFill.setColorAt(1, QColor(0x2b, 0x34, 0x3d));
    p.fillPath(arrow, arrowFill);
    p.end();
    return image;
}

void generateStartScreen(const QDir &root)
{
    const auto path = [&root](const QString &name) {
        return root.filePath(QStringLiteral("resources/images/") + name);
    };
    artwork::save(plugInReceiver(kBlueLook), path(QStringLiteral("usb einstecken_morvane.png")), "png");
    artwork::save(plugInReceiver(kGreenLook), path(QStringLiteral("usb_einstecken.png")), "png");
    artwork::save(pressAnyButton(), path(QStringLiteral("beliebige Taste druecken_morvane.png")), "png");
    artwork::save(startWithSpace(), path(QStringLiteral("starten mit Leerschlag.png")), "png");

    gif::Options options;
    // The start screen is light; blending soft edges onto white keeps the glow and shadow smooth there.
    options.matte = Qt::white;
    options.alphaThreshold = 24;
    gif::write(path(QStringLiteral("sender_1.gif")), senderAnimation(), options);
}

static artwork::Register registration("startscreen", &generateStartScreen);

} // namespace
