#include "templatemorvane.h"

#include "fragedatei.h"
#include "geraetschluessel.h"
#include "schluessel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMorvane, "plenaro.templates.morvane")

namespace {

using A = Anweisung;

// Tile image and height of each answer when it shows text, and its green form for the solution.
struct Kachel
{
    SkriptText bild;
    SkriptText hoehe;
    SkriptText gruen;
};
const std::array<Kachel, 4> Kacheln{{
    {"../images/antwortenHintergrundBlauRechts.gif", "180", "../images/antwortenHintergrundRechtsGruen.gif"},
    {"../images/antwortHintergrundGrau.gif", "212", "../images/antwortHintergrundSchraegGruen.gif"},
    {"../images/antwortenHintergrundBlauRechts.gif", "180", "../images/antwortenHintergrundRechtsGruen.gif"},
    {"../images/antwortenHintergrundBlauLinks.gif", "180", "../images/antwortenHintergrundLinksGruen.gif"},
}};

A bildAntwort(int i)
{
    return A::klasse(SkriptText("imgAntwort") + Buchstaben[i]);
}

A textAntwort(int i)
{
    return A::klasse(SkriptText("textAntwort") + Buchstaben[i]);
}

// A picture answer with a text carries it as a label under the picture.
A kachel(int i)
{
    return A::klasse(SkriptText("kachel") + Buchstaben[i]);
}

A prozentAntwort(int i)
{
    return A::klasse(SkriptText("prozentAntwort") + Buchstaben[i]);
}

// The height statement of tile D has always carried a blank inside its selector; jQuery trims it.
A kachelHoehe(int i)
{
    return i == 3 ? A::klasse(SkriptText("imgAntwortD ")) : bildAntwort(i);
}

A geraet(uint n)
{
    return A::klasse(SkriptText("imgGeraeteID") + SkriptText::zahl(n) + SkriptText("Morvane"));
}

} // namespace

templateMorvane::templateMorvane(SkriptBruecke &bruecke)
    : TemplateBasis(bruecke)
{
    loadHTML();
}

void templateMorvane::loadHTML()
{
    seiteOeffnen(QStringLiteral("qrc:/template/morvane.html"), 1.0);
}

void templateMorvane::richtigMarkierungEntfernen()
{
    for (int i = 0; i < 4; ++i)
        ausfuehren(bildAntwort(i).removeClass("imgAntwortRichtig"));
}

void templateMorvane::kachelnZuruecksetzen()
{
    for (int i = 0; i < 4; ++i) {
        ausfuehren(bildAntwort(i).attr("src", Kacheln[i].bild));
        ausfuehren(kachelHoehe(i).attr("height", Kacheln[i].hoehe));
        ausfuehren(kachel(i).removeClass("mitBeschriftung"));
    }
}

void templateMorvane::frageAnzeigen(const QDomNode &frage, int)
{
    m_istQuiz = FrageDatei::feld(frage, FrageDatei::Loesung) != FrageDatei::Umfrage;
    const SkriptText fragetext = text(frage, QStringLiteral("QuestionText"));
    zoomAnpassen950();

    rundenZuruecksetzen();
    ausfuehren(A::klasse("prozentAntwort").removeAttr("data-erste-runde"));
    richtigMarkierungEntfernen();
    for (int i = 0; i < 2; ++i) {
        ausfuehren(prozentAntwort(i).removeClass("prozentAntwortAMarginTop150"));
        ausfuehren(prozentAntwort(i).removeClass("prozentAntwortAMarginTop166"));
    }
    const A img = A::klasse("imgfrageMorvane");
    ausfuehren(img.css("display", "none"));

    const std::optional<Bild> bildFrage = bild(frage, QStringLiteral("PictureQuestionText"), MaxBildHoehe);
    // A question with a text and a picture needs both to be answered: the text above, the picture
    // in the rest of the band. A picture alone fills the band as before.
    const A band = A::klasse("frageBand");
    ausfuehren(A::klasse("textFrage").html(fragetext));
    if (bildFrage && !fragetext.isEmpty())
        ausfuehren(band.addClass("mitText"));
    else
        ausfuehren(band.removeClass("mitText"));
    if (bildFrage) {
        ausfuehren(img.attr("src", bildFrage->quelle));
        ausfuehren(img.attr("height", SkriptText::zahl(bildFrage->hoehe)));
        ausfuehren(img.css("display", "block"));
        ausfuehren(img.css("margin-left", "auto"));
        ausfuehren(img.css("margin-right", "auto"));
    }

    for (int i = 0; i < 4; ++i)
        ausfuehren(textAntwort(i).html(""));
    ausfuehren(A::klasse("progressbar").width("0%"));
    ausfuehren(A::klasse("text_progressbar").html(""));
    ausfuehren(A::klasse("allImgGeraete").css("display", "none"));

    kachelnZuruecksetzen();

    for (int i = 0; i < 4; ++i)
        ausfuehren(prozentAntwort(i).html(""));
    ausfuehren(A::klasse("konferenzmodus").html(""));
    m_stimmen.leeren();
}

