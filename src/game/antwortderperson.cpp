#include "antwortderperson.h"

#include "spielprotokoll.h"

int AntwortDerPerson::getPunkte() const
{
    return m_punkte;
}

void AntwortDerPerson::setPunkte(int punkte)
{
    qCDebug(lcSpiel) << "Punkte" << punkte << "für Frage" << m_frageNr;
    m_punkte = punkte;
}
