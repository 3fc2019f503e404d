#pragma once

// Drawing helpers shared by the template pictures (tiles, handsets, leaves, start screen, samples).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace scenes {

// Accent colours of the two start-screen looks (the pages use the same values for their headings).
namespace colours {
inline const QColor blue{0x33, 0x84, 0xb5};
inline const QColor green{0x05, 0x63, 0x05};
} // namespace colours

// A transparent canvas in the format QPainter draws fastest and most exactly into.
QImage canvas(int width, int height);

// Painter with smooth shapes and text; every picture wants both.
void prepare(QPainter &painter);

QFont boldFont(qreal pixelSize, const QString &family = QStringLiteral("DejaVu Sans"));

QColor mix(const QColor &a, const QColor &b, qreal t);
QColor shade(const QColor &c, qreal lightness);

// Soft drop shadow: the shape rendered in `colour`, blurred, drawn at `offset` under what comes next.
void dropShadow(QPainter &painter, const QPainterPath &shape, qreal blurRadius, QPointF offset,
                const QColor &colour);

// Gaussian-like blur (three box passes) of a premultiplied image.
QImage blurred(const QImage &image, int radius);

// Text as a path, centred on the visual bounds of its glyphs rather than the font box:
// digits in badges otherwise sit visibly low.
QPainterPath centredText(const QString &text, const QFont &font, QPointF centre);

// Largest font (up to `pixelSize`) whose glyphs fit into `box`.
QFont fittingFont(const QString &text, qreal pixelSize, QSizeF box,
                  const QString &family = QStringLiteral("DejaVu Sans"));

// Deterministic pseudo-random numbers: pictures must come out byte-identical on every run.
class Random final
{
public:
    explicit Random(quint32 seed)
        : m_state((seed * 2654435761u + 0x9e3779b9u) | 1u) // xorshift must never hold 0
    {
    }

    quint32 next()
    {
        // xorshift32
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    double uniform(double lo, double hi) { return lo + (hi - lo) * (next() / 4294967296.0); }
    int integer(int lo, int hiInclusive) { return lo + int(next() % quint32(hiInclusive - lo + 1)); }

private:
    quint32 m_state = 1;
};

// The shape of a simple leaf centred on the origin, tip up, `length` from base to tip.
// `asymmetry` (-1 to 1) moves the widest point towards the tip or the base.
QPainterPath leafShape(qreal length, qreal width, qreal asymmetry = 0.0);

} // namespace scenes
