#pragma once

#include "templatebasis.h"

#include <QHash>
#include <QList>

#include <array>
#include <utility>

class Uhr;
class Zufall;

// Where a falling leaf starts and what it aims at, in the stage's own pixels: the page lays itself
// out on a stage that is scaled to the window, and the leaves move in its pixels.
struct FallLage
{
    int links = 0;
    int oben = 0;
    int ziel = 0;
    int haufenOben = 0;
    int haufenHoehe = 0;
    int buehneHoehe = 0;
};

// The move of a falling leaf in the stage's own pixels.
struct Fall
{
    int dx = 0;
    int dy = 0;
};

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

    // The move that takes a leaf onto the pile, `versatz` (dx, dy) being its random spread. With
    // many voters it aims at the middle of the pile, otherwise just above the view's bottom edge;
    // `ansicht` is the view height in screen pixels, which `zoom` turns into the page's.
    static Fall fallBerechnen(const FallLage &lage, std::pair<int, int> versatz, bool vieleStimmen);

private:
    // The pile at the foot of the handsets' tree: the answers and the handsets' leaves stay in sight
    // (no leaf has fallen while the countdown runs).
    SkriptText pauseElement() const override { return "blaetterhaufen"; }
    bool pauseUnten() const override { return true; }
    void zoomAnpassen();
    void blattFallen(QList<uint> geraete, int anzahlFalsch, int anzahlGesamt);
    void fallStarten(const Anweisung &b, FallLage lage, std::pair<int, int> versatz, int drehung,
                     QList<uint> geraete, int anzahlFalsch, int anzahlGesamt);
    void wippen(uint buzzerNo, uint buttonNo);

    Uhr &m_uhr;
    Zufall &m_zufall;
    bool m_istQuiz = true;
    std::array<bool, 4> m_hatAntwort{false, false, false, false};
    int m_frageNr = 0;
    // Page timers of leaf falls not yet started; cancelled when the next question comes.
    QList<int> m_zeitgeberIDs;
    QHash<uint, qint64> m_letztesWippen;
};
