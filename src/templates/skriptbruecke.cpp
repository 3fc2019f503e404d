#include "skriptbruecke.h"

#include <algorithm>

void SkriptBruecke::setZoomFaktor(double faktor)
{
    m_zoom = std::clamp(faktor, MinZoom, MaxZoom);
    zoomAnwenden(m_zoom);
}

QString SkriptBruecke::text(const QString &roh)
{
    QString ergebnis = roh;
    ergebnis.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    ergebnis.replace(QLatin1Char('\''), QLatin1String("&apos;"));
    ergebnis.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    ergebnis.remove(QLatin1Char('\r'));
    ergebnis.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    ergebnis.replace(QChar(0x2028), QLatin1String("<br>"));
    ergebnis.replace(QChar(0x2029), QLatin1String("<br>"));
    return ergebnis;
}
