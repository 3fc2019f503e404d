#include "rangliste.h"

#include "einstellungen.h"
#include "geraetschluessel.h"
#include "rangfolge.h"
#include "schluessel.h"

namespace {

using A = Anweisung;

} // namespace

rangliste::rangliste(SkriptBruecke &bruecke, QObject *eltern)
    : QObject(eltern)
{
    brueckeSetzen(&bruecke);
}

rangliste::rangliste(QObject *eltern)
    : QObject(eltern)
{
}

void rangliste::brueckeSetzen(SkriptBruecke *bruecke)
{
    m_bruecke = bruecke ? bruecke : &SkriptBruecke::ohneSeite();
    m_bruecke->verlaufAbschalten();
}

void rangliste::loadHTML()
{
    m_bruecke->seiteLaden(QUrl(Einstellungen::istEnglisch()
                                   ? QStringLiteral("qrc:/template/rangliste_EN.html")
                                   : QStringLiteral("qrc:/template/rangliste.html")));
    m_bruecke->setZoomFaktor(1.0);
}

void rangliste::ranglisteAnzeigen(QList<Person> personen, int anzahlFragen, int aktuelleFrageNr)
{
    m_bruecke->setZoomFaktor(1.0);
    const bool englisch = Einstellungen::istEnglisch();
    const SkriptText stand = SkriptText::zahl(aktuelleFrageNr) + "/" + SkriptText::zahl(anzahlFragen);
    if (englisch) {
        m_bruecke->ausfuehren(
            A::klasse("textTitelRangliste").html(SkriptText("Ranking according to ") + stand + " questions"));
        m_bruecke->ausfuehren(A::klasse("rang").html("Rank"));
        m_bruecke->ausfuehren(A::klasse("antwortszeitS").html("Response time [s]"));
        m_bruecke->ausfuehren(A::klasse("points").html("Points"));
    } else {
        m_bruecke->ausfuehren(
            A::klasse("textTitelRangliste").html(SkriptText("Rangliste nach ") + stand + " Fragen"));
    }

    // All rows in rank order replace the old ones in one go: the page parses the list once instead
    // of once a row, which is what makes a class of a thousand show at once.
    const QList<Person> reihenfolge = Rangfolge::sortiert(std::move(personen));
    const bool klassensatz =
        Rangfolge::klassensatzZeigen(reihenfolge, Einstellungen::ist(Schluessel::Konferenzmodus));
    SkriptText kopf = englisch ? SkriptText("Device-ID") : SkriptText("Geräte-ID");
    if (klassensatz)
        kopf = englisch ? SkriptText("Device ID/Class-set ID") : SkriptText("Geräte-ID/Klassensatz-ID");
    m_bruecke->ausfuehren(A::klasse("geraeteID").html(kopf));

    SkriptText zeilen("");
    int rang = 0;
    for (const Person &person : reihenfolge) {
        SkriptText geraet = SkriptText::klartext(
            geraetText(person.getKlassensatz(), person.getBuzzerNo(), klassensatz, englisch));
        // A name is the teacher's text, never markup.
        const QString name = m_namen.name(person.getKlassensatz(), person.getBuzzerNo());
        if (!name.isEmpty())
            geraet += SkriptText(" (") + SkriptText::klartext(name.toHtmlEscaped()) + ")";
        zeilen += SkriptText("<tr class=\"tabelleReiheRangliste\"><td>") + SkriptText::zahl(++rang) +
                  "</td><td>" + geraet + "</td><td>" +
                  SkriptText::festkomma(person.getAntwortszeit() / 1000.0, 2) + "</td><td>" +
                  SkriptText::zahl(person.getPunkte()) + "</td></tr>";
    }
    m_bruecke->ausfuehren(A::klasse("zeilenRangliste").inhaltErsetzen(zeilen));
}