void templateMorvane::antwortenAnzeigen(const QDomNode &frage)
{
    const Antworten alle = antworten(frage, MaxBildHoehe);
    for (int i = 0; i < 4; ++i)
        m_hatAntwort[i] = alle.vorhanden(i);

    for (int i = 0; i < 4; ++i)
        ausfuehren(textAntwort(i).html(alle.texte[i]));
    ausfuehren(A::klasse("progressbar").width("100%"));
    ausfuehren(A::klasse("progressbar").attr("src", "../images/progress_gruen.png"));
    ausfuehren(A::klasse("text_progressbar")
                   .html(text(frage, QStringLiteral("Time")) + wort(" Sekunden", " seconds")));
    richtigMarkierungEntfernen();

    for (int i = 0; i < 4; ++i) {
        if (const std::optional<Bild> &bild = alle.bilder[i]) {
            m_ohneBild[i] = false;
            if (!alle.texte[i].isEmpty())
                ausfuehren(kachel(i).addClass("mitBeschriftung"));
            ausfuehren(bildAntwort(i).attr("src", bild->quelle));
            ausfuehren(bildAntwort(i).attr("height", SkriptText::zahl(bild->hoehe)));
            ausfuehren(bildAntwort(i).removeAttr("width"));
            ausfuehren(bildAntwort(i).css("display", "inline"));
        } else {
            m_ohneBild[i] = true;
            ausfuehren(kachel(i).removeClass("mitBeschriftung"));
            ausfuehren(bildAntwort(i).attr("src", Kacheln[i].bild));
            ausfuehren(kachelHoehe(i).attr("height", Kacheln[i].hoehe));
            ausfuehren(bildAntwort(i).attr("width", "550"));
        }
    }
}

void templateMorvane::updateCountdown(int rest, int laenge)
{
    ausfuehren(A::klasse("progressbar").width(balken(rest, laenge) + "%"));
    if (rest > 0)
        ausfuehren(
            A::klasse("text_progressbar").html(SkriptText::zahl(rest) + wort(" Sekunden", " seconds")));
    if (rest == 3 || rest == 4)
        ausfuehren(A::klasse("progressbar").attr("src", "../images/progress_orange.png"));
    else if (rest <= 2)
        ausfuehren(A::klasse("progressbar").attr("src", "../images/progress_rot.png"));
}

void templateMorvane::countdownAbgelaufen()
{
    ausfuehren(A::klasse("text_progressbar").html(" "));
    ausfuehren(A::klasse("progressbar").width("0%"));
}

