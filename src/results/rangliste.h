#pragma once

#include "namensliste.h"
#include "person.h"
#include "skriptbruecke.h"

#include <QList>
#include <QObject>

// The ranking of all participants by points, then answer time, in a page of its own.
class rangliste final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(rangliste)

public:
    explicit rangliste(SkriptBruecke &bruecke, QObject *eltern = nullptr);
    // Without a bridge until `brueckeSetzen`: statements go nowhere.
    explicit rangliste(QObject *eltern = nullptr);

    void brueckeSetzen(SkriptBruecke *bruecke);
    // The page of the interface language.
    void loadHTML();
    void ranglisteAnzeigen(QList<Person> personen, int anzahlFragen, int aktuelleFrageNr);
    // Names shown beside the handset numbers from the next refresh on; an empty list shows numbers
    // only.
    void namenSetzen(Namensliste namen) { m_namen = std::move(namen); }

private:
    // Never null.
    SkriptBruecke *m_bruecke = &SkriptBruecke::ohneSeite();
    Namensliste m_namen;
};
