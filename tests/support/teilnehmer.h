#pragma once

#include "person.h"

#include <QList>

#include <algorithm>

// Whether handset `buzzer` of class set `klassensatz` takes part in the game.
inline bool dabei(const QList<Person> &personen, uint klassensatz, uint buzzer)
{
    return std::any_of(personen.begin(), personen.end(), [&](const Person &p) {
        return p.getKlassensatz() == klassensatz && p.getBuzzerNo() == buzzer;
    });
}

// The button that handset's answer to question `frage` holds; -1 for no answer or no handset.
inline int antwortVon(const QList<Person> &personen, uint klassensatz, uint buzzer, int frage)
{
    for (const Person &p : personen) {
        if (p.getKlassensatz() == klassensatz && p.getBuzzerNo() == buzzer)
            return p.findeAntwort(frage) ? p.findeAntwort(frage)->getAntwort() : -1;
    }
    return -1;
}
