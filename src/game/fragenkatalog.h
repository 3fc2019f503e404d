#pragma once

#include "fragedatei.h"

#include <QDomDocument>
#include <QDomElement>
#include <QVector>

class Dialoge;

// The questions of the open file in file order, and the walk through them during a game.
// Numbers are 1-based; 0 means no question has been taken since the last load.
class Fragenkatalog final
{
    Q_DISABLE_COPY_MOVE(Fragenkatalog)

public:
    explicit Fragenkatalog(Dialoge &dialoge);

    // Replaces the questions by those of the file. A file that cannot be loaded changes nothing;
    // the result tells why.
    FrageDatei::LadeErgebnis ladeFragen(const QString &dateiName);

    // Question `nr` (1 ≤ nr ≤ getAnzahlFragen()), or a null element.
    QDomElement getFrage(int nr) const;
    QDomElement getNaechsteFrage();
    QDomElement getVorherigeFrage();
    QDomElement springeZuFrage(int nr);

    int getAnzahlFragen() const { return m_anzahlFragen; }
    int getAktuelleFrageNr() const { return m_aktuelleFrageNr; }
    bool istEndeErreicht() const { return m_endeErreicht; }
    void setEndeErreicht(bool ende) { m_endeErreicht = ende; }

    // 0: answers 1–4; 1: answer 4 missing; 2: answer 3 missing; 3: answers 3 and 4 missing.
    int fehlendeAntworten() const;
    // The same for question `nr`; 0 for a number without a question.
    int fehlendeAntworten(int nr) const;
    // FrageDatei::runden() and FrageDatei::notizen() of question `nr`; 1 and empty for a number
    // without a question.
    int runden(int nr) const;
    QString notizen(int nr) const;
    // A field of the current question; empty before the first question.
    QString feld(const QString &name) const;
    // A field of question `nr`; empty for a number without a question.
    QString feld(int nr, const QString &name) const;

private:
    Dialoge &m_dialoge;
    QDomDocument m_dokument; // keeps the elements below alive
    QVector<QDomElement> m_fragen;
    int m_anzahlFragen = 0;
    int m_aktuelleFrageNr = 0;
    bool m_endeErreicht = false;
};
