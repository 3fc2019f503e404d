#include "person.h"

AntwortDerPerson &Person::getAntwortDerFrage(int frageNr)
{
    for (AntwortDerPerson &antwort : m_antworten) {
        if (antwort.getFrageNr() == frageNr)
            return antwort;
    }
    m_antworten.append(AntwortDerPerson(frageNr));
    return m_antworten.last();
}

const AntwortDerPerson *Person::findeAntwort(int frageNr) const
{
    for (const AntwortDerPerson &antwort : m_antworten) {
        if (antwort.getFrageNr() == frageNr)
            return &antwort;
    }
    return nullptr;
}

void Person::punkteBerechnen()
{
    m_punkte = 0;
    for (const AntwortDerPerson &antwort : std::as_const(m_antworten))
        m_punkte += antwort.getPunkte();
}

void Person::antwortszeitBerechnen()
{
    m_antwortszeit = 0.0;
    for (const AntwortDerPerson &antwort : std::as_const(m_antworten)) {
        if (antwort.istAusgewertet())
            m_antwortszeit += antwort.getAntwortszeit();
    }
}
