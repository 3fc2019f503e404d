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

void AntwortDerPerson::ersteRundeBeiseitelegen()
{
    m_antwortErsteRunde = m_antwort;
    m_antwortszeitErsteRunde = m_antwortszeit;
    m_antwort = 0;
    m_antwortszeit = KeineZeit;
    m_punkte = 0;
    m_ausgewertet = false;
}
