#pragma once

#include <QHashFunctions>
#include <QString>
#include <QtGlobal>

// Phones that vote through the program's own server form a class set of their own. A receiver
// reports class sets in 16 bits, so this one is never a real class set and a phone never merges
// with a handset in the results.
inline constexpr uint HandyKlassensatz = 65536;

inline bool istHandy(uint klassensatz)
{
    return klassensatz == HandyKlassensatz;
}

// A participant as the results name it: a phone as "Handy 7" ("Phone 7"), a handset by its number,
// followed by its class set after a slash where several class sets take part.
inline QString geraetText(uint klassensatz, uint buzzerNo, bool mitKlassensatz, bool englisch)
{
    if (istHandy(klassensatz))
        return (englisch ? QStringLiteral("Phone ") : QStringLiteral("Handy ")) + QString::number(buzzerNo);
    QString text = QString::number(buzzerNo);
    if (mitKlassensatz)
        text += QLatin1Char('/') + QString::number(klassensatz);
    return text;
}

// One handset: class set and handset number together, so class set 1 handset 12 and class set 11
// handset 2 stay two handsets (a decimal concatenation of the two would merge them).
struct GeraetSchluessel
{
    uint klassensatz = 0;
    uint buzzerNo = 0;

    friend bool operator==(GeraetSchluessel a, GeraetSchluessel b)
    {
        return a.klassensatz == b.klassensatz && a.buzzerNo == b.buzzerNo;
    }
    friend bool operator!=(GeraetSchluessel a, GeraetSchluessel b) { return !(a == b); }
    friend size_t qHash(GeraetSchluessel s, size_t seed = 0) noexcept
    {
        return qHash((quint64(s.klassensatz) << 32) | s.buzzerNo, seed);
    }
};
