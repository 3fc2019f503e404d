// Pictures for the bundled sample questions: a question about shapes with picture answers, and a globe.

#include "artwork.h"
#include "scenes_common.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>
#include <QVector3D>

#include <cmath>
#include <vector>

namespace {

using namespace scenes;

enum class Shape { Triangle, Square, Circle, Hexagon };

// Each shape sized so that they look equally big: a circle of the same width looks larger than a triangle.
QPainterPath shapePath(Shape shape, QPointF centre, qreal size, qreal rotation = 0)
{
    QPainterPath path;
    const auto regular = [&](int corners, qreal radius, qreal startDegrees) {
        QPolygonF polygon;
        for (int i = 0; i < corners; ++i) {
            const qreal a = qDegreesToRadians(startDegrees + rotation + 360.0 * i / corners);
            polygon << centre + QPointF(std::cos(a), std::sin(a)) * radius;
        }
        path.addPolygon(polygon);
        path.closeSubpath();
    };
    switch (shape) {
    case Shape::Triangle:
        regular(3, size * 0.6, -90);
        // The centroid sits high in the bounding box; move it down so the triangle looks centred.
        path.translate(0, size * 0.6 / 4);
        break;
    case Shape::Square:
        regular(4, size * 0.58, 45);
        break;
    case Shape::Circle:
        path.addEllipse(centre, size * 0.45, size * 0.45);
        break;
    case Shape::Hexagon:
        regular(6, size * 0.52, 0);
        break;
    }
    return path;
}

// Flat shape with a gentle top light, a darker rim and a soft shadow.
void drawShape(QPainter &p, const QPainterPath &path, const QColor &colour, qreal shadowBlur = 10)
{
    dropShadow(p, path, shadowBlur, QPointF(0, shadowBlur * 0.45), QColor(20, 30, 50, 70));
    const QRectF box = path.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, shade(colour, 0.18));
    fill.setColorAt(1, shade(colour, -0.08));
    p.fillPath(path, fill);
    p.strokePath(path, QPen(shade(colour, -0.28), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QPainterPath card(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void drawCard(QPainter &p, const QRectF &rect, qreal radius)
{
    const QPainterPath path = card(rect, radius);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(0xfb, 0xfc, 0xfe));
    fill.setColorAt(1, QColor(0xee, 0xf2, 0xf7));
    p.fillPath(path, fill);
    p.strokePath(path, QPen(QColor(0xd5, 0xdd, 0xe6), 2));
}

const QColor kRed(0xe5, 0x48, 0x4d);
const QColor kBlue(0x33, 0x84, 0xb5);
const QColor kAmber(0xf2, 0xa2, 0x1e);
const QColor kGreen(0x30, 0xa4, 0x6c);
const QColor kPurple(0x86, 0x4c, 0xbf);
const QColor kTeal(0x1f, 0xa3, 0xa8);

QImage answerCard(Shape shape, const QColor &colour)
{
    QImage image = canvas(300, 180);
    QPainter p(&image);
    prepare(p);
    drawCard(p, QRectF(3, 3, 294, 174), 22);
    drawShape(p, shapePath(shape, QPointF(150, 88), 136), colour, 8);
    p.end();
    return image;
}

QImage scatteredShapes()
{
    QImage image = canvas(600, 360);
    QPainter p(&image);
    prepare(p);
    drawCard(p, QRectF(3, 3, 594, 354), 28);

    struct Piece
    {
        Shape shape;
        QPointF centre;
        qreal size;
        qreal rotation;
        QColor colour;
    };
    // Hand-placed so nothing overlaps and every kind appears more than once.
    const std::vector<Piece> pieces = {
        {Shape::Triangle, {88, 84}, 104, 8, kRed},      {Shape::Circle, {222, 70}, 92, 0, kAmber},
        {Shape::Hexagon, {356, 92}, 108, 10, kGreen},   {Shape::Square, {500, 80}, 92, 14, kBlue},
        {Shape::Square, {76, 238}, 86, -10, kPurple},   {Shape::Hexagon, {196, 200}, 78, 0, kTeal},
        {Shape::Triangle, {300, 262}, 112, -12, kBlue}, {Shape::Circle, {438, 236}, 112, 0, kRed},
        {Shape::Triangle, {540, 272}, 78, 20, kAmber},  {Shape::Circle, {176, 302}, 58, 0, kGreen},
        {Shape::Square, {262, 148}, 44, 30, kAmber},    {Shape::Hexagon, {530, 176}, 58, 15, kPurple},
    };
    for (const Piece &piece : pieces)
        drawShape(p, shapePath(piece.shape, piece.centre, piece.size, piece.rotation), piece.colour);
    p.end();
    return image;
}

// ---------------------------------------------------------------------------------------------------------
// Globe: coarse continent outlines in degrees (longitude, latitude), drawn in orthographic view.

using Outline = std::vector<QPointF>;

const std::vector<Outline> &continents()
{
    static const std::vector<Outline> outlines = {
        // Africa
        {{-6, 36},  {10, 37},  {11, 33},  {20, 32},  {25, 32},  {32, 31},  {34, 28},  {38, 22},
         {43, 12},  {51, 12},  {48, 5},   {41, -2},  {40, -10}, {40, -16}, {35, -24}, {32, -29},
         {27, -34}, {20, -35}, {18, -32}, {14, -23}, {12, -17}, {13, -9},  {9, -1},   {9, 4},
         {5, 6},    {-2, 5},   {-8, 4},   {-12, 7},  {-17, 14}, {-17, 21}, {-13, 27}, {-9, 32}},
        // Madagascar
        {{44, -25}, {47, -25}, {50, -16}, {49, -12}, {44, -17}},
        // Eurasia
        {{-9, 39},  {-9, 43},  {-2, 43.5}, {-1, 46},  {-4, 48},   {2, 51},      {8, 54},    {14, 54},
         {21, 55},  {24, 58},  {30, 60},   {40, 66},  {44, 68},   {55, 68},     {60, 70},   {70, 73},
         {80, 73},  {100, 77}, {112, 74},  {140, 72}, {160, 70},  {180, 66},    {170, 60},  {160, 55},
         {142, 50}, {135, 43}, {128, 38},  {122, 31}, {120, 25},  {110, 20},    {106, 10},  {103, 1},
         {100, 8},  {98, 16},  {94, 17},   {90, 22},  {86, 20},   {80, 15},     {77, 8},    {73, 20},
         {67, 25},  {57, 25},  {56, 27},   {50, 30},  {48, 29},   {51, 24},     {56, 24},   {59, 22},
         {52, 16},  {43, 13},  {39, 20},   {35, 28},  {34, 31},   {36, 36},     {30, 36},   {27, 37},
         {26, 40},  {23, 40},  {22, 37},   {21, 40},  {19.5, 42}, {13.5, 45.5}, {18.5, 40}, {16, 38},
         {10, 44},  {3, 43},   {0, 39},    {-5, 36},  {-9, 37}},
        // Scandinavia
        {{5, 58},
         {8, 58},
         {11, 59},
         {13, 56},
         {16, 56},
         {18, 60},
         {21, 63},
         {24, 66},
         {28, 71},
         {20, 70},
         {14, 68},
         {10, 64},
         {5, 62}},
        // Great Britain and Ireland
        {{-5, 50},
         {1, 51},
         {2, 53},
         {0, 54},
         {-2, 56},
         {-3, 58.5},
         {-5, 58.5},
         {-6, 56},
         {-5, 55},
         {-3, 54.5},
         {-3, 53},
         {-5, 52},
         {-4, 51.5},
         {-6, 50}},
        {{-10, 52}, {-6, 52}, {-6, 55}, {-8, 55}, {-10, 54}},
        // Iceland
        {{-24, 65}, {-22, 66.5}, {-15, 66.5}, {-13, 65}, {-18, 63.5}},
        // Greenland
        {{-50, 60},
         {-43, 60},
         {-38, 65},
         {-22, 70},
         {-20, 76},
         {-20, 82},
         {-40, 83},
         {-60, 82},
         {-72, 78},
         {-65, 76},
         {-56, 75},
         {-52, 70},
         {-53, 66}},
        // South America
        {{-77, 9},   {-72, 12},  {-63, 11},  {-60, 8},   {-52, 5},   {-50, 0},   {-44, -2},
         {-35, -5},  {-35, -9},  {-39, -15}, {-41, -22}, {-48, -26}, {-53, -34}, {-58, -38},
         {-65, -41}, {-65, -46}, {-68, -50}, {-69, -53}, {-72, -54}, {-74, -50}, {-74, -43},
         {-72, -37}, {-71, -30}, {-70, -18}, {-76, -14}, {-81, -6},  {-80, -2},  {-78, 2}},
        // North and Central America
        {{-77, 9},   {-83, 10},  {-87, 14},  {-92, 15},  {-95, 16},  {-97, 20},  {-97, 26},  {-94, 29},
         {-89, 30},  {-84, 30},  {-82, 27},  {-81, 25},  {-80, 27},  {-81, 31},  {-76, 35},  {-74, 40},
         {-70, 42},  {-66, 44},  {-61, 46},  {-64, 49},  {-56, 52},  {-60, 55},  {-62, 58},  {-65, 60},
         {-70, 62},  {-78, 62},  {-78, 58},  {-80, 52},  {-90, 57},  {-95, 59},  {-94, 62},  {-86, 66},
         {-90, 69},  {-100, 68}, {-110, 68}, {-125, 70}, {-140, 70}, {-160, 71}, {-166, 68}, {-164, 63},
         {-160, 59}, {-150, 60}, {-140, 60}, {-135, 57}, {-130, 54}, {-124, 48}, {-124, 42}, {-120, 34},
         {-117, 32}, {-110, 24}, {-105, 20}, {-100, 17}},
        // Cuba
        {{-85, 22}, {-80, 23}, {-74, 20}, {-78, 20}},
    };
    return outlines;
}

class Orthographic final
{
public:
    Orthographic(qreal centreLongitude, qreal centreLatitude, QPointF origin, qreal radius)
        : m_lambda0(qDegreesToRadians(centreLongitude))
        , m_phi0(qDegreesToRadians(centreLatitude))
        , m_origin(origin)
        , m_radius(radius)
    {
    }

    // Points on the far side are pushed onto the rim, so outlines that cross it follow the edge of the disc.
    QPointF operator()(qreal longitude, qreal latitude) const
    {
        const qreal lambda = qDegreesToRadians(longitude);
        const qreal phi = qDegreesToRadians(latitude);
        qreal x = std::cos(phi) * std::sin(lambda - m_lambda0);
        qreal y = std::cos(m_phi0) * std::sin(phi) -
                  std::sin(m_phi0) * std::cos(phi) * std::cos(lambda - m_lambda0);
        const qreal z = std::sin(m_phi0) * std::sin(phi) +
                        std::cos(m_phi0) * std::cos(phi) * std::cos(lambda - m_lambda0);
        if (z < 0) {
            const qreal length = std::hypot(x, y);
            if (length > 1e-9) {
                x /= length;
                y /= length;
            }
        }
        return m_origin + QPointF(x, -y) * m_radius;
    }

    bool visible(qreal longitude, qreal latitude) const
    {
        const qreal lambda = qDegreesToRadians(longitude);
        const qreal phi = qDegreesToRadians(latitude);
        return std::sin(m_phi0) * std::sin(phi) +
                   std::cos(m_phi0) * std::cos(phi) * std::cos(lambda - m_lambda0) >=
               0;
    }

private:
    qreal m_lambda0;
    qreal m_phi0;
    QPointF m_origin;
    qreal m_radius;
};

QPainterPath outlinePath(const Orthographic &project, const Outline &outline)
{
    // Edges are followed in small steps so long coast segments bend with the sphere.
    QPainterPath path;
    for (size_t i = 0; i < outline.size(); ++i) {
        const QPointF a = outline[i];
        const QPointF b = outline[(i + 1) % outline.size()];
        const int steps = std::max(1, int(std::ceil(std::hypot(b.x() - a.x(), b.y() - a.y()) / 2.0)));
        for (int s = 0; s < steps; ++s) {
            const QPointF q = a + (b - a) * (qreal(s) / steps);
            const QPointF point = project(q.x(), q.y());
            if (i == 0 && s == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
    }
    path.closeSubpath();
    return path;
}

QImage globe()
{
    QImage image = canvas(600, 360);
    QPainter p(&image);
    prepare(p);
    const QPointF centre(300, 170);
    const qreal radius = 152;
    const Orthographic project(-18, 22, centre, radius);

    // Shadow on the ground, then a faint halo of atmosphere.
    p.save();
    p.translate(centre.x(), 338);
    p.scale(1, 0.12);
    QRadialGradient ground(QPointF(0, 0), radius);
    ground.setColorAt(0, QColor(20, 40, 70, 90));
    ground.setColorAt(1, QColor(20, 40, 70, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawEllipse(QPointF(0, 0), radius, radius);
    p.restore();

    QRadialGradient halo(centre, radius + 14);
    halo.setColorAt(0.9, QColor(0x7f, 0xc8, 0xf2, 120));
    halo.setColorAt(1, QColor(0x7f, 0xc8, 0xf2, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(centre, radius + 14, radius + 14);

    QPainterPath sphere;
    sphere.addEllipse(centre, radius, radius);
    QRadialGradient ocean(centre + QPointF(-radius * 0.35, -radius * 0.4), radius * 1.5);
    ocean.setColorAt(0, QColor(0x6c, 0xc4, 0xf0));
    ocean.setColorAt(0.55, QColor(0x2f, 0x8b, 0xcc));
    ocean.setColorAt(1, QColor(0x17, 0x55, 0x94));
    p.fillPath(sphere, ocean);

    p.save();
    p.setClipPath(sphere);
    // Graticule every 30 degrees, only its visible half.
    p.setPen(QPen(QColor(255, 255, 255, 55), 1.3));
    p.setBrush(Qt::NoBrush);
    for (int lon = -180; lon < 180; lon += 30) {
        QPainterPath line;
        bool drawing = false;
        for (int lat = -90; lat <= 90; lat += 2) {
            if (!project.visible(lon, lat)) {
                drawing = false;
                continue;
            }
            drawing ? line.lineTo(project(lon, lat)) : line.moveTo(project(lon, lat));
            drawing = true;
        }
        p.drawPath(line);
    }
    for (int lat = -60; lat <= 60; lat += 30) {
        QPainterPath line;
        bool drawing = false;
        for (int lon = -180; lon <= 180; lon += 2) {
            if (!project.visible(lon, lat)) {
                drawing = false;
                continue;
            }
            drawing ? line.lineTo(project(lon, lat)) : line.moveTo(project(lon, lat));
            drawing = true;
        }
        p.drawPath(line);
    }

    QLinearGradient land(centre + QPointF(0, -radius), centre + QPointF(0, radius));
    land.setColorAt(0, QColor(0x9c, 0xd3, 0x6a));
    land.setColorAt(0.5, QColor(0x6f, 0xb8, 0x4c));
    land.setColorAt(1, QColor(0x4c, 0x98, 0x3c));
    for (const Outline &outline : continents()) {
        const QPainterPath path = outlinePath(project, outline);
        p.fillPath(path, land);
        p.strokePath(path,
                     QPen(QColor(0x3c, 0x7d, 0x30, 160), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    // Arctic ice; built directly because the closing edge of a full circle of longitudes would wrap around.
    QPainterPath ice;
    for (int lon = -180; lon < 180; lon += 2) {
        const QPointF point = project(lon, 78 + 2 * std::sin(qDegreesToRadians(lon * 5.0)));
        lon == -180 ? ice.moveTo(point) : ice.lineTo(point);
    }
    ice.closeSubpath();
    p.fillPath(ice, QColor(0xf4, 0xf8, 0xfb, 235));

    // Day light from the upper left, night shade to the lower right.
    QRadialGradient light(centre + QPointF(-radius * 0.45, -radius * 0.5), radius * 1.7);
    light.setColorAt(0, QColor(255, 255, 255, 70));
    light.setColorAt(0.45, QColor(255, 255, 255, 0));
    light.setColorAt(0.8, QColor(0, 20, 60, 40));
    light.setColorAt(1, QColor(0, 20, 60, 110));
    p.fillPath(sphere, light);
    p.restore();

    p.strokePath(sphere, QPen(QColor(0x14, 0x4a, 0x80, 140), 2));
    p.end();
    return image;
}

void generateSamples(const QDir &root)
{
    const auto path = [&root](const QString &name) {
        return root.filePath(QStringLiteral("examples/bilder/") + name);
    };
    artwork::save(scatteredShapes(), path(QStringLiteral("formen.png")), "png");
    artwork::save(answerCard(Shape::Triangle, kRed), path(QStringLiteral("dreieck.png")), "png");
    artwork::save(answerCard(Shape::Square, kBlue), path(QStringLiteral("quadrat.png")), "png");
    artwork::save(answerCard(Shape::Circle, kAmber), path(QStringLiteral("kreis.png")), "png");
    artwork::save(answerCard(Shape::Hexagon, kGreen), path(QStringLiteral("sechseck.png")), "png");
    artwork::save(globe(), path(QStringLiteral("weltkarte.png")), "png");
}

static artwork::Register registration("samples", &generateSamples);

} // namespace
