#pragma once

#include "geraetschluessel.h"
#include "namensliste.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QWidget>

class QLabel;
class QProgressBar;
class Spielablauf;
class spiel;

// The teacher's own view of the running question, for the screen the class does not see: the
// question with its correct answer marked from the start, the next question, the countdown, who
// has answered and who not yet, the live distribution of the answers, and the question's notes.
// It follows the game's signals; the one thing no signal carries, a press the game counts, the
// main window hands on (druckAnzeigen). Keys are the main window's: it lends this window its
// actions and its key handling.
class Referentenfenster final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Referentenfenster)

public:
    Referentenfenster(const spiel &engine, const Spielablauf &ablauf, QWidget *eltern = nullptr);

    // The roster: names instead of numbers, and everyone on it is expected to answer.
    void namenSetzen(const Namensliste &namen);
    // A press the game counts (on the start screen or in a running countdown).
    void druckAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo);

    // Shows the current and the next question again: another file was opened.
    void frageZeigen();

    // Number of answers per button (A to D) in the current countdown.
    QList<int> verteilung() const { return m_anzahl; }

signals:
    // Shown or hidden, by the menu, the screens or its own close button.
    void sichtbarGeaendert(bool sichtbar);

protected:
    void showEvent(QShowEvent *ereignis) override;
    void hideEvent(QHideEvent *ereignis) override;

private:
    void stimmenGeaendert(bool an, int frageNr);
    void countdownZeigen(int counter);
    void standZeigen();

    const spiel &m_spiel;

    QList<Namensliste::Eintrag> m_eintraege;
    // Position of each roster entry, so a press finds its name without a search.
    QHash<GeraetSchluessel, qsizetype> m_mitKlassensatz;
    QHash<uint, qsizetype> m_ohneKlassensatz;

    int m_frageNr = -1;
    int m_richtig = 0;
    int m_fehlend = 0;
    bool m_laeuft = false;
    bool m_pausiert = false;
    // Handsets heard in this countdown, with the button that counts for each (0 for none).
    QHash<GeraetSchluessel, int> m_gehoert;
    // Handsets of the game that pressed while this window listened (start screen included).
    QSet<GeraetSchluessel> m_bekannt;
    QList<int> m_anzahl{0, 0, 0, 0};

    QLabel *m_kopf = nullptr;
    QLabel *m_countdown = nullptr;
    QLabel *m_frage = nullptr;
    QList<QLabel *> m_antworten;
    QList<QProgressBar *> m_balken;
    QList<QLabel *> m_zahlen;
    QLabel *m_stand = nullptr;
    QLabel *m_offen = nullptr;
    QLabel *m_notizen = nullptr;
    QLabel *m_naechste = nullptr;
};
