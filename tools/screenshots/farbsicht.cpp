#include "farbsicht.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The matrix works on light, not on the gamma-encoded values a PNG stores.
double linear(double wert)
{
    return wert <= 0.04045 ? wert / 12.92 : std::pow((wert + 0.055) / 1.055, 2.4);
}

int kodiert(double wert)
{
    wert = std::clamp(wert, 0.0, 1.0);
    const double s = wert <= 0.0031308 ? wert * 12.92 : 1.055 * std::pow(wert, 1.0 / 2.4) - 0.055;
    return int(std::lround(s * 255.0));
}

constexpr std::array<std::array<double, 3>, 3> Deuteranopie{{
    {0.367322, 0.860646, -0.227968},
    {0.280085, 0.672501, 0.047413},
    {-0.011820, 0.042940, 0.968881},
}};

} // namespace

QImage Farbsicht::deuteranopie(const QImage &bild)
{
    std::array<double, 256> licht{};
    for (int i = 0; i < 256; ++i)
        licht[i] = linear(i / 255.0);

    QImage ergebnis = bild.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < ergebnis.height(); ++y) {
        auto *zeile = reinterpret_cast<QRgb *>(ergebnis.scanLine(y));
        for (int x = 0; x < ergebnis.width(); ++x) {
            const QRgb p = zeile[x];
            const std::array<double, 3> ein{licht[qRed(p)], licht[qGreen(p)], licht[qBlue(p)]};
            std::array<int, 3> aus{};
            for (int k = 0; k < 3; ++k)
                aus[k] = kodiert(Deuteranopie[k][0] * ein[0] + Deuteranopie[k][1] * ein[1] +
                                 Deuteranopie[k][2] * ein[2]);
            zeile[x] = qRgba(aus[0], aus[1], aus[2], qAlpha(p));
        }
    }
    return ergebnis;
}
