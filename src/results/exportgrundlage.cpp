#include "exportgrundlage.h"

#include "dialoge.h"
#include "einstellungen.h"
#include "exportfortschritt.h"
#include "fragedatei.h"
#include "fragenkatalog.h"
#include "geraetschluessel.h"
#include "rangfolge.h"
#include "schluessel.h"

#include <QFileInfo>
#include <QSaveFile>

namespace Exportgrundlage {

namespace {

Frage frageLesen(const QDomElement &element)
{
    Frage frage;
    if (element.isNull())
        return frage;
    frage.text = FrageDatei::feld(element, QStringLiteral("QuestionText"));
    for (int k = 0; k < 4; ++k)
        frage.antworten[k] = FrageDatei::feld(element, QStringLiteral("Answer%1").arg(k + 1));
    frage.loesung = FrageDatei::feld(element, FrageDatei::Loesung);
    frage.umfrage = frage.loesung == FrageDatei::Umfrage;
    frage.loesungsAntwort = FrageDatei::richtigerKnopf(frage.loesung);
    return frage;
}

} // namespace

Daten zusammenstellen(QList<Person> personen, const Fragenkatalog *katalog, int anzahlFragen,
                      int aktuelleFrageNr, const QDateTime &zeitpunkt)
{
    Daten daten;
    daten.personen = Rangfolge::sortiert(std::move(personen));
    daten.anzahlFragen = std::max(anzahlFragen, 0);
    daten.aktuelleFrageNr = aktuelleFrageNr;
    daten.zeitpunkt = zeitpunkt;
    const QStringList werte = Einstellungen::texte(
        {Schluessel::InstallerLanguage, Schluessel::Konferenzmodus, Schluessel::FrageFile});
    daten.englisch = werte.value(0) == QLatin1String("1033");
    daten.konferenzmodus = werte.value(1) == QLatin1String("true");
    daten.klassensatzZeigen = Rangfolge::klassensatzZeigen(daten.personen, daten.konferenzmodus);
    daten.frageFile = werte.value(2);

    daten.fragen.reserve(daten.anzahlFragen);
    for (int i = 1; i <= daten.anzahlFragen; ++i)
        daten.fragen.append(frageLesen(katalog ? katalog->getFrage(i) : QDomElement()));

    daten.knoepfe.reserve(daten.personen.size());
    daten.knoepfeErsteRunde.reserve(daten.personen.size());
    for (const Person &person : std::as_const(daten.personen)) {
        QVector<int> knoepfe(daten.anzahlFragen + 1, 0);
        QVector<int> ersteRunde(daten.anzahlFragen + 1, 0);
        for (const AntwortDerPerson &antwort : person.getAntworten()) {
            const int nr = antwort.getFrageNr();
            if (nr < 1 || nr > daten.anzahlFragen)
                continue;
            Frage &frage = daten.fragen[nr - 1];
            knoepfe[nr] = antwort.getAntwort();
            const int knopf = antwort.getAntwort();
            if (knopf >= 1 && knopf <= 4)
                ++frage.anzahl[knopf - 1];
            const int erster = antwort.getAntwortErsteRunde();
            if (erster >= 1 && erster <= 4) {
                ersteRunde[nr] = erster;
                ++frage.anzahlErsteRunde[erster - 1];
                frage.zweiRunden = true;
                daten.zweiRunden = true;
            }
        }
        daten.knoepfe.append(knoepfe);
        daten.knoepfeErsteRunde.append(ersteRunde);
    }
    const auto anteile = [](const std::array<int, 4> &anzahl, std::array<double, 4> &prozent) {
        const int summe = anzahl[0] + anzahl[1] + anzahl[2] + anzahl[3];
        for (int k = 0; k < 4; ++k)
            prozent[k] = summe > 0 ? anzahl[k] / (summe / 100.0) : 0.0;
    };
    for (Frage &frage : daten.fragen) {
        anteile(frage.anzahl, frage.prozent);
        anteile(frage.anzahlErsteRunde, frage.prozentErsteRunde);
    }
    if (!daten.zweiRunden) {
        daten.knoepfeErsteRunde.clear();
        return daten;
    }
    for (qsizetype p = 0; p < daten.personen.size(); ++p) {
        for (int i = 1; i <= daten.anzahlFragen; ++i) {
            const Wechsel w = wechsel(daten, p, i);
            daten.fragen[i - 1].falschZuRichtig += w == Wechsel::FalschZuRichtig;
            daten.fragen[i - 1].richtigZuFalsch += w == Wechsel::RichtigZuFalsch;
        }
    }
    return daten;
}

Wechsel wechsel(const Frage &frage, int ersteRunde, int zweiteRunde)
{
    if (!frage.zweiRunden || frage.umfrage || frage.loesungsAntwort == 0 || ersteRunde == 0 ||
        zweiteRunde == 0)
        return Wechsel::Keiner;
    const bool vorher = ersteRunde == frage.loesungsAntwort;
    const bool nachher = zweiteRunde == frage.loesungsAntwort;
    if (vorher == nachher)
        return Wechsel::Keiner;
    return nachher ? Wechsel::FalschZuRichtig : Wechsel::RichtigZuFalsch;
}

Wechsel wechsel(const Daten &daten, qsizetype p, int i)
{
    if (!daten.zweiRunden)
        return Wechsel::Keiner;
    return wechsel(daten.fragen.at(i - 1), daten.knoepfeErsteRunde.at(p).at(i), daten.knoepfe.at(p).at(i));
}

QString wechselText(Wechsel wechsel, bool englisch, const QString &pfeil)
{
    const QString richtig = englisch ? QStringLiteral("right") : QStringLiteral("richtig");
    const QString falsch = englisch ? QStringLiteral("wrong") : QStringLiteral("falsch");
    switch (wechsel) {
    case Wechsel::FalschZuRichtig:
        return falsch + pfeil + richtig;
    case Wechsel::RichtigZuFalsch:
        return richtig + pfeil + falsch;
    case Wechsel::Keiner:
        break;
    }
    return {};
}

QString runde(int nr, bool englisch)
{
    return englisch ? QStringLiteral("Round %1").arg(nr) : QStringLiteral("%1. Runde").arg(nr);
}

QString sekunden(double ms)
{
    return QString::number(ms / 1000.0, 'f', 2);
}

QString name(const Daten &daten, const Person &person)
{
    return daten.namen.name(person.getKlassensatz(), person.getBuzzerNo());
}

QString geraet(const Daten &daten, const Person &person)
{
    return geraetText(person.getKlassensatz(), person.getBuzzerNo(), daten.klassensatzZeigen, daten.englisch);
}

QString vorschlag(const QString &ordner, bool englisch, const QDateTime &zeitpunkt)
{
    return ordner + (englisch ? QStringLiteral("PlenaroEvaluation_") : QStringLiteral("PlenaroAuswertung_")) +
           QString::number(zeitpunkt.date().year()) + zeitpunkt.toString(QStringLiteral("_MM_dd_HHmmss"));
}

QString ordnerTeil(const QString &name)
{
    return name.left(name.lastIndexOf(QLatin1Char('/')) + 1);
}

QString mitEndung(const QString &name, const QString &endung)
{
    return QFileInfo(name).suffix().isEmpty() ? name + endung : name;
}

QString zielWaehlen(Dialoge &dialoge, const QString &titel, const QString &filter,
                    const QString &ordnerSchluessel, const QString &endung, bool englisch,
                    const QDateTime &zeitpunkt)
{
    const QString name = dialoge.dateiZumSpeichern(
        titel, vorschlag(Einstellungen::text(ordnerSchluessel), englisch, zeitpunkt), filter);
    if (name.isEmpty())
        return {};
    return mitEndung(name, endung);
}

void fehlerMelden(Dialoge &dialoge, const QString &pfad, const QString &grund)
{
    Meldung meldung;
    meldung.text =
        Einstellungen::meldung(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.").arg(pfad),
                               QStringLiteral("The file \"%1\" could not be written.").arg(pfad));
    meldung.informativerText = grund;
    meldung.bild = QStringLiteral(":/images/info.png");
    dialoge.hinweis(meldung);
}

bool abschliessen(QSaveFile &datei, QString &grund)
{
    // A write that failed inside the buffer only shows at the flush; commit() would not say so.
    if (datei.error() != QFileDevice::NoError || !datei.flush() || datei.error() != QFileDevice::NoError) {
        grund = datei.errorString();
        datei.cancelWriting();
        return false;
    }
    if (!datei.commit()) {
        grund = datei.errorString();
        return false;
    }
    return true;
}

bool dateiSchreiben(Dialoge &dialoge, const QString &ziel, const QByteArray &bytes)
{
    QSaveFile datei(ziel);
    QString grund;
    if (!datei.open(QIODevice::WriteOnly)) {
        fehlerMelden(dialoge, ziel, datei.errorString());
        return false;
    }
    if (datei.write(bytes) != bytes.size() || !abschliessen(datei, grund)) {
        if (grund.isEmpty())
            grund = datei.errorString();
        datei.cancelWriting();
        fehlerMelden(dialoge, ziel, grund);
        return false;
    }
    return true;
}

bool Melder::weiter(int prozent)
{
    if (m_abgebrochen)
        return false;
    if (!m_fortschritt || prozent <= m_zuletzt)
        return true;
    m_zuletzt = prozent;
    m_abgebrochen = !m_fortschritt->weiter(prozent);
    return !m_abgebrochen;
}

} // namespace Exportgrundlage
