#pragma once

#include "fragedatei.h"

#include <QFile>
#include <QList>
#include <QObject>
#include <QString>

#include <algorithm>
#include <memory>

class spiel;
class Uhr;
class Zeitgeber;

// Everything an interrupted game leaves behind: a plain value.
struct SpielStand
{
    struct Druck
    {
        int frageNr = 0;
        uint klassensatz = 0;
        uint buzzerNo = 0;
        uint buttonNo = 0;
        qint64 laufzeitMs = 0; // net running time of the countdown at the press
        qint64 zeitpunkt = 0;  // ms since the epoch, for the record

        // On the start screen a press only reports a handset in; it is no answer of a game.
        bool aufFrage() const { return frageNr > 0; }

        bool operator==(const Druck &d) const
        {
            return frageNr == d.frageNr && klassensatz == d.klassensatz && buzzerNo == d.buzzerNo &&
                   buttonNo == d.buttonNo && laufzeitMs == d.laufzeitMs && zeitpunkt == d.zeitpunkt;
        }
    };
    struct Auswertung
    {
        int frageNr = 0;
        qsizetype nachDruecken = 0; // how many presses had been recorded when it happened

        bool operator==(const Auswertung &a) const
        {
            return frageNr == a.frageNr && nachDruecken == a.nachDruecken;
        }
    };

    QString frageDatei;
    int aktuelleFrage = 0;
    QList<Druck> druecke;           // in the order they arrived
    QList<Auswertung> auswertungen; // in the order they happened
    // Questions asked a second time: where each second round began among the presses. At the
    // same place it comes before an evaluation, which then belongs to the second round (the
    // first round's own evaluation no longer counts once a second round began).
    QList<Auswertung> zweiteRunden;
    // Lines that could not be read (torn, damaged, cut off); a file that cannot be read at all
    // counts as one.
    int uebersprungen = 0;

    QList<Druck> druckeDerFrage(int frageNr) const;
    // The question put to the presenter at start-up, in the language of the installed catalogue.
    QString angebot() const;
    // What came back, for the presenter once the game is restored.
    QString bericht(bool englisch) const;
    QList<int> ausgewerteteFragen() const;
    // Nothing worth offering: no question was called up and none was answered. Presses on the
    // start screen only report handsets in; they are no game.
    bool istLeer() const
    {
        return aktuelleFrage == 0 &&
               std::none_of(druecke.cbegin(), druecke.cend(), [](const Druck &d) { return d.aufFrage(); });
    }
};

// The press journal: every press is handed to it before it counts and appended to a file in the
// user's data folder, so a crash, a power cut or a killed process during a game loses no answer.
// The next start can offer to take the game up again: same question file, same question, every
// answer, the points of every evaluated question.
//
// Each record is one line. A thread of the journal's own writes the lines as soon as they are
// handed over, with one system call for all that are waiting: the game's thread neither formats
// nor writes, and never wakes the writer: while presses come in, the writer looks for them
// every 10 ms by itself, after a quiet half minute every 100 ms. A killed process loses at most
// what was handed over in its last 10 ms (100 ms for a first press after a quiet while). The
// file is synced to the disk at most 100 ms after a write (a power cut loses at most that). Every
// line carries a checksum: a torn or damaged line, garbage or an empty file are skipped when
// reading and counted, never fatal; what can be read of the rest still comes back.
//
// Use in the game flow:
//   start-up:  if (j.dateiVorhanden()) { s = j.lesen(); damaged: j.aufbewahren() first; offer;
//              yes: Druckjournal::anwenden(s, spiel); j.fortsetzen(s);
//              no: j.aufbewahren(); j.entfernen(); }   — before any beginnen()
//   new game:  j.beginnen(frageDatei) after the file is loaded (replaces the old journal)
//   a press:   d = j.druck(spiel, k, b, t); spiel.antwortEintragen(d.frageNr, k, b, t, d.laufzeitMs)
//              in place of spiel.antwortErfassen(k, b, t)
//   navigation: j.frageAufgerufen(spiel.getAktuelleFrageNr()) after each move
//   evaluation: spielBeobachten(spiel) once, or j.ausgewertet(nr) on ranglisteAktualisieren
//   second round: j.zweiteRunde(nr) when the question is asked again
//   normal end or declined offer: j.beenden() / j.entfernen()
// Everything that replaces, removes or reads the file first waits for the writer (leeren()).
class Druckjournal final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Druckjournal)

