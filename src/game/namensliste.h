#pragma once

#include "geraetschluessel.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Names of the participants behind the handset numbers, from a CSV file the teacher keeps:
// "handset;name", or "class set;handset;name" where several class sets share a room. A handset
// without an entry keeps being shown by its number.
class Namensliste final
{
public:
    Namensliste() = default;

    // Reads `pfad`; on failure the list stays empty and `fehler` says why (path and reason).
    bool lesen(const QString &pfad, bool englisch, QString *fehler = nullptr);
    bool lesenAus(const QByteArray &inhalt, bool englisch, QString *fehler = nullptr);
    // The list of the file named in the settings ("NamenslisteDatei"); empty when none is set.
    static Namensliste ausEinstellungen(QString *fehler = nullptr);

    // The name for a handset: an entry of its class set first, then one without a class set.
    QString name(uint klassensatz, uint buzzerNo) const;
    // One line of the list: a handset of one class set, or of any class set (mitKlassensatz false).
    struct Eintrag
    {
        GeraetSchluessel geraet;
        bool mitKlassensatz = false;
        QString name;
    };
    // Every entry, class set entries first, each group by class set and handset number.
    QList<Eintrag> eintraege() const;
    bool istLeer() const { return m_mitKlassensatz.isEmpty() && m_ohneKlassensatz.isEmpty(); }
    int anzahl() const { return int(m_mitKlassensatz.size() + m_ohneKlassensatz.size()); }

private:
    QHash<GeraetSchluessel, QString> m_mitKlassensatz;
    QHash<uint, QString> m_ohneKlassensatz;
};
