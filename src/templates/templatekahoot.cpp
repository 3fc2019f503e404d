#include "templatekahoot.h"

#include "einstellungen.h"
#include "fragedatei.h"
#include "schluessel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcKahoot, "plenaro.templates.kahoot")

namespace {

using A = Anweisung;

A versteckt(const A &element)
{
    return element.css("visibility", "hidden");
}

A sichtbar(const A &element)
{
    return element.css("visibility", "inherit");
}

A mitBuchstabe(const SkriptText &klasse, int i)
{
    return A::klasse(klasse + Buchstaben[i]);
}

bool istAntwort(const QString &loesung)
{
    return FrageDatei::richtigerKnopf(loesung) != 0;
}

} // namespace

templatekahoot::templatekahoot(SkriptBruecke &bruecke)
    : TemplateBasis(bruecke)
{
    loadHTML();
}

void templatekahoot::loadHTML()
{
    seiteOeffnen(QStringLiteral("qrc:/template/kahoot.html"), 1.0);
}

void templatekahoot::frageAnzeigen(const QDomNode &frage, int)
{
    m_istQuiz = FrageDatei::feld(frage, FrageDatei::Loesung) != FrageDatei::Umfrage;
    const SkriptText fragetext = text(frage, QStringLiteral("QuestionText"));

    rundenZuruecksetzen();
    ausfuehren(A::klasse("prozentMainTableSpan").css("display", "none"));
    for (int i = 0; i < 4; ++i) {
        ausfuehren(versteckt(mitBuchstabe("tabelleProzentBalken", i)));
        ausfuehren(mitBuchstabe("tabelleProzentBalken", i).css("height", "0%"));
    }
    for (int i = 0; i < 4; ++i)
        ausfuehren(versteckt(mitBuchstabe("prozentProzenangabeHakenAntwort", i)));
    for (int i = 0; i < 4; ++i)
        ausfuehren(mitBuchstabe("prozentProzenangabeText", i).html(""));
    ausfuehren(versteckt(A::klasse("circle")));

    zoomAnpassen950();

    const A img = A::klasse("imgfrageKahoot");
    ausfuehren(img.css("display", "none"));
    // A question with a text and a picture needs both: the text in the head, the picture below.
    ausfuehren(A::klasse("textFrage").html(fragetext));
    if (const std::optional<Bild> bildFrage =
            bild(frage, QStringLiteral("PictureQuestionText"), MaxFrageBildHoehe)) {
        ausfuehren(img.attr("src", bildFrage->quelle));
        ausfuehren(img.attr("height", SkriptText::zahl(bildFrage->hoehe)));
        ausfuehren(img.css("display", "block"));
        ausfuehren(img.css("margin-left", "auto"));
        ausfuehren(img.css("margin-right", "auto"));
    }

    for (int i = 0; i < 4; ++i)
        ausfuehren(mitBuchstabe("textAntwort", i).html(""));
    for (int i = 0; i < 4; ++i)
        ausfuehren(mitBuchstabe("imgAntwort", i).attr("src", ""));

    ausfuehren(versteckt(A::klasse("konferenzmodus")));
    ausfuehren(versteckt(A::klasse("anzahlAntortenText")));
    // The counter's caption is written in the interface language before it first shows.
    if (Einstellungen::istEnglisch())
        ausfuehren(A::klasse("anzahlAntortenText").html("Answers"));
    for (int i = 0; i < 4; ++i)
        ausfuehren(versteckt(mitBuchstabe("hakenAntwort", i)));
    m_stimmen.leeren();
}

void templatekahoot::antwortenAnzeigen(const QDomNode &frage)
{
    const Antworten alle = antworten(frage, MaxAntwortBildHoehe);
    for (int i = 0; i < 4; ++i)
        ausfuehren(mitBuchstabe("textAntwort", i).html(alle.texte[i]));
    for (int i = 0; i < 4; ++i) {
        const A img = mitBuchstabe("imgAntwort", i);
        // A picture answer keeps its text beside the picture as its label.
        if (const std::optional<Bild> &bild = alle.bilder[i]) {
            ausfuehren(img.attr("src", bild->quelle));
            ausfuehren(img.attr("height", SkriptText::zahl(bild->hoehe)));
        } else {
            ausfuehren(img.removeAttr("height"));
        }
    }
}

