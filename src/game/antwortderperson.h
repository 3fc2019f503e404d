#pragma once

// One participant's answer to one question.
class AntwortDerPerson final
{
public:
    // Until a press stamps it, an answer counts as very late.
    static constexpr double KeineZeit = 100000.0;

    explicit AntwortDerPerson(int frageNr)
        : m_frageNr(frageNr)
    {
    }

    int getPunkte() const;
    void setPunkte(int punkte);
    int getFrageNr() const { return m_frageNr; }
    bool istAusgewertet() const { return m_ausgewertet; }
    void setAusgewertet(bool ausgewertet) { m_ausgewertet = ausgewertet; }
    double getAntwortszeit() const { return m_antwortszeit; }
    void setAntwortszeit(double ms) { m_antwortszeit = ms; }
    // 1 = A … 4 = D; 0 = no button stored.
    int getAntwort() const { return m_antwort; }
    void setAntwort(int antwort) { m_antwort = antwort; }

private:
    int m_punkte = 0;
    int m_frageNr;
    bool m_ausgewertet = false;
    double m_antwortszeit = KeineZeit;
    int m_antwort = 0;
};
