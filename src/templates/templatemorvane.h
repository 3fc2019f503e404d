#pragma once

#include "templatebasis.h"

#include <array>

// The template of the older handset family: question band on top, four answer tiles around a
// centre column, a horizontal countdown bar and a grid of 60 handset icons.
class templateMorvane final : public TemplateBasis
{
public:
    explicit templateMorvane(SkriptBruecke &bruecke);

    void loadHTML() override;
    void frageAnzeigen(const QDomNode &frage, int frageNr) override;
    void antwortenAnzeigen(const QDomNode &frage) override;
    void richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                 const QString &loesung, const QList<double> &prozente) override;
    void updateCountdown(int qounterAktuelleFrage, int zeitIntervallAktuelleFrage) override;
    void countdownAbgelaufen() override;
    void geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo) override;

    static constexpr int MaxBildHoehe = 180;

private:
    // The countdown bar, stopped while paused; the answers stay in sight.
    SkriptText pauseElement() const override { return "countdown"; }
    void kachelnZuruecksetzen();
    void richtigMarkierungEntfernen();
    void loesungMarkieren(const QString &loesung);

    bool m_istQuiz = true;
    std::array<bool, 4> m_ohneBild{true, true, true, true};
    std::array<bool, 4> m_hatAntwort{false, false, false, false};
};
