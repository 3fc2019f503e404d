#include "fragenkatalog.h"

#include "dialoge.h"

#include "spielprotokoll.h"

Fragenkatalog::Fragenkatalog(Dialoge &dialoge)
    : m_dialoge(dialoge)
{
}

FrageDatei::LadeErgebnis Fragenkatalog::ladeFragen(const QString &dateiName)
{
    FrageDatei::LadeErgebnis ergebnis = FrageDatei::lesen(dateiName);
    if (!ergebnis.ok()) {
        qCDebug(lcSpiel) << "Fragedatei nicht geladen:" << dateiName << ergebnis.beschreibung(false);
        return ergebnis;
    }
    m_dokument = ergebnis.dokument;
    m_fragen = ergebnis.fragen;
    m_anzahlFragen = int(m_fragen.size());
    m_aktuelleFrageNr = 0;
    return ergebnis;
}

QDomElement Fragenkatalog::getFrage(int nr) const
{
    qCDebug(lcSpiel) << "getFrage" << nr;
    if (nr < 1 || nr > m_anzahlFragen)
        return {};
    return m_fragen.at(nr - 1);
}

QDomElement Fragenkatalog::getNaechsteFrage()
{
    if (m_anzahlFragen == 0)
        return {};
    ++m_aktuelleFrageNr;
    if (m_aktuelleFrageNr <= m_anzahlFragen)
        return getFrage(m_aktuelleFrageNr);
    m_dialoge.hinweis(
        {QStringLiteral("Keine weiteren Fragen."), {}, QStringLiteral(":/images/info.png"), true});
    m_endeErreicht = true;
    m_aktuelleFrageNr = m_anzahlFragen;
    return getFrage(m_aktuelleFrageNr);
}

QDomElement Fragenkatalog::getVorherigeFrage()
{
    m_endeErreicht = false;
    if (m_anzahlFragen == 0)
        return {};
    --m_aktuelleFrageNr;
    if (m_aktuelleFrageNr <= 0)
        m_aktuelleFrageNr = 1;
    return getFrage(m_aktuelleFrageNr);
}

QDomElement Fragenkatalog::springeZuFrage(int nr)
{
    if (m_anzahlFragen == 0)
        return {};
    if (nr > m_anzahlFragen) {
        m_aktuelleFrageNr = m_anzahlFragen;
    } else if (nr > 0) {
        m_aktuelleFrageNr = nr;
    } else {
        m_dialoge.hinweis({QStringLiteral("Ungültige Fragenummer."), {}, {}, false});
        m_aktuelleFrageNr = 1;
    }
    return getFrage(m_aktuelleFrageNr);
}

int Fragenkatalog::fehlendeAntworten() const
{
    return fehlendeAntworten(m_aktuelleFrageNr);
}

int Fragenkatalog::fehlendeAntworten(int nr) const
{
    if (nr < 1 || nr > m_anzahlFragen)
        return 0;
    const QDomElement &frage = m_fragen.at(nr - 1);
    const auto fehlt = [&frage](int n) {
        return FrageDatei::feld(frage, QStringLiteral("Answer%1").arg(n)).isEmpty() &&
               FrageDatei::feld(frage, QStringLiteral("PictureAnswer%1").arg(n)).isEmpty();
    };
    const bool ohneDrei = fehlt(3);
    const bool ohneVier = fehlt(4);
    if (ohneDrei && ohneVier)
        return 3;
    if (ohneDrei)
        return 2;
    if (ohneVier)
        return 1;
    return 0;
}

QString Fragenkatalog::feld(const QString &name) const
{
    return feld(m_aktuelleFrageNr, name);
}

QString Fragenkatalog::feld(int nr, const QString &name) const
{
    // Runs for every press: no diagnostic line here.
    if (nr < 1 || nr > m_anzahlFragen)
        return {};
    return FrageDatei::feld(m_fragen.at(nr - 1), name);
}

int Fragenkatalog::runden(int nr) const
{
    return FrageDatei::runden(getFrage(nr));
}

QString Fragenkatalog::notizen(int nr) const
{
    return FrageDatei::notizen(getFrage(nr));
}
