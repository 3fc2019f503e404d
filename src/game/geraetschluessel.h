#pragma once

#include <QHashFunctions>
#include <QtGlobal>

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
