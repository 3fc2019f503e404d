#pragma once

#include "person.h"

#include <QDomElement>
#include <QList>
#include <QString>

// What the game flow needs from its window: the views, the status bar, the active template, the
// start screen, the ranking and the receiver. The program's main window implements it; the flow
// tests put in a recorder, so the whole flow runs without widgets or web views.
class SpielFenster
{
public:
    SpielFenster() = default;
    SpielFenster(const SpielFenster &) = delete;
    SpielFenster &operator=(const SpielFenster &) = delete;
    virtual ~SpielFenster() = default;

    enum class Ansicht {
        Frage,
        Start,
        Rangliste,
        // The ranking of the keypad's Enter key: the black cover keeps its state.
        RanglisteUnterSchwarz,
    };

    virtual void ansichtZeigen(Ansicht ansicht) = 0;

    // Status bar.
    virtual void frageNrAnzeigen(const QString &text) = 0;
    virtual void dateiAnzeigen(const QString &datei, const QString &anzahl) = 0;
    virtual void statusMeldung(const QString &text) = 0;
    virtual void zuletztGeoeffnetAktualisieren() = 0;

    // The active template; false when no template of that name exists (the old one stays).
    virtual bool templateErzeugen(const QString &name) = 0;
    virtual void frageAnzeigen(const QDomElement &frage, int frageNr) = 0;
    virtual void antwortenAnzeigen(const QDomElement &frage) = 0;
    virtual void countdownAnzeigen(int counter, int intervall) = 0;
    virtual void countdownAbgelaufenAnzeigen() = 0;
    // `prozenteErsteRunde`: after a second round, the first round's shares of A to D; empty after
    // a question's only round.
    virtual void richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                         const QString &loesung, const QList<double> &prozente,
                                         const QList<double> &prozenteErsteRunde) = 0;
    virtual void pauseAnzeigen(bool pausiert) = 0;

    // A press on the start screen's grid and in the active template.
    virtual void druckAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo) = 0;
    // The start screen takes the template's look and hides every handset icon.
    virtual void startscreenZuruecksetzen(const QString &templateName) = 0;
    virtual void ranglisteAnzeigen(const QList<Person> &personen, int anzahlFragen, int aktuelleFrageNr) = 0;

    virtual void goToSchliessen() = 0;
    virtual void empfaengerOeffnen() = 0;
};
