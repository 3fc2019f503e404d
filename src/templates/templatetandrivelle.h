#pragma once

#include "templatebasis.h"

#include <QHash>
#include <QList>

#include <array>
#include <utility>

class Uhr;
class Zufall;

// The template of the battery-free handsets: question with optional number and picture, answer
// rows with letter badges, a vertical countdown bar and a grid of 60 leaves. After the countdown
// the leaves of wrong answers drift down onto a pile.
class templatetandrivelle final : public TemplateBasis
{
public:
    templatetandrivelle(SkriptBruecke &bruecke, Uhr &uhr, Zufall &zufall);

    void loadHTML() override;
    void frageAnzeigen(const QDomNode &frage, int frageNr) override;
    void antwortenAnzeigen(const QDomNode &frage) override;
    void richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                 const QString &loesung, const QList<double> &prozente) override;
    void updateCountdown(int qounterAktuelleFrage, int zeitIntervallAktuelleFrage) override;
    void countdownAbgelaufen() override;
    void geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo) override;

    static constexpr int MaxBildHoehe = 150;
    static constexpr double Startzoom = 1.2;

    // A normally spread horizontal offset and a downward-only vertical one.
    std::pair<double, double> zufallGauss(double sigmaY, double sigmaX);
    // Spread of the fall by the number of wrong leaves: (sigmaY, sigmaX).
    static std::pair<double, double> streuung(int anzahlFalsch);
    // Zoom that fits content of height `inhalt` into a view of height `ansicht`; `geaendert` tells
    // whether the fit moved away from `aktuell`.
    static double zoomEinpassen(int inhalt, int ansicht, double aktuell, bool *geaendert);

private:
    void zoomAnpassen();
    void blattFallen(QList<uint> geraete, int anzahlFalsch, int anzahlGesamt, int generation);
    void wippen(uint buzzerNo, uint buttonNo);

    Uhr &m_uhr;
    Zufall &m_zufall;
    bool m_istQuiz = true;
    std::array<bool, 4> m_hatAntwort{false, false, false, false};
    int m_frageNr = 0;
    // Page timers of leaf falls not yet started; cancelled when the next question comes.
    QList<int> m_zeitgeberIDs;
    QHash<uint, qint64> m_letztesWippen;
    // Reads of an old question's leaf fall must not move leaves of the next one.
    int m_generation = 0;
};