void templateMorvane::loesungMarkieren(const QString &loesung)
{
    const A pA = prozentAntwort(0);
    const A pB = prozentAntwort(1);
    const SkriptText m150 = "prozentAntwortAMarginTop150";
    const SkriptText m166 = "prozentAntwortAMarginTop166";
    const SkriptText m1666 = "prozentAntwortAMarginTop166-6";
    const SkriptText richtig = "imgAntwortRichtig";
    const auto gruen = [this](int i) {
        ausfuehren(bildAntwort(i).attr("src", Kacheln[i].gruen));
        ausfuehren(bildAntwort(i).attr("height", Kacheln[i].hoehe));
    };

    const int knopf = FrageDatei::richtigerKnopf(loesung);
    if (knopf == 1) {
        if (m_ohneBild[0]) {
            gruen(0);
            ausfuehren(pA.removeClass(m166));
            ausfuehren(pA.addClass(m150));
        } else {
            ausfuehren(bildAntwort(0).addClass(richtig));
            ausfuehren(pA.removeClass(m150));
            ausfuehren(pA.addClass(m166));
        }
    } else {
        ausfuehren(pA.addClass(m150));
    }

    if (knopf == 2) {
        if (m_ohneBild[1]) {
            gruen(1);
            ausfuehren(pB.removeClass(m1666));
            ausfuehren(pB.removeClass(m150));
            ausfuehren(pB.addClass(m166));
        } else {
            ausfuehren(bildAntwort(1).addClass(richtig));
            ausfuehren(pB.removeClass(m1666));
            ausfuehren(pB.removeClass(m166));
            ausfuehren(pB.addClass(m150));
        }
    } else {
        ausfuehren(pB.addClass(m150));
        ausfuehren(pB.removeClass(m1666));
        if (knopf == 1) {
            ausfuehren(pB.removeClass(m150));
            ausfuehren(pB.addClass(m1666));
        }
    }

    for (int i = 2; i < 4; ++i) {
        if (knopf != i + 1)
            continue;
        if (m_ohneBild[i])
            gruen(i);
        else
            ausfuehren(bildAntwort(i).addClass(richtig));
    }
}

void templateMorvane::richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &,
                                              const QString &loesung, const QList<double> &prozente)
{
    if (einstellung(Schluessel::LoesungAnzeigen)) {
        loesungMarkieren(loesung);
        for (const Person &person : richtig) {
            if (istHandy(person.getKlassensatz()))
                continue;
            const uint n = person.getBuzzerNo();
            ausfuehren(geraet(n).attr("src", SkriptText("../IconGeraeteIDMorvane/IconGeraeteIDMorvane/") +
                                                 SkriptText::zahl(n) + SkriptText("_0_gruen.png")));
        }
    }

    const QString schalter =
        m_istQuiz ? Schluessel::QuizProzentAntwortenAnzeigen : Schluessel::UmfrageProzentAntwortenAnzeigen;
    if (einstellung(schalter)) {
        for (int i = 0; i < 4; ++i) {
            if (m_hatAntwort[i])
                ausfuehren(prozentAntwort(i).html(prozent(prozente.value(i)) + "%"));
        }
        // The page writes the first round's share, fainter, before the second's.
        if (!m_ersteRunde.isEmpty()) {
            for (int i = 0; i < 4; ++i) {
                if (m_hatAntwort[i])
                    ausfuehren(
                        prozentAntwort(i).attr("data-erste-runde", prozent(m_ersteRunde.value(i)) + "%"));
            }
            zweiRundenZeigen();
        }
        const A pB = prozentAntwort(1);
        const SkriptText ohne = "prozentAntwortOhneBild";
        const SkriptText mit = "prozentAntwortMitBild";
        const SkriptText mitRichtig = "prozentAntwortMitBildRichtigeAntwort";
        if (m_ohneBild[1]) {
            ausfuehren(pB.removeClass(mitRichtig));
            ausfuehren(pB.removeClass(mit));
            ausfuehren(pB.addClass(ohne));
        } else if (loesung == QLatin1String("Answer2")) {
            ausfuehren(pB.removeClass(ohne));
            ausfuehren(pB.removeClass(mit));
            ausfuehren(pB.addClass(mitRichtig));
        } else {
            ausfuehren(pB.removeClass(ohne));
            ausfuehren(pB.removeClass(mitRichtig));
            ausfuehren(pB.addClass(mit));
        }
    }
    qCDebug(lcMorvane) << "Lösung" << loesung << "Prozente" << prozente;
}

void templateMorvane::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint)
{
    m_stimmen.zaehlen(klassensatz, buzzerNo);
    if (einstellung(Schluessel::Konferenzmodus)) {
        ausfuehren(A::klasse("konferenzmodus")
                       .html(SkriptText("#votes: ") + SkriptText::zahl(m_stimmen.anzahlStimmen())));
        return;
    }
    // The icons are the handsets'; phone 1 is not handset 1.
    if (istHandy(klassensatz))
        return;
    ausfuehren(geraet(buzzerNo).attr("src", SkriptText("../IconGeraeteIDMorvane/IconGeraeteIDMorvane/") +
                                                SkriptText::zahl(buzzerNo) + SkriptText("_0_blau.png")));
    ausfuehren(geraet(buzzerNo).css("display", "inline"));
}
