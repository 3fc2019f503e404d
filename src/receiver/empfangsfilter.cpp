#include "empfangsfilter.h"

#include "einstellungen.h"
#include "schluessel.h"

namespace {

constexpr qint64 Sekunde = 1000;

} // namespace

EmpfangsEinstellungen EmpfangsEinstellungen::lesen()
{
    QStringList schluessel;
    for (int i = 1; i <= 6; ++i)
        schluessel.append(Schluessel::aktiverKlassensatz(i));
    schluessel << Schluessel::SteuerungUeberMaster << Schluessel::MasterBuzzer
               << Schluessel::MasterKlassensatz;
    const QStringList werte = Einstellungen::texte(schluessel);
    EmpfangsEinstellungen e;
    e.aktiveKlassensaetze = werte.mid(0, 6);
    e.steuerungUeberMaster = werte.at(6) == QLatin1String("true");
    e.masterBuzzer = werte.at(7);
    e.masterKlassensatz = werte.at(8);
    return e;
}

void EmpfangsFilter::setzen(const EmpfangsEinstellungen &einstellungen)
{
    m_aktive = einstellungen.aktiveKlassensaetze;
    m_master = einstellungen.steuerungUeberMaster;
    m_masterBuzzer = einstellungen.masterBuzzer;
    m_masterKlassensatz = einstellungen.masterKlassensatz;
}

bool EmpfangsFilter::klassensatzAngenommen(const QStringList &aktive, quint32 klassensatz)
{
    const QString text = QString::number(klassensatz);
    bool filter = false;
    for (const QString &aktiv : aktive) {
        if (aktiv.isEmpty())
            continue;
        filter = true;
        if (aktiv == text)
            return true;
    }
    return !filter;
}

bool EmpfangsFilter::drosseln(quint32 schluessel, qint64 ankunftMs)
{
    if (m_fenster.size() >= FensterVorrat && !m_fenster.contains(schluessel)) {
        for (auto it = m_fenster.begin(); it != m_fenster.end();)
            it = ankunftMs - it->letzte >= Sekunde ? m_fenster.erase(it) : std::next(it);
    }
    Fenster &f = m_fenster[schluessel];
    // Full ring: the oldest of the last allowed presses must be a second old.
    if (f.anzahl == HoechstensJeSekunde && ankunftMs - f.zeiten[std::size_t(f.naechster)] < Sekunde)
        return true;
    f.zeiten[std::size_t(f.naechster)] = ankunftMs;
    f.naechster = (f.naechster + 1) % HoechstensJeSekunde;
    f.anzahl = std::min(f.anzahl + 1, HoechstensJeSekunde);
    f.letzte = ankunftMs;
    return false;
}

bool EmpfangsFilter::zuSchnell(quint32 geraet, qint64 ankunftMs)
{
    if (!drosseln(geraet, ankunftMs))
        return false;
    ++m_gedrosselt;
    return true;
}

EmpfangsFilter::Urteil EmpfangsFilter::pruefen(Druck &druck, qint64 ankunftMs)
{
    if (!klassensatzAngenommen(m_aktive, druck.klassensatz))
        return Urteil::FremderKlassensatz;
    if (drosseln((druck.klassensatz << 8) | (druck.buzzerNo & 0xff), ankunftMs)) {
        ++m_gedrosselt;
        return Urteil::Gedrosselt;
    }
    // Exact texts: a stored "07" is never handset 7.
    druck.master = m_master && QString::number(druck.buzzerNo) == m_masterBuzzer &&
                   QString::number(druck.klassensatz) == m_masterKlassensatz;
    return Urteil::Angenommen;
}
