// Handset icons of the blue template: one per handset number, blue once it has answered,
// green when its answer was right.

#include "artwork.h"
#include "scenes_common.h"

#include <QLinearGradient>

namespace {

using namespace scenes;

struct Body
{
    QColor top;
    QColor bottom;
    QColor outline;
};

QImage handset(int number, const Body &body)
{
    QImage image = canvas(100, 100);
    QPainter p(&image);
    prepare(p);

    // Slightly taller than wide like a remote control, yet wide enough for two big digits.
    const QRectF shell(9, 3, 82, 92);
    QPainterPath shape;
    shape.addRoundedRect(shell, 20, 20);
    dropShadow(p, shape, 5, QPointF(0, 2), QColor(0, 0, 0, 90));

    QLinearGradient fill(shell.topLeft(), shell.bottomLeft());
    fill.setColorAt(0, body.top);
    fill.setColorAt(1, body.bottom);
    p.fillPath(shape, fill);

    p.save();
    p.setClipPath(shape);
    QLinearGradient sheen(shell.topLeft(), QPointF(shell.left(), shell.top() + 40));
    sheen.setColorAt(0, QColor(255, 255, 255, 60));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(shell, sheen);
    p.restore();
    p.strokePath(shape, QPen(body.outline, 2));

    // Receiver window at the top and four button dots at the bottom say "handset" even at 50 px.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(QRectF(36, 9, 28, 6), 3, 3);
    p.setBrush(QColor(255, 255, 255, 150));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(29 + i * 14, 85), 3.6, 3.6);

    const QString text = QString::number(number);
    const QFont font = fittingFont(text, 52, QSizeF(68, 50));
    const QPainterPath digits = centredText(text, font, QPointF(50, 48));
    p.fillPath(digits.translated(0, 1.8), QColor(0, 0, 0, 80));
    p.fillPath(digits, Qt::white);
    p.end();
    return image;
}

void generateHandsets(const QDir &root)
{
    const Body blue{QColor(0x4a, 0x9c, 0xd2), QColor(0x24, 0x66, 0x98), QColor(0x1b, 0x55, 0x80)};
    const Body green{QColor(0x4f, 0xbb, 0x58), QColor(0x27, 0x8a, 0x32), QColor(0x1e, 0x72, 0x28)};
    for (int n = 1; n <= 60; ++n) {
        artwork::save(handset(n, blue),
                      root.filePath(QStringLiteral("resources/IconGeraeteIDMorvane/%1_0_blau.png").arg(n)),
                      "png");
        artwork::save(handset(n, green),
                      root.filePath(QStringLiteral("resources/IconGeraeteIDMorvane/%1_0_gruen.png").arg(n)),
                      "png");
    }
}

static artwork::Register registration("handsets", &generateHandsets);

} // namespace
