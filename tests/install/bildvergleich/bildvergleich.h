#pragma once

#include <QImage>
#include <QList>
#include <QString>

// Compares the pictures a generator writes with the committed ones by what a decoder shows, not
// by their bytes: another machine compresses the same drawing into other bytes, and its
// rasteriser leaves an edge pixel here and there a few levels off.
namespace Bildvergleich {

// What a decoder shows of a picture file.
struct Bilddatei
{
    QList<QImage> einzelbilder;
    // How long each frame stays, in milliseconds.
    QList<int> pausen;
    // -1: an animation repeats forever.
    int wiederholungen = 0;
};

// A channel (alpha included, colours premultiplied) this far off is rounding, wherever it is.
inline constexpr int Schwelle = 2;
// Pixels further off are antialiased edges drawn a little differently, as long as there are at
// most this many of them in a frame, or this share of it in a large one. A moved or recoloured
// shape changes far more.
inline constexpr qsizetype Boden = 6;
inline constexpr double Anteil = 0.0005;

// Every frame of the file at `pfad`; `fehler` says why when it cannot be read.
Bilddatei lesen(const QString &pfad, QString &fehler);

// Empty when `neu` shows what `alt` shows; otherwise what differs.
QString unterschied(const Bilddatei &neu, const Bilddatei &alt);

} // namespace Bildvergleich
