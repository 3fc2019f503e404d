#include "namensliste.h"

#include "csvleser.h"
#include "einstellungen.h"
#include "schluessel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <tuple>

namespace {

// A class list, even of a lecture hall, is small; a bigger file is the wrong one.
constexpr qint64 MaxGroesse = 2 * 1024 * 1024;

bool zahl(const QString &text, uint grenze, uint *wert)
{
    bool ok = false;
    const uint gelesen = text.toUInt(&ok);
    if (!ok || gelesen > grenze)
        return false;
    *wert = gelesen;
    return true;
}

} // namespace

bool Namensliste::lesenAus(const QByteArray &inhalt, bool englisch, QString *fehler)
{
    m_mitKlassensatz.clear();
    m_ohneKlassensatz.clear();
    bool erster = true;
    for (const CsvLeser::Datensatz &satz : CsvLeser::lesen(inhalt)) {
        const QStringList &felder = satz.felder;
        uint klassensatz = 0;
        uint geraet = 0;
        const bool mitKlassensatz = felder.size() >= 3;
        const bool ok = mitKlassensatz ? zahl(felder.at(0), 65535, &klassensatz) &&
                                             zahl(felder.at(1), 0xFFFFFFFFu, &geraet)
                                       : felder.size() == 2 && zahl(felder.at(0), 0xFFFFFFFFu, &geraet);
        const QString name = felder.mid(mitKlassensatz ? 2 : 1).join(QLatin1Char(' ')).simplified();
        if (!ok || name.isEmpty()) {
            // A first line naming its columns is no error.
            if (erster) {
                erster = false;
                continue;
            }
            m_mitKlassensatz.clear();
            m_ohneKlassensatz.clear();
            if (fehler)
                *fehler =
                    (englisch
                         ? QStringLiteral("Line %1 is not \"handset;name\" or \"class set;handset;name\".")
                         : QStringLiteral("Zeile %1 hat nicht die Form „Gerät;Name“ oder "
                                          "„Klassensatz;Gerät;Name“."))
                        .arg(satz.zeile);
            return false;
        }
        erster = false;
        if (mitKlassensatz)
            m_mitKlassensatz.insert({klassensatz, geraet}, name);
        else
            m_ohneKlassensatz.insert(geraet, name);
    }
    return true;
}

bool Namensliste::lesen(const QString &pfad, bool englisch, QString *fehler)
{
    m_mitKlassensatz.clear();
    m_ohneKlassensatz.clear();
    const QString name = QDir::toNativeSeparators(pfad);
    const auto scheitern = [&](const QString &grund) {
        if (fehler)
            *fehler = (englisch ? QStringLiteral("The list of names %1 cannot be read: %2")
                                : QStringLiteral("Die Namensliste %1 kann nicht gelesen werden: %2"))
                          .arg(name, grund);
        return false;
    };
    const QFileInfo info(pfad);
    if (!info.isFile())
        return scheitern(englisch ? QStringLiteral("the file does not exist.")
                                  : QStringLiteral("die Datei existiert nicht."));
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return scheitern(datei.errorString());
    // Judged by what is read, not by the size the file had a moment before: it may grow meanwhile.
    const QByteArray inhalt = datei.read(MaxGroesse + 1);
    if (inhalt.size() > MaxGroesse)
        return scheitern(englisch ? QStringLiteral("the file is larger than 2 MB.")
                                  : QStringLiteral("die Datei ist größer als 2 MB."));
    QString grund;
    if (!lesenAus(inhalt, englisch, &grund))
        return scheitern(grund);
    return true;
}

Namensliste Namensliste::ausEinstellungen(QString *fehler)
{
    Namensliste liste;
    const QString pfad = Einstellungen::text(Schluessel::NamenslisteDatei);
    if (!pfad.isEmpty())
        liste.lesen(pfad, Einstellungen::istEnglisch(), fehler);
    return liste;
}

QString Namensliste::name(uint klassensatz, uint buzzerNo) const
{
    const auto genau = m_mitKlassensatz.constFind({klassensatz, buzzerNo});
    if (genau != m_mitKlassensatz.constEnd())
        return *genau;
    return m_ohneKlassensatz.value(buzzerNo);
}

QList<Namensliste::Eintrag> Namensliste::eintraege() const
{
    QList<Eintrag> liste;
    for (auto it = m_mitKlassensatz.cbegin(); it != m_mitKlassensatz.cend(); ++it)
        liste.append({it.key(), true, it.value()});
    for (auto it = m_ohneKlassensatz.cbegin(); it != m_ohneKlassensatz.cend(); ++it)
        liste.append({{0, it.key()}, false, it.value()});
    // The hashes have no order of their own; a list on screen needs one.
    std::sort(liste.begin(), liste.end(), [](const Eintrag &a, const Eintrag &b) {
        return std::tuple(!a.mitKlassensatz, a.geraet.klassensatz, a.geraet.buzzerNo) <
               std::tuple(!b.mitKlassensatz, b.geraet.klassensatz, b.geraet.buzzerNo);
    });
    return liste;
}
