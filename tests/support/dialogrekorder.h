#pragma once

#include "dialoge.h"

#include <QList>
#include <QStringList>

// Records every box and answers at once: questions with the next entry of `antworten`, then with
// `antwortJa`; unsaved changes with the next of `sicherungen`, then `sicherungVorgabe`; file dialogs with the
// next entry of `dateien` (empty = cancelled).
class DialogRekorder final : public Dialoge
{
public:
    void hinweis(const Meldung &meldung) override { hinweise.append(meldung); }
    bool frage(const Meldung &meldung) override
    {
        fragen.append(meldung);
        return antworten.isEmpty() ? antwortJa : antworten.takeFirst();
    }
    Sichern sichern(const Meldung &meldung) override
    {
        fragen.append(meldung);
        return sicherungen.isEmpty() ? sicherungVorgabe : sicherungen.takeFirst();
    }
    QString dateiZumOeffnen(const QString &titel, const QString &verzeichnis, const QString &filter) override
    {
        dateiDialoge.append({titel, verzeichnis, filter});
        return dateien.isEmpty() ? QString() : dateien.takeFirst();
    }
    QString dateiZumSpeichern(const QString &titel, const QString &vorschlag, const QString &filter) override
    {
        speicherDialoge.append({titel, vorschlag, filter});
        return dateien.isEmpty() ? QString() : dateien.takeFirst();
    }

    QStringList hinweisTexte() const
    {
        QStringList texte;
        for (const Meldung &m : hinweise)
            texte.append(m.text);
        return texte;
    }
    void leeren()
    {
        hinweise.clear();
        fragen.clear();
        dateiDialoge.clear();
        speicherDialoge.clear();
        antworten.clear();
        sicherungen.clear();
        dateien.clear();
    }

    QList<Meldung> hinweise;
    QList<Meldung> fragen;
    QList<QStringList> dateiDialoge;
    QList<QStringList> speicherDialoge;
    QList<bool> antworten;
    QList<Sichern> sicherungen; // answers to unsaved changes, then sicherungVorgabe
    Sichern sicherungVorgabe = Sichern::Speichern;
    bool antwortJa = true;
    QStringList dateien;
};
