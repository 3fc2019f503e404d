#include "bildvergleich.h"

#include <QImageReader>

#include <algorithm>
#include <cstdlib>

namespace Bildvergleich {

Bilddatei lesen(const QString &pfad, QString &fehler)
{
    QImageReader leser(pfad);
    const int anzahl = leser.imageCount();
    if (anzahl < 1) {
        fehler = leser.errorString();
        return {};
    }
    Bilddatei datei;
    datei.wiederholungen = leser.loopCount();
    for (int i = 0; i < anzahl; ++i) {
        // An icon file jumps to each of its sizes; an animation cannot jump and reads on frame by
        // frame.
        if (i > 0)
            leser.jumpToImage(i);
        const QImage bild = leser.read();
        if (bild.isNull()) {
            fehler = QStringLiteral("frame %1: %2").arg(i).arg(leser.errorString());
            return {};
        }
        datei.einzelbilder.append(bild);
        datei.pausen.append(leser.nextImageDelay());
    }
    return datei;
}

namespace {

QString einzelbildUnterschied(const QImage &neuesBild, const QImage &altesBild)
{
    if (neuesBild.size() != altesBild.size()) {
        return QStringLiteral("%1x%2 instead of %3x%4")
            .arg(neuesBild.width())
            .arg(neuesBild.height())
            .arg(altesBild.width())
            .arg(altesBild.height());
    }
    // Premultiplied, the colour of a pixel counts only as far as it shows: nobody sees the
    // colour of a transparent one.
    const QImage neu = neuesBild.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage alt = altesBild.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    qsizetype abweichend = 0;
    int groesste = 0;
    for (int y = 0; y < neu.height(); ++y) {
        const auto *n = reinterpret_cast<const QRgb *>(neu.constScanLine(y));
        const auto *a = reinterpret_cast<const QRgb *>(alt.constScanLine(y));
        for (int x = 0; x < neu.width(); ++x) {
            const int abstand =
                std::max({std::abs(qAlpha(n[x]) - qAlpha(a[x])), std::abs(qRed(n[x]) - qRed(a[x])),
                          std::abs(qGreen(n[x]) - qGreen(a[x])), std::abs(qBlue(n[x]) - qBlue(a[x]))});
            groesste = std::max(groesste, abstand);
            if (abstand > Schwelle)
                ++abweichend;
        }
    }
    const qsizetype pixel = qsizetype(neu.width()) * neu.height();
    if (abweichend <= std::max(Boden, qsizetype(pixel * Anteil)))
        return {};
    return QStringLiteral("%1 of %2 pixels differ by more than %3, up to %4 of 255")
        .arg(abweichend)
        .arg(pixel)
        .arg(Schwelle)
        .arg(groesste);
}

QString wiederholt(int wiederholungen)
{
    return wiederholungen < 0 ? QStringLiteral("forever") : QStringLiteral("%1 times").arg(wiederholungen);
}

} // namespace

QString unterschied(const Bilddatei &neu, const Bilddatei &alt)
{
    if (neu.einzelbilder.size() != alt.einzelbilder.size())
        return QStringLiteral("%1 frames instead of %2")
            .arg(neu.einzelbilder.size())
            .arg(alt.einzelbilder.size());
    if (neu.wiederholungen != alt.wiederholungen)
        return QStringLiteral("repeats %1 instead of %2")
            .arg(wiederholt(neu.wiederholungen), wiederholt(alt.wiederholungen));
    const bool animiert = neu.einzelbilder.size() > 1;
    for (qsizetype i = 0; i < neu.einzelbilder.size(); ++i) {
        const QString vorne = animiert ? QStringLiteral("frame %1: ").arg(i) : QString();
        if (neu.pausen.value(i) != alt.pausen.value(i))
            return vorne + QStringLiteral("stays %1 ms instead of %2")
                               .arg(neu.pausen.value(i))
                               .arg(alt.pausen.value(i));
        const QString grund = einzelbildUnterschied(neu.einzelbilder.at(i), alt.einzelbilder.at(i));
        if (!grund.isEmpty())
            return vorne + grund;
    }
    return {};
}

} // namespace Bildvergleich
