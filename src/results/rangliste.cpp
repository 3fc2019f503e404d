#include "rangliste.h"

#include "einstellungen.h"
#include "rangfolge.h"
#include "schluessel.h"
#include "skriptbruecke.h"

rangliste::rangliste(QObject *eltern)
    : QObject(eltern)
{
}

void rangliste::brueckeSetzen(SkriptBruecke *bruecke)
{
    m_bruecke = bruecke;
    m_bruecke->verlaufAbschalten();
}

void rangliste::loadHTML()
{
    if (!m_bruecke)
        return;
    m_bruecke->seiteLaden(QUrl(Einstellungen::istEnglisch()
                                   ? QStringLiteral("qrc:/template/rangliste_EN.html")
                                   : QStringLiteral("qrc:/template/rangliste.html")));
    m_bruecke->setZoomFaktor(1.0);
}

void rangliste::ranglisteAnzeigen(QList<Person> personen, int anzahlFragen, int aktuelleFrageNr)
{
    if (!m_bruecke)
        return;
    m_bruecke->setZoomFaktor(1.0);
    const bool englisch = Einstellungen::istEnglisch();
    const QString stand = QString::number(aktuelleFrageNr) + QLatin1Char('/') + QString::number(anzahlFragen);
    if (englisch) {
        m_bruecke->ausfuehren(jq(QStringLiteral("textTitelRangliste")) +
                              QLatin1String(".html('Ranking according to ") + stand +
                              QLatin1String(" questions')"));
        m_bruecke->ausfuehren(jq(QStringLiteral("rang")) + QLatin1String(".html('Rank')"));
        m_bruecke->ausfuehren(jq(QStringLiteral("antwortszeitS")) +
                              QLatin1String(".html('Response time [s]')"));
        m_bruecke->ausfuehren(jq(QStringLiteral("points")) + QLatin1String(".html('Points')"));
    } else {
        m_bruecke->ausfuehren(jq(QStringLiteral("textTitelRangliste")) +
                              QLatin1String(".html('Rangliste nach ") + stand + QLatin1String(" Fragen')"));
    }
    m_bruecke->ausfuehren(jq(QStringLiteral("tabelleReiheRangliste")) + QLatin1String(".remove()"));

    const bool konferenz = Einstellungen::ist(Schluessel::Konferenzmodus);
    QString kopf;
    if (konferenz)
        kopf =
            englisch ? QStringLiteral("Device ID/Class-set ID") : QStringLiteral("Geräte-ID/Klassensatz-ID");
    else
        kopf = englisch ? QStringLiteral("Device-ID") : QStringLiteral("Geräte-ID");
    m_bruecke->ausfuehren(jq(QStringLiteral("geraeteID")) + QLatin1String(".html('") + kopf +
                          QLatin1String("')"));

    const QList<Person> reihenfolge = Rangfolge::sortiert(std::move(personen));
    int rang = 0;
    for (const Person &person : reihenfolge) {
        QString geraet = QString::number(person.getBuzzerNo());
        if (konferenz)
            geraet += QLatin1Char('/') + QString::number(person.getKlassensatz());
        m_bruecke->ausfuehren(
            QLatin1String(
                "qt.jQuery('.tabelleRangliste tr:last').after('<tr class=\"tabelleReiheRangliste\"><td>") +
            QString::number(++rang) + QLatin1String("</td><td>") + geraet + QLatin1String("</td><td>") +
            QString::number(person.getAntwortszeit() / 1000.0, 'f', 2) + QLatin1String("</td><td>") +
            QString::number(person.getPunkte()) + QLatin1String("</td></tr>')"));
    }
}
