// "pdfbilder" generator: the pictures of the PDF report (logo, ticks, answer boxes). They are printed
// small (logo 50 px, the rest 10 px high) at printer resolution, so they are drawn much larger and
// kept to plain shapes in few colours that stay crisp when scaled down.

#include "artwork.h"
#include "icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

using namespace icons;

const QColor kSchwarz{0x10, 0x10, 0x10};
const QColor kGruen{0x00, 0xc0, 0x1a};
const QColor kRot{0xe0, 0x10, 0x10};

// A tick drawn on a 64 grid, reaching a little over the box's right edge like a hand-made mark.
QPainterPath hakenLinie()
{
    QPainterPath linie;
    linie.moveTo(10, 34);
    linie.lineTo(26, 50);
    linie.lineTo(56, 12);
    return linie;
}

QImage haken(const QColor &farbe)
{
    return render(
        [&](QPainter &p) {
            p.setPen(QPen(farbe, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(hakenLinie());
        },
        128);
}

QImage kaestchen(const QColor &farbe, bool angekreuzt)
{
    return render(
        [&](QPainter &p) {
            p.setPen(QPen(farbe, 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6, 6, 52, 52));
            if (angekreuzt) {
                p.setPen(QPen(farbe, 7, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(17, 17), QPointF(47, 47));
                p.drawLine(QPointF(47, 17), QPointF(17, 47));
            }
        },
        128);
}

// The handset of the window icon beside the maker's and the product's name.
QImage logo()
{
    const int hoehe = 200;
    QImage bild(760, hoehe, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(QRectF(0, 0, hoehe, hoehe), applicationIcon(256));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x23, 0x5f, 0xa0));
    p.drawPath(text(QStringLiteral("Corvanta"), QRectF(225, 22, 520, 100)));
    p.setBrush(QColor(0x55, 0x6d, 0x87));
    p.drawPath(text(QStringLiteral("PLENARO"), QRectF(228, 138, 300, 44)));
    p.setBrush(colour::orange);
    p.drawRect(QRectF(545, 152, 190, 14));
    p.end();
    return bild;
}

void generatePdfBilder(const QDir &root)
{
    const QString ordner = root.filePath(QStringLiteral("resources/imagespdf")) + QLatin1Char('/');
    artwork::save(logo(), ordner + QStringLiteral("corvantalogo.png"), "png");
    artwork::save(haken(kSchwarz), ordner + QStringLiteral("haken_schwarz.png"), "png");
    artwork::save(haken(kGruen), ordner + QStringLiteral("haken_hellgruen.png"), "png");
    artwork::save(haken(kRot), ordner + QStringLiteral("haken_rot.png"), "png");
    const struct
    {
        const char *name;
        QColor farbe;
    } kaesten[] = {{"sw", kSchwarz}, {"green", kGruen}, {"rot", kRot}};
    for (const auto &k : kaesten) {
        const QString basis = ordner + QStringLiteral("checkbox_") + QLatin1String(k.name);
        artwork::save(kaestchen(k.farbe, false), basis + QStringLiteral("_f.png"), "png");
        artwork::save(kaestchen(k.farbe, true), basis + QStringLiteral("_t.png"), "png");
    }
}

const artwork::Register registrierung(QStringLiteral("pdfbilder"), &generatePdfBilder);

} // namespace
