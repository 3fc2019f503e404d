// "editoricons" generator: the arrows and picture buttons of the question editor, drawn with the
// kit of the menu icons so they sit in the same family.

#include "artwork.h"
#include "icons.h"

namespace {

using namespace icons;

// One arrow motif pointing right; the other directions are the same drawing turned, so all four
// buttons match exactly.
void arrowRight(QPainter &p)
{
    shape(p, roundedRect(QRectF(3, 3, 58, 58), 12), colour::blueLight, 2.0);
    shape(p, arrow({10, 32}, {55, 32}, 14, 21, 38), colour::blue);
}

Motif turned(qreal degrees)
{
    return [degrees](QPainter &p) {
        p.save();
        p.translate(32, 32);
        p.rotate(degrees);
        p.translate(-32, -32);
        arrowRight(p);
        p.restore();
    };
}

void camera(QPainter &p)
{
    // Body with the viewfinder hump on top and the shutter button at the left.
    shape(p, roundedRect(QRectF(7, 12, 11, 6), 2), colour::greyDark, 2.0);
    shape(p, roundedPolygon({{19, 17}, {24, 9}, {40, 9}, {45, 17}}, 2.5), colour::greyDark, 2.4);
    shape(p, roundedRect(QRectF(3, 16, 52, 36), 6), colour::grey);
    shape(p, roundedRect(QRectF(3, 22, 52, 6), 0), colour::greyDark, 0);
    shape(p, circle({30, 34}, 14), colour::greyLight, 2.4);
    shape(p, circle({30, 34}, 9.5), colour::blueDark, 2.0);
    shape(p, circle({27, 31}, 3), colour::blueLight, 0);
}

// Round badge at the lower right; it tells whether the button adds or removes a picture.
void badge(QPainter &p, const QColor &fill, bool plus)
{
    const QPointF centre(48, 48);
    shape(p, circle(centre, 14), fill);
    stroke(p, centre - QPointF(7.5, 0), centre + QPointF(7.5, 0), colour::paper, 5);
    if (plus)
        stroke(p, centre - QPointF(0, 7.5), centre + QPointF(0, 7.5), colour::paper, 5);
}

void cameraPlus(QPainter &p)
{
    camera(p);
    badge(p, colour::green, true);
}

void cameraMinus(QPainter &p)
{
    camera(p);
    badge(p, colour::red, false);
}

void generateEditorIcons(const QDir &root)
{
    const QString images = root.filePath(QStringLiteral("resources/images/"));
    const struct
    {
        const char *file;
        Motif motif;
    } icons[] = {
        {"pfeil_rechts.png", turned(0)}, {"pfeil.png", turned(90)},    {"pfeil_links.png", turned(180)},
        {"pfeil_oben.png", turned(270)}, {"cam_plus.png", cameraPlus}, {"cam_minus.png", cameraMinus},
    };
    for (const auto &icon : icons)
        artwork::save(render(icon.motif, 64), images + QLatin1String(icon.file), "png");
}

const artwork::Register registration("editoricons", &generateEditorIcons);

} // namespace