public:
    static constexpr int SyncIntervall = 100; // ms

    // `ordner` empty: the user's data folder (QStandardPaths::AppDataLocation).
    explicit Druckjournal(Uhr &uhr, const QString &ordner = {}, QObject *eltern = nullptr);
    // Writes what was handed over, syncs and closes, but keeps the file: an unfinished game stays
    // restorable. A journal this object began for a game that never got going (no press, no
    // question called up) is removed.
    ~Druckjournal() override;

    QString pfad() const { return m_pfad; }

    // --- Taking up an interrupted game ---
    // A journal with a game worth restoring is there.
    bool vorhanden() const;
    // Any file at the journal's place, even one that is not readable.
    bool dateiVorhanden() const;
    // What the file holds, with every record handed over so far.
    SpielStand lesen() const;
    // Keeps a copy of the journal beside it, named with the time of its last write
    // ("druckjournal-2026-12-07T16-10-05.txt"); the journal itself stays. Returns the copy's
    // path, or empty with the system's reason in `grund`. An identical copy already there
    // serves again.
    QString aufbewahren(QString *grund = nullptr) const;
    // Loads the question file into `s`, replays every press and evaluation in their order and
    // moves to the question that was current. A file that no longer loads changes nothing and
    // the result says why.
    static FrageDatei::LadeErgebnis anwenden(const SpielStand &stand, spiel &s);
    // Removes the journal and ends the recording.
    void entfernen();

    // --- Recording ---
    // A new game: replaces any journal by one for this question file. A journal this object has
    // not recorded (one left for a later start) is first kept aside with aufbewahren(); when that
    // fails it stays as it is and nothing is recorded.
    bool beginnen(const QString &frageDatei);
    // Goes on recording after a restore; the journal is first rewritten from `stand`, which
    // leaves any torn tail behind.
    bool fortsetzen(const SpielStand &stand);
    // A press, before it counts: takes the question number and the running time from `s` and
    // returns the press as recorded. The caller then lets it count with the same time:
    //   s.antwortEintragen(d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo, d.laufzeitMs);
    // A failed write does not stop the game (see schreibfehler). `geschrieben` (and the return
    // value of the other calls) tells whether the record went to the writer of a journal that
    // has not failed so far; the write itself follows a moment later.
    SpielStand::Druck druck(const spiel &s, uint klassensatz, uint buzzerNo, uint buttonNo,
                            bool *geschrieben = nullptr);
    bool druck(const SpielStand::Druck &druck);
    bool frageAufgerufen(int frageNr);
    bool ausgewertet(int frageNr);
    // The current question `frageNr` is asked a second time from here on.
    bool zweiteRunde(int frageNr);
    // Records every evaluation of `s` (its signal ranglisteAktualisieren) by itself.
    void spielBeobachten(const spiel &s);
    // Normal end of a game: the journal is removed.
    void beenden() { entfernen(); }
    // Blocks until every record handed over so far is with the system (and a sync that is due
    // is done); a write that failed meanwhile has been reported (schreibfehler) when it returns.
    void leeren();

    bool istAktiv() const { return m_datei.isOpen(); }
    // The first failed write, as a message for the presenter; empty while all is well.
    QString fehler() const { return m_fehler; }
    qint64 synchronisierungen() const;

signals:
    // Once per journal, at the first failed write: the game goes on, but an interruption
    // could no longer be restored.
    void schreibfehler(const QString &meldung);

private:
    class Schreiber;
    // One record as handed to the writer: 'P' with all values of `werte`, 'F', 'A' and 'R' with
    // the question number only. The writer formats it, so a press costs the game no text work.
    struct Eintrag
    {
        char art = 'P';
        SpielStand::Druck werte;
    };

    bool eintragen(const Eintrag &eintrag);
    // Until the writer has written everything handed over; failures stay for fehlerMelden().
    void warten() const;
    bool oeffnenZumAnhaengen();
    // Waits for the writer and closes the file.
    void schliessen();
    void synchronisieren();
    // The writer's failed writes, on this object's thread.
    void fehlerMelden();
    void scheitern(const QString &grund);
    static QByteArray zeile(const QByteArray &inhalt);
    // Appends the line of `eintrag`: its content, the checksum, the line end.
    static void zeileAnhaengen(QByteArray &text, const Eintrag &eintrag);
    static QByteArray alsText(const SpielStand &stand);

    Uhr &m_uhr;
    QString m_pfad;
    QFile m_datei;
    Zeitgeber *m_syncTimer = nullptr;
    bool m_ungesynct = false;
    int m_letzteFrage = -1;
    qsizetype m_druecke = 0; // on a question; those on the start screen make no game
    QString m_fehler;
    std::unique_ptr<Schreiber> m_schreiber; // started with the first file it writes to
};
