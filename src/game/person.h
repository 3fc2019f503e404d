#pragma once

#include "antwortderperson.h"

#include <QList>

// One participant: one handset of one class set, with an answer record per question answered.
class Person final
{
public:
    Person(unsigned int buzzerNo, unsigned int klassensatz)
        : m_buzzerNo(buzzerNo)
        , m_klassensatz(klassensatz)
    {
    }

    // Valid after punkteBerechnen() / antwortszeitBerechnen().
    int getPunkte() const { return m_punkte; }
    double getAntwortszeit() const { return m_antwortszeit; }

    unsigned int getBuzzerNo() const { return m_buzzerNo; }
    unsigned int getKlassensatz() const { return m_klassensatz; }
    QList<AntwortDerPerson> getAntworten() const { return m_antworten; }

    // The record of question `frageNr`, created when there is none yet.
    AntwortDerPerson &getAntwortDerFrage(int frageNr);
    // The record of question `frageNr`, or null.
    const AntwortDerPerson *findeAntwort(int frageNr) const;

    void punkteBerechnen();
    // Only evaluated answers count: survey answers and answers of abandoned questions don't.
    void antwortszeitBerechnen();

private:
    int m_punkte = 0;
    double m_antwortszeit = 0.0;
    unsigned int m_buzzerNo;
    unsigned int m_klassensatz;
    QList<AntwortDerPerson> m_antworten;
};
