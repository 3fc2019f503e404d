#pragma once

#include "rahmendecoder.h"

#include <QHash>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <array>

// The settings a press is checked against, as one value: read from the settings store when they
// change, not for every frame.
struct EmpfangsEinstellungen
{
    QStringList aktiveKlassensaetze; // "AktiveKlassensatzID1" ... "AktiveKlassensatzID6"
    bool steuerungUeberMaster = false;
    QString masterBuzzer;
    QString masterKlassensatz;

    static EmpfangsEinstellungen lesen();
};
Q_DECLARE_METATYPE(EmpfangsEinstellungen)

// Decides what becomes of a decoded press: dropped for its class set, dropped because its handset
// floods the link, passed on as a master command or as an ordinary press.
class EmpfangsFilter final
{
public:
    enum class Urteil { FremderKlassensatz, Gedrosselt, Angenommen };

    // A handset pressing faster than this (a stuck button, a forged sender) must not starve the
    // window or the other handsets; a person manages a few presses a second.
    static constexpr int HoechstensJeSekunde = 20;

    void setzen(const EmpfangsEinstellungen &einstellungen);
    // Sets `druck.master` when the press is accepted from the master handset.
    Urteil pruefen(Druck &druck, qint64 ankunftMs);
    // The flood limit alone, for senders that are not receiver handsets (phones): true when the
    // press of `geraet` is to be dropped.
    bool zuSchnell(quint32 geraet, qint64 ankunftMs);
    quint64 gedrosselt() const { return m_gedrosselt; }
    // Handsets remembered for the flood limit. Beyond FensterVorrat the ones quiet for a second
    // are forgotten, so a sender inventing handset numbers cannot grow the table without end.
    int gemerkteHandsender() const { return int(m_fenster.size()); }
    static constexpr int FensterVorrat = 4096;

    // Exact text comparison: a stored "0258" never accepts class set 258.
    static bool klassensatzAngenommen(const QStringList &aktive, quint32 klassensatz);

private:
    struct Fenster
    {
        std::array<qint64, HoechstensJeSekunde> zeiten{};
        int naechster = 0; // the oldest of the last presses once the ring is full
        int anzahl = 0;
        qint64 letzte = 0;
    };
    bool drosseln(quint32 schluessel, qint64 ankunftMs);

    QStringList m_aktive;
    bool m_master = false;
    QString m_masterBuzzer;
    QString m_masterKlassensatz;
    QHash<quint32, Fenster> m_fenster;
    quint64 m_gedrosselt = 0;
};
