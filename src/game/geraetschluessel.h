#pragma once

#include <QHashFunctions>
#include <QString>
#include <QtGlobal>

// Phones that vote through the program's own server form a class set of their own. A receiver
// reports class sets in 16 bits, so this one is never a real class set and a phone never merges
// with a handset in the results.
inline constexpr uint HandyKlassensatz = 65536;

// A class set as the results show it: phones as such, the others by number.
inline QString klassensatzText(uint klassensatz, bool englisch)
{
    if (klassensatz == HandyKlassensatz)
        return englisch ? QStringLiteral("Phone") : QStringLiteral("Handy");
    return QString::number(klassensatz);
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
