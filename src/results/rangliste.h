#pragma once

#include "person.h"

#include <QList>
#include <QObject>

class SkriptBruecke;

// The ranking of all participants by points, then answer time, in a page of its own.
class rangliste final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(rangliste)

public:
    explicit rangliste(QObject *eltern = nullptr);

    void brueckeSetzen(SkriptBruecke *bruecke);
    // The page of the interface language.
    void loadHTML();
    void ranglisteAnzeigen(QList<Person> personen, int anzahlFragen, int aktuelleFrageNr);

private:
    SkriptBruecke *m_bruecke = nullptr;
};
