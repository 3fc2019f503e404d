#include "qrcode.h"

#include <qrencode.h>

#include <memory>

namespace {

// The margin readers need around the code to find it.
constexpr int Ruhezone = 4;

} // namespace

QVector<QVector<bool>> QrCode::module(const QByteArray &text)
{
    if (text.isEmpty())
        return {};
    // Binary mode: an address with a join code is taken byte for byte, whatever characters it has.
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(text.size()), reinterpret_cast<const unsigned char *>(text.constData()), 0,
                          QR_ECLEVEL_M),
        &QRcode_free);
    if (!code)
        return {};
    const int n = code->width;
    QVector<QVector<bool>> zeilen(n, QVector<bool>(n, false));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            zeilen[y][x] = code->data[y * n + x] & 1;
    return zeilen;
}

QString QrCode::svg(const QByteArray &text)
{
    const QVector<QVector<bool>> zeilen = module(text);
    if (zeilen.isEmpty())
        return {};
    const int seite = int(zeilen.size()) + 2 * Ruhezone;
    // Each run of dark modules in a row is one rectangle of the path.
    QString pfad;
    for (int y = 0; y < zeilen.size(); ++y) {
        const QVector<bool> &zeile = zeilen[y];
        for (int x = 0; x < zeile.size();) {
            if (!zeile[x]) {
                ++x;
                continue;
            }
            int ende = x;
            while (ende < zeile.size() && zeile[ende])
                ++ende;
            const int laenge = ende - x;
            pfad += QStringLiteral("M%1 %2h%3v1h-%3z").arg(x + Ruhezone).arg(y + Ruhezone).arg(laenge);
            x = ende;
        }
    }
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %1\" "
                          "shape-rendering=\"crispEdges\"><rect width=\"%1\" height=\"%1\" fill=\"#fff\"/>"
                          "<path fill=\"#000\" d=\"%2\"/></svg>")
        .arg(seite)
        .arg(pfad);
}