void templatekahoot::updateCountdown(int rest, int)
{
    ausfuehren(sichtbar(A::klasse("circle")));
    const std::array<SkriptText, 3> spannen{"countdownEinstellig", "countdownZweistellig",
                                            "countdownDreistellig"};
    for (const SkriptText &spanne : spannen)
        ausfuehren(A::klasse(spanne).css("display", "none"));
    int stellen = 0;
    if (rest >= 1 && rest <= 9)
        stellen = 1;
    else if (rest >= 10 && rest <= 99)
        stellen = 2;
    else if (rest >= 100 && rest <= 999)
        stellen = 3;
    if (stellen > 0) {
        const A spanne = A::klasse(spannen[stellen - 1]);
        ausfuehren(spanne.html(SkriptText::zahl(rest)));
        ausfuehren(spanne.css("display", "inline"));
    } else if (rest == 0) {
        ausfuehren(versteckt(A::klasse("circle")));
    }
}

void templatekahoot::countdownAbgelaufen() {}

void templatekahoot::hakenSetzen(const SkriptText &klasse, const QString &loesung)
{
    for (int i = 0; i < 4; ++i) {
        const A haken = mitBuchstabe(klasse, i);
        ausfuehren(FrageDatei::richtigerKnopf(loesung) == i + 1 ? sichtbar(haken) : versteckt(haken));
    }
}

void templatekahoot::richtigeAntwortAnzeigen(const QList<Person> &, const QList<Person> &,
                                             const QString &loesung, const QList<double> &prozente)
{
    ausfuehren(versteckt(A::klasse("circle")));
    if (!einstellung(Schluessel::LoesungAnzeigen))
        return;
    if (istAntwort(loesung))
        hakenSetzen("hakenAntwort", loesung);

    const QString schalter =
        m_istQuiz ? Schluessel::QuizProzentAntwortenAnzeigen : Schluessel::UmfrageProzentAntwortenAnzeigen;
    if (einstellung(schalter)) {
        ausfuehren(A::klasse("imgfrageKahoot").css("display", "none"));
        ausfuehren(A::klasse("prozentMainTableSpan").css("display", "inline"));
        for (int i = 0; i < 4; ++i) {
            const A balken = mitBuchstabe("tabelleProzentBalken", i);
            ausfuehren(sichtbar(balken));
            ausfuehren(balken.css("height", prozent(prozente.value(i)) + "%"));
        }
        if (istAntwort(loesung))
            hakenSetzen("prozentProzenangabeHakenAntwort", loesung);
        for (int i = 0; i < 4; ++i)
            ausfuehren(mitBuchstabe("prozentProzenangabeText", i).html(prozent(prozente.value(i)) + "%"));
        // The first round as fainter bars beside the second's.
        if (!m_ersteRunde.isEmpty()) {
            for (int i = 0; i < 4; ++i) {
                const SkriptText wert = prozent(m_ersteRunde.value(i));
                ausfuehren(mitBuchstabe("ersteRundeBalken", i).css("height", wert + "%"));
                ausfuehren(mitBuchstabe("ersteRundeText", i).html(wert + "%"));
            }
            zweiRundenZeigen();
        }
    }
    qCDebug(lcKahoot) << "Lösung" << loesung << "Prozente" << prozente;
}

void templatekahoot::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint)
{
    m_stimmen.zaehlen(klassensatz, buzzerNo);
    ausfuehren(sichtbar(A::klasse("konferenzmodus")));
    ausfuehren(sichtbar(A::klasse("anzahlAntortenText")));
    ausfuehren(A::klasse("konferenzmodus").html(SkriptText::zahl(m_stimmen.anzahlStimmen())));
}
