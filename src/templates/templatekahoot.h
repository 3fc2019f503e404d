#pragma once

#include "templatebasis.h"

// A game-show look: the question in large type, a countdown circle, a vote counter, four coloured
// answer quarters and, after the countdown, a bar chart of the answers.
class templatekahoot final : public TemplateBasis
{
public:
    explicit templatekahoot(SkriptBruecke &bruecke);

    void loadHTML() override;
    void frageAnzeigen(const QDomNode &frage, int frageNr) override;
    void antwortenAnzeigen(const QDomNode &frage) override;
    void richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                 const QString &loesung, const QList<double> &prozente) override;
    void updateCountdown(int qounterAktuelleFrage, int zeitIntervallAktuelleFrage) override;
    void countdownAbgelaufen() override;
    void geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo) override;

    static constexpr int MaxFrageBildHoehe = 360;
    static constexpr int MaxAntwortBildHoehe = 120;

private:
    // The foot of the picture between the counter and the votes; the answers stay in sight.
    SkriptText pauseElement() const override { return "zentrum"; }
    bool pauseUnten() const override { return true; }
    // Shows the mark `klasse`+letter of the solution and hides the other three.
    void hakenSetzen(const SkriptText &klasse, const QString &loesung);

    bool m_istQuiz = true;
};
