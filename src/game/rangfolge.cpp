#include "rangfolge.h"

#include "geraetschluessel.h"

#include <algorithm>
#include <optional>

namespace Rangfolge {

QList<Person> sortiert(QList<Person> personen)
{
    for (Person &person : personen) {
        person.antwortszeitBerechnen();
        person.punkteBerechnen();
    }
    // Stable, so equal participants keep the order of their first press.
    std::stable_sort(personen.begin(), personen.end(), [](const Person &a, const Person &b) {
        if (a.getPunkte() != b.getPunkte())
            return a.getPunkte() > b.getPunkte();
        return a.getAntwortszeit() < b.getAntwortszeit();
    });
    return personen;
}

bool klassensatzZeigen(const QList<Person> &personen, bool konferenzmodus)
{
    if (konferenzmodus)
        return true;
    std::optional<uint> erster;
    for (const Person &person : personen) {
        const uint klassensatz = person.getKlassensatz();
        if (istHandy(klassensatz))
            continue;
        if (erster && *erster != klassensatz)
            return true;
        erster = klassensatz;
    }
    return false;
}

} // namespace Rangfolge
