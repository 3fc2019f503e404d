#include "rangfolge.h"

#include <algorithm>

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

} // namespace Rangfolge
