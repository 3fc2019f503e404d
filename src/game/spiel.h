#pragma once

#include "fragenkatalog.h"
#include "geraetschluessel.h"
#include "person.h"
#include "uhr.h"

#include <QHash>
#include <QList>
#include <QObject>

class Dialoge;

// The game engine: the catalogue, the countdown of the current question with pause and resume,
// and the participants' answers with their evaluation.
class spiel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(spiel)

public:
    spiel(Uhr &uhr, Dialoge &dialoge, QObject *eltern = nullptr);

    // Navigation: wraps the catalogue and prepares the countdown of the question it returns.
    QDomElement getNaechsteFrage();
    QDomElement getVorherigeFrage();
    QDomElement springeZuFrage(int frageNr);

    FrageDatei::LadeErgebnis ladeFragen(const QString &dateiName);
    int getAnzahlFragen() const { return m_katalog.getAnzahlFragen(); }
    int getAktuelleFrageNr() const { return m_katalog.getAktuelleFrageNr(); }
    bool istEndeErreicht() const { return m_katalog.istEndeErreicht(); }
    void setEndeErreicht(bool ende) { m_katalog.setEndeErreicht(ende); }
    const Fragenkatalog &getFragenkatalog() const { return m_katalog; }
    QString getLoesung() const;

    // Countdown control.
    void qountdownStarten();
    void fragePausieren();
    void countdownSofortBeenden();
    // Stops the ticks, including a resume still waiting for the rest of its second.
    void countdownTimerStoppen();
    // Leaves the current question: its ticks, a pending resume and the pending result display
    // stop, and it no longer counts as running. Its answers stay unevaluated.
    void frageAbbrechen();
    Zeitgeber *getCountdownTimer() const { return m_countdownTimer; }
    Zeitgeber *getRichtigeAntwortTimer() const { return m_richtigeAntwortTimer; }
    bool istCountdownAktiv() const { return m_countdownAktiv; }
    void setCountdownAktiv(bool aktiv) { m_countdownAktiv = aktiv; }
    bool istPausiert() const { return m_pausiert; }
    void spielZuruecksetzen();

    // Net running time of the current countdown in ms: pauses do not count.
    qint64 laufzeit() const;

    // Answers.
    void antwortErfassen(uint klassensatz, uint buzzerNo, uint buttonNo);
    void punkteVerteilen();
    QList<double> getProzenteAntworten(int frageNr) const;
    QList<Person> getPersonen() const { return m_personen; }
    QList<Person> getPersonenRichtig() const { return m_personenRichtig; }
    QList<Person> getPersonenFalsch() const { return m_personenFalsch; }

    // A press of question `frageNr` at the net running time `laufzeitMs`: what antwortErfassen()
    // does with the current question and the running time now. The press journal records the
    // press first and passes the same time on, so a restored game has exactly the same times;
    // restoring replays recorded presses through it.
    void antwortEintragen(int frageNr, uint klassensatz, uint buzzerNo, uint buttonNo, qint64 laufzeitMs);
    // Taking up an interrupted game (Druckjournal): an evaluation of question `frageNr` where it
    // happened between the presses. Same rules as punkteVerteilen(), without signals and lists.
    void auswertungWiederherstellen(int frageNr);

    static constexpr int AnzeigeVerzoegerung = 2000;

signals:
    void timerSlotSpiel(int counterAktuellenFrage, int zeitIntervallAktuelleFrage);
    void countdownAbgelaufen();
    void richtigeAntwortAnzeigen();
    void ranglisteAktualisieren();

public slots:
    void timerEventSpiel();
    void singelShotTimerDerPausierungAbgelaufen();
    void timerRichtigeAntwortAnzeigen();

private:
    void vorbereiten(const QDomElement &frage);
    void zeitAbgelaufen();

    Uhr &m_uhr;
    Fragenkatalog m_katalog;

    int m_counterAktuellenFrage = 10;
    int m_zeitIntervallAktuelleFrage = 10;
    Stoppuhr m_laufzeitMessung;
    qint64 m_summeLaufzeit = 0;
    Zeitgeber *m_countdownTimer = nullptr;
    Zeitgeber *m_fortsetzungsTimer = nullptr;
    Zeitgeber *m_richtigeAntwortTimer = nullptr;
    bool m_pausiert = false;
    bool m_countdownAktiv = false;

    QList<Person> m_personen;
    // Position of each participant in m_personen, so a press costs no search through a hall of
    // handsets.
    QHash<GeraetSchluessel, qsizetype> m_personIndex;
    QList<Person> m_personenRichtig;
    QList<Person> m_personenFalsch;
};
