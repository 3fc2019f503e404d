#pragma once

#include "fragenkatalog.h"
#include "geraetschluessel.h"
#include "person.h"
#include "uhr.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>

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

    // Voting again after a discussion. The current question, once its countdown has ended, is
    // asked a second time: every answer so far is set aside as the first round's
    // (AntwortDerPerson::getAntwortErsteRunde), the countdown is ready from the start, and
    // points and answer times come from the second round only. False (and nothing changes) while
    // no question is current, its countdown runs or it has not been asked yet.
    bool zweiteRundeStarten();
    bool zweiteRundeMoeglich() const;
    // The round running or last run of the current question is the second.
    bool istZweiteRunde() const { return m_zweiteRunde; }
    // The shares of A to D in the first round of a question that was asked a second time; empty
    // for a question asked once.
    QList<double> getProzenteErsteRunde(int frageNr) const;
    // Taking up an interrupted game: the second round of `frageNr` began here, between the
    // presses. Sets the answers aside as zweiteRundeStarten() does, without touching the
    // countdown.
    void zweiteRundeWiederherstellen(int frageNr);
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
    void ersteRundeBeiseitelegen(int frageNr);
    // A press in a second round that never came counts as no answer at all, like a question
    // never pressed: no points, no time, not among the wrong ones.
    bool ohneAntwortInZweiterRunde(int frageNr, const AntwortDerPerson &antwort) const;

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
    // The current question's countdown has run out since it was called up.
    bool m_rundeBeendet = false;
    bool m_zweiteRunde = false;
    // Questions asked a second time, with their first round set aside.
    QSet<int> m_zweiteRundeFragen;

    QList<Person> m_personen;
    // Position of each participant in m_personen, so a press costs no search through a hall of
    // handsets.
    QHash<GeraetSchluessel, qsizetype> m_personIndex;
    QList<Person> m_personenRichtig;
    QList<Person> m_personenFalsch;
};
