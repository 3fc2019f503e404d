#pragma once

#include "dialoge.h"
#include "geraetschluessel.h"
#include "spielfenster.h"

#include <QDomElement>
#include <QObject>
#include <QSet>

#include <optional>

class Druckjournal;
class Klang;
class Uhr;
class Zeitgeber;
class spiel;

// The control of a running game: moving from question to question, the answer delay, routing the
// handset presses, pause and end, the ranking, restart, opening files, automation, the master
// handset and the receiver's template. Keys, menus and the receiver link all end up here; the
// window only shows what it is told through SpielFenster.
class Spielablauf final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Spielablauf)

public:
    Spielablauf(spiel &engine, SpielFenster &fenster, Dialoge &dialoge, Klang &klang, Uhr &uhr,
                QObject *eltern = nullptr);

    // The template the game starts with ("GewaehltesTemplate", "Tandrivelle" when empty).
    void templateAnfangen();

    // Every press goes to `journal` before it counts, so a crash loses no answer.
    void journalSetzen(Druckjournal *journal);
    // At start-up: offers to take up a game a crash interrupted, then starts recording.
    void journalStarten();
    // The program ends normally: nothing is left to restore.
    void beendet();

    // Space: starts the countdown at once during the answer delay, else the next question.
    void naechsteFrage();
    // Down, Right, Page Down and the master's D: abandons the running question.
    void frageUeberspringen();
    // Up, Left, Page Up and the master's B.
    void frageZurueck();
    void goToFrage(int frageNr);
    // "Nochmal abstimmen": after its countdown, the question on screen is asked a second time.
    void nochmalAbstimmen();
    // Whether nochmalAbstimmen() would do anything now: a question is shown (no start screen,
    // no ranking), its countdown has ended and it has not been asked a second time yet.
    bool nochmalAbstimmenMoeglich() const;
    // F5.
    void neuStarten();
    // Opens `pfad`, or the file the presenter picks when it is empty.
    void frageDateiOeffnen(const QString &pfad = {});
    // A question file named on the command line, before the window exists: taken as Open takes
    // it (start file, folder of the open dialog, recent files; on the first start it stands in
    // for the sample), so the window loads it at start. Returns what Open would say, to be said
    // once the window is up: why the file does not load (the start file then stays as it was),
    // or which questions it left out.
    static std::optional<Meldung> startDateiVorgeben(const QString &pfad);
    // Questions from a spreadsheet (`pfad`, or picked when empty): written as a new question file
    // beside it, which is then opened like any other.
    void fragenImportieren(const QString &pfad = {});
    // Return and the menu.
    void ranglisteZeigen();
    // The keypad's Enter.
    void ranglisteTaste();
    void pauseTaste();
    void sofortBeendenTaste();
    // A press from the receiver or the keys; it counts only while presses are routed.
    void druckEmpfangen(uint klassensatz, uint buzzerNo, uint buttonNo);

    void masterTerminate();
    void masterPause();
    void masterPageUp();
    void masterPageDown();

    // The options dialog chose a template.
    void templateAusgewaehlt();
    // The receiver link identified a receiver (and may have stored its family's template).
    void empfaengerGefunden();

    // A successful export: restart and quit no longer warn until the next press.
    void resultateExportiert() { m_resultateNichtExportiert = false; }
    // Asks before quitting when results would be lost; false keeps the program running.
    bool beendenBestaetigt();

    // The file and count labels as they are now.
    void dateiBeschriftungen();
    // Fills the ranking with the results as they are now.
    void ranglisteAktualisieren();

    QString templateName() const { return m_templateName; }
    bool stimmenVerbunden() const { return m_stimmenVerbunden; }
    bool frageAktiv() const { return m_frageAktiv; }
    bool startScreenAngezeigt() const { return m_startScreenAngezeigt; }
    bool resultateNichtExportiert() const { return m_resultateNichtExportiert; }
    bool stimmeErhalten() const { return m_stimmeErhalten; }
    bool antwortVerzoegerungLaeuft() const;
    bool automatisierungGeplant() const;
    QDomElement aktuelleFrage() const { return m_aktuelleFrage; }

signals:
    // Whether presses count from now on, and for which question (0 before the first): devices that
    // show their own state (phones) follow it.
    void stimmenVerbundenGeaendert(bool an, int frageNr);

private:
    void stimmenVerbinden(bool an);
    void ansichtZeigen(SpielFenster::Ansicht ansicht);
    bool fragenVorhanden();
    void naechsteFrageZeigen();
    void vorherigeFrageZeigen();
    void frageAufsetzen(bool zeigenUndStarten, const QString &beschriftung);
    void frageVerlassen(bool vorwaerts);
    void countDownVerzoegeretStarten();
    void updateCountdown(int counter, int intervall);
    void countdownAbgelaufen();
    void richtigeAntwortAnzeigen();
    void automatisierungOn();
    void geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo);
    void pauseUmschalten();
    void laufendeFrageAbbrechen();
    bool neuStartBestaetigt(const QString &grund = {});
    // Restart after the presenter agreed: reads the file again and resets the game.
    void neuLaden();
    void zuruecksetzen();
    void zuletztHinzufuegen(const QString &pfad);
    void klangSpielen(const QString &lautlos, const QString &datei, const QString &vorgabe);
    QString frageNrBeschriftung(bool mitAnzahl) const;
    // The journal a previous run left behind: offered, kept or removed. False when no new
    // journal may begin now (the game was restored, or the old journal could not be kept).
    bool journalVorfinden();
    // A dated copy of the journal beside it; the presenter hears when that fails.
    bool journalAufbewahren(QString &kopie);

    spiel &m_spiel;
    SpielFenster &m_fenster;
    Dialoge &m_dialoge;
    Klang &m_klang;
    Uhr &m_uhr;

    QString m_templateName;
    bool m_templateVorhanden = false;
    QDomElement m_aktuelleFrage;
    Zeitgeber *m_antwortVerzoegerung = nullptr;
    Zeitgeber *m_automatisierung = nullptr;
    // Handsets heard in the current question, so the press sound plays once per handset.
    QSet<GeraetSchluessel> m_gehoerteStimmen;
    // Every handset of this game: registered on the start screen or pressed in a question.
    QSet<GeraetSchluessel> m_angemeldet;
    // Read once per countdown, not once per press.
    bool m_endeWennAlleGeantwortet = false;

    Druckjournal *m_journal = nullptr;

    bool m_stimmenVerbunden = true;
    int m_gemeldeteFrage = -1;
    bool m_frageAktiv = false;
    SpielFenster::Ansicht m_ansicht = SpielFenster::Ansicht::Start;
    bool m_startScreenAngezeigt = true;
    bool m_resultateNichtExportiert = true;
    bool m_stimmeErhalten = false;
};
