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
    // A question voted on twice keeps the first round aside here; what is above is the second
    // round, the one that counts. 1 = A … 4 = D; 0 = no press in the first round.
    int getAntwortErsteRunde() const { return m_antwortErsteRunde; }
    void setAntwortErsteRunde(int antwort) { m_antwortErsteRunde = antwort; }
    double getAntwortszeitErsteRunde() const { return m_antwortszeitErsteRunde; }
    void setAntwortszeitErsteRunde(double ms) { m_antwortszeitErsteRunde = ms; }
    // The answer so far becomes the first round's; the second starts unanswered and unevaluated.
    void ersteRundeBeiseitelegen();

private:
    int m_punkte = 0;
    int m_frageNr;
    bool m_ausgewertet = false;
    double m_antwortszeit = KeineZeit;
    int m_antwort = 0;
    int m_antwortErsteRunde = 0;
    double m_antwortszeitErsteRunde = KeineZeit;
};
