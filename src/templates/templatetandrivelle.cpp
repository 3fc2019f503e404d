#include "templatetandrivelle.h"

#include "einstellungen.h"
#include "fragedatei.h"
#include "geraetschluessel.h"
#include "schluessel.h"
#include "uhr.h"
#include "zufall.h"

#include <QLoggingCategory>
#include <QVariantMap>

#include <cmath>

Q_LOGGING_CATEGORY(lcTandrivelle, "plenaro.templates.tandrivelle")

namespace {

using A = Anweisung;

A blatt(uint n)
{
    return A::klasse(SkriptText("blatt") + SkriptText::zahl(n));
}

A mitBuchstabe(const SkriptText &klasse, int i)
{
    return A::klasse(klasse + Buchstaben[i]);
}

// Positions and heights are read in whole pixels.
qint16 ganz(double wert)
{
    return qint16(wert);
}

double mitglied(const QVariant &wert, const char *name)
{
    return wert.toMap().value(QLatin1String(name)).toDouble();
}

} // namespace

templatetandrivelle::templatetandrivelle(SkriptBruecke &bruecke, Uhr &uhr, Zufall &zufall)
    : TemplateBasis(bruecke)
    , m_uhr(uhr)
    , m_zufall(zufall)
{
    loadHTML();
}

void templatetandrivelle::loadHTML()
{
    seiteOeffnen(QStringLiteral("qrc:/template/tandrivelleneu.html"), Startzoom);
}

void templatetandrivelle::frageAnzeigen(const QDomNode &frage, int frageNr)
{
    m_frageNr = frageNr;
    m_istQuiz = FrageDatei::feld(frage, FrageDatei::Loesung) != FrageDatei::Umfrage;
    const SkriptText fragetext = text(frage, QStringLiteral("QuestionText"));
    // Falls of the previous question still being worked out stop here; timers the page reports
    // for them from now on are cleared as they come.
    m_wache.neueRunde();

    for (const int id : std::as_const(m_zeitgeberIDs))
        ausfuehren(A::zeitgeberLoeschen(id));
    // Once cleared they are gone; a reloaded page would reuse the numbers for new timers.
    m_zeitgeberIDs.clear();

    if (einstellung(Schluessel::FrageNummerInTemplateAnzeigen))
        ausfuehren(A::klasse("textFrageNummer").html(SkriptText::zahl(frageNr) + "."));
    ausfuehren(A::klasse("textFrage").html(fragetext));
    ausfuehren(A::klasse("textFrage")
                   .css("font-weight",
                        einstellung(Schluessel::FragetextFett) ? SkriptText("bold") : SkriptText("normal")));

    for (int i = 0; i < 4; ++i)
        ausfuehren(mitBuchstabe("textAntwort", i).html(""));
    ausfuehren(A::klasse("progressbar").height("0%"));
    ausfuehren(A::klasse("text_progressbar").html(""));
    ausfuehren(A::klasse("imgfrage").css("display", "none"));
    ausfuehren(A::klasse("imgfrage").attr("height", SkriptText::zahl(0)));
    for (int i = 0; i < 4; ++i)
        ausfuehren(A::klasse(SkriptText("imgantworttext_") + KleinBuchstaben[i]).css("display", "none"));

    if (const std::optional<Bild> bildFrage =
            bild(frage, QStringLiteral("PictureQuestionText"), MaxBildHoehe)) {
        ausfuehren(A::klasse("imgfrage").attr("src", bildFrage->quelle));
        ausfuehren(A::klasse("imgfrage").attr("height", SkriptText::zahl(bildFrage->hoehe)));
        ausfuehren(A::klasse("imgfrage").css("display", "inline"));
    }

    for (int i = 0; i < 4; ++i)
        ausfuehren(mitBuchstabe("imghaken_", i).css("display", "none"));
    ausfuehren(A::klasse("allImgGeraete").css("display", "none"));
    ausfuehren(A::klasse("allImgGeraete").cssDicht("position", "static"));
    ausfuehren(A::klasse("blaetterhaufenimg").css("opacity", "0.0"));
    ausfuehren(A::klasse("blaetterhaufenimg").cssDicht("position", "static"));
    for (int i = 0; i < 4; ++i)
        ausfuehren(mitBuchstabe("prozent_", i).html(""));
    rundenZuruecksetzen();
    ausfuehren(A::klasse("prozent").removeAttr("data-erste-runde"));
    ausfuehren(A::klasse("konferenzmodus").html(""));
    m_stimmen.leeren();
}

void templatetandrivelle::antwortenAnzeigen(const QDomNode &frage)
{
    const Antworten alle = antworten(frage, MaxBildHoehe);
    for (int i = 0; i < 4; ++i)
        m_hatAntwort[i] = alle.vorhanden(i);

    for (int i = 0; i < 4; ++i) {
        const A badge = A::klasse(Buchstaben[i] + "_mit_Rand_Image");
        if (m_hatAntwort[i]) {
            ausfuehren(badge.attr("src", SkriptText("../images/") + Buchstaben[i] + "_mit_Rand.png"));
            ausfuehren(badge.css("display", "inline"));
        } else {
            ausfuehren(badge.css("display", "none"));
        }
    }
    for (int i = 0; i < 4; ++i)
        ausfuehren(mitBuchstabe("textAntwort", i).html(alle.texte[i]));
    ausfuehren(A::klasse("progressbar").width("100%"));
    ausfuehren(A::klasse("progressbar").height("100%"));
    ausfuehren(A::klasse("progressbar").attr("src", "../images/progress_gruen.png"));

    for (int i = 0; i < 4; ++i) {
        const std::optional<Bild> &bild = alle.bilder[i];
        if (!bild)
            continue;
        const A img = A::klasse(SkriptText("imgantworttext_") + KleinBuchstaben[i]);
        ausfuehren(img.attr("src", bild->quelle));
        ausfuehren(img.attr("height", SkriptText::zahl(bild->hoehe)));
        ausfuehren(img.css("display", "inline"));
    }
    ausfuehren(A::klasse("text_progressbar").html(text(frage, QStringLiteral("Time")) + "s"));
    if (m_frageNr <= 1)
        zoomAnpassen();
}

double templatetandrivelle::zoomEinpassen(int inhalt, int ansicht, double aktuell, bool *geaendert)
{
    *geaendert = false;
    if (inhalt > ansicht) {
        int c = inhalt;
        int n = 1;
        for (;;) {
            c = int(c * 0.95);
            if (ansicht < c)
                ++n;
            else
                break;
        }
        *geaendert = true;
        return std::clamp(Startzoom - 0.05 * n, SkriptBruecke::MinZoom, SkriptBruecke::MaxZoom);
    }
    if (ansicht > inhalt + 400) {
        int c = inhalt;
        int k = 1;
        for (;;) {
            c = int(c * 1.05);
            if (ansicht > c + 400)
                ++k;
            else
                break;
        }
        *geaendert = true;
        return std::clamp(Startzoom + 0.05 * k, SkriptBruecke::MinZoom, SkriptBruecke::MaxZoom);
    }
    return aktuell;
}

void templatetandrivelle::zoomAnpassen()
{
    // The three heights arrive in the order asked; the fit runs with the last of them.
    auto hoehen = std::make_shared<std::array<int, 3>>();
    auswerten(A::klasse("progressbar").hoeheLesen(),
              [hoehen](const QVariant &wert) { (*hoehen)[0] = ganz(wert.toDouble()); });
    auswerten(A::klasse("textFrage").hoeheLesen(),
              [hoehen](const QVariant &wert) { (*hoehen)[1] = ganz(wert.toDouble()); });
    auswerten(A::klasse("imgfrage").hoeheLesen(), [this, hoehen](const QVariant &wert) {
        (*hoehen)[2] = ganz(wert.toDouble());
        const int balken = ganz((*hoehen)[0] * 1.2);
        const int textHoehe = ganz((*hoehen)[1] * 1.2 + 70);
        const int bildHoehe = ganz((*hoehen)[2] * 1.2 + 50);
        const int inhalt = balken + std::max(textHoehe, bildHoehe) + 130;
        const int ansicht = m_bruecke.hoehe();

        const double gespeichert = Einstellungen::reell(Schluessel::ZoomFaktorTemplateTandrivelle);
        m_bruecke.setZoomFaktor(gespeichert);
        bool geaendert = false;
        const double zoom = zoomEinpassen(inhalt, ansicht, gespeichert, &geaendert);
        qCDebug(lcTandrivelle) << "Inhalt" << inhalt << "Ansicht" << ansicht << "Zoom" << zoom;
        if (geaendert) {
            m_bruecke.setZoomFaktor(zoom);
            Einstellungen::setzen(Schluessel::ZoomFaktorTemplateTandrivelle, QString::number(zoom, 'g', 6));
        }
    });
}

void templatetandrivelle::updateCountdown(int rest, int laenge)
{
    ausfuehren(A::klasse("progressbar").height(balken(rest, laenge) + "%"));
    if (rest > 0)
        ausfuehren(A::klasse("text_progressbar").html(SkriptText::zahl(rest) + "s"));
    if (rest == 3 || rest == 4)
        ausfuehren(A::klasse("progressbar").attr("src", "../images/progress_orange.png"));
    else if (rest <= 2)
        ausfuehren(A::klasse("progressbar").attr("src", "../images/progress_rot.png"));
}

void templatetandrivelle::countdownAbgelaufen()
{
    ausfuehren(A::klasse("text_progressbar").html(" "));
    ausfuehren(A::klasse("progressbar").width("0%"));
}

void templatetandrivelle::richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                                  const QString &loesung, const QList<double> &prozente)
{
    if (!einstellung(Schluessel::LoesungAnzeigen))
        return;
    for (int i = 0; i < 4; ++i) {
        if (FrageDatei::richtigerKnopf(loesung) != i + 1)
            continue;
        const A haken = mitBuchstabe("imghaken_", i);
        ausfuehren(haken.attr("src", "../images/haken_gruen.png"));
        ausfuehren(haken.attr("height", "35"));
        ausfuehren(haken.css("display", "inline"));
    }
    const QString schalter =
        m_istQuiz ? Schluessel::QuizProzentAntwortenAnzeigen : Schluessel::UmfrageProzentAntwortenAnzeigen;
    if (einstellung(schalter)) {
        for (int i = 0; i < 4; ++i) {
            if (m_hatAntwort[i])
                ausfuehren(mitBuchstabe("prozent_", i).html(prozent(prozente.value(i)) + "%"));
        }
        // The page writes the first round's share, fainter, before the second's.
        if (!m_ersteRunde.isEmpty()) {
            for (int i = 0; i < 4; ++i) {
                if (m_hatAntwort[i])
                    ausfuehren(mitBuchstabe("prozent_", i)
                                   .attr("data-erste-runde", prozent(m_ersteRunde.value(i)) + "%"));
            }
            zweiRundenZeigen();
        }
    }
    QList<uint> geraete;
    for (const Person &person : falsch) {
        if (!istHandy(person.getKlassensatz()))
            geraete.append(person.getBuzzerNo());
    }
    blattFallen(geraete, int(falsch.size()), int(richtig.size() + falsch.size()));
}

std::pair<double, double> templatetandrivelle::streuung(int anzahlFalsch)
{
    if (anzahlFalsch <= 9)
        return {10, 25};
    if (anzahlFalsch <= 29)
        return {15, 30};
    if (anzahlFalsch <= 39)
        return {17, 40};
    if (anzahlFalsch <= 50)
        return {20, 50};
    return {25, 60};
}

std::pair<double, double> templatetandrivelle::zufallGauss(double sigmaY, double sigmaX)
{
    float u = 0;
    float v = 0;
    float s = 0;
    // s = 0 (both draws in the middle) has no finite spread; it is drawn again like s ≥ 1.
    do {
        u = 2.0f * float((m_zufall.naechste() % 100) + 1) / 100.0f - 1.0f;
        v = 2.0f * float((m_zufall.naechste() % 100) + 1) / 100.0f - 1.0f;
        s = u * u + v * v;
    } while (s >= 1.0f || s == 0.0f);
    const float f = std::sqrt(-2.0f * std::log(s) / s);
    return {u * f * sigmaX, std::max(0.0, double(v * f * sigmaY))};
}

Fall templatetandrivelle::fallBerechnen(const FallLage &lage, std::pair<int, int> versatz, bool vieleStimmen)
{
    // Everything in the stage's own pixels, in which the leaf moves: the stage is scaled to the
    // window, so neither the window's size nor the zoom has a say. The pile lies at the stage's foot.
    const auto [dx, dy] = versatz;
    Fall fall;
    fall.dx = (lage.ziel - lage.links) - dx;
    if (vieleStimmen)
        fall.dy = lage.haufenOben + lage.haufenHoehe / 2 - lage.oben - dy;
    else
        fall.dy = lage.buehneHoehe - lage.haufenHoehe + 41 - lage.oben - dy;
    return fall;
}

void templatetandrivelle::blattFallen(QList<uint> geraete, int anzahlFalsch, int anzahlGesamt)
{
    if (geraete.isEmpty())
        return;
    const uint n = geraete.takeFirst();
    const A b = blatt(n);
    ausfuehren(b.css({{"position", "relative"}}));

    // Each step reads from the page and goes on when the value has come; the draws keep their
    // order (spread, turn, delay) and the leaves keep theirs. A new question ends the chain.
    auto lage = std::make_shared<FallLage>();
    m_bruecke.auswerten(b.lageLesen(), m_wache.aktuell([=](const QVariant &blattPos) {
        lage->links = ganz(mitglied(blattPos, "left"));
        lage->oben = ganz(mitglied(blattPos, "top"));
        const auto [sigmaY, sigmaX] = streuung(anzahlFalsch);
        const auto gauss = zufallGauss(sigmaY, sigmaX);
        const std::pair<int, int> versatz{int(gauss.first), int(gauss.second)};

        m_bruecke.auswerten(
            A::klasse("posimage13").lageLesen(), m_wache.aktuell([=](const QVariant &zielPos) {
                lage->ziel = ganz(mitglied(zielPos, "left"));
                const int drehung = m_zufall.naechste() % 401;

                m_bruecke.auswerten(
                    A::klasse("blaetterhaufen").lageLesen(), m_wache.aktuell([=](const QVariant &haufenPos) {
                        lage->haufenOben = ganz(mitglied(haufenPos, "top"));
                        m_bruecke.auswerten(A::klasse("blaetterhaufenimg").hoeheLesen().beendet(),
                                            m_wache.aktuell([=](const QVariant &hoehe) {
                                                lage->haufenHoehe = ganz(hoehe.toDouble());
                                                fallStarten(b, *lage, versatz, drehung, geraete, anzahlFalsch,
                                                            anzahlGesamt);
                                            }));
                    }));
            }));
    }));
}

void templatetandrivelle::fallStarten(const Anweisung &b, FallLage lage, std::pair<int, int> versatz,
                                      int drehung, QList<uint> geraete, int anzahlFalsch, int anzahlGesamt)
{
    // The stage's height is what the window's height was to a page laid out on the window itself.
    m_bruecke.auswerten(
        A::klasse("seite").hoeheLesen().beendet(), m_wache.aktuell([=](const QVariant &buehne) {
            FallLage aufDerBuehne = lage;
            aufDerBuehne.buehneHoehe = ganz(buehne.toDouble());
            const Fall fall = fallBerechnen(aufDerBuehne, versatz, anzahlGesamt > 30);
            const int verzoegerung = m_zufall.naechste() % 3001;

            const A bewegung =
                b.verschieben(SkriptText::zahl(fall.dy), SkriptText::zahl(fall.dx), 4000)
                    .css("-webkit-transition", "-webkit-transform 4s")
                    .css("-webkit-transform", SkriptText("rotate(") + SkriptText::zahl(drehung) + "deg)")
                    .css("transition-delay", "0.5s")
                    .css("-webkit-filter", "hue-rotate(-39deg)");
            // The timer id may come after the presenter has moved on: that leaf must not
            // fall into the next question.
            m_bruecke.auswerten(A::zeitgeber(bewegung, verzoegerung),
                                m_wache.lebendig([this](const QVariant &id, bool puenktlich) {
                                    if (!id.isValid())
                                        return;
                                    if (puenktlich)
                                        m_zeitgeberIDs.append(id.toInt());
                                    else
                                        ausfuehren(A::zeitgeberLoeschen(id.toInt()));
                                }));
            ausfuehren(b.css("z-index", "99"));
            ausfuehren(A::klasse("blaetterhaufenimg").css("opacity", "0.0"));
            ausfuehren(A::zeitgeber(A::klasse("blaetterhaufenimg").einblenden(4000), 5000));
            blattFallen(geraete, anzahlFalsch, anzahlGesamt);
        }));
}

void templatetandrivelle::wippen(uint buzzerNo, uint buttonNo)
{
    const qint64 jetzt = m_uhr.epochMs();
    if (jetzt - m_letztesWippen.value(buttonNo, 0) > 200) {
        ausfuehren(blatt(buzzerNo).animate({{"height", "65px"}}, 100));
        ausfuehren(blatt(buzzerNo).animate({{"height", "55px"}}, 100));
    }
    m_letztesWippen.insert(buttonNo, jetzt);
}

void templatetandrivelle::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    const bool neu = m_stimmen.zaehlen(klassensatz, buzzerNo);
    const QString konferenz = Einstellungen::text(Schluessel::Konferenzmodus);
    // The leaves are the handsets'; phone 1 is not handset 1.
    const bool blattDesGeraets = !istHandy(klassensatz);
    if (!neu && konferenz == QLatin1String("false") && blattDesGeraets)
        wippen(buzzerNo, buttonNo);
    if (konferenz == QLatin1String("true")) {
        ausfuehren(A::klasse("konferenzmodus")
                       .html(SkriptText("#votes: ") + SkriptText::zahl(m_stimmen.anzahlStimmen())));
        return;
    }
    if (!neu || !blattDesGeraets)
        return;
    const A b = blatt(buzzerNo);
    ausfuehren(b.stop());
    ausfuehren(b.css({{"opacity", "1.0"}}));
    ausfuehren(b.css({{"top", "0"}, {"left", "0"}}).css("-webkit-transform", "rotate(0deg)"));
    ausfuehren(b.css("-webkit-filter", "hue-rotate(0deg)"));
    ausfuehren(b.attr("src", SkriptText("../IconGeraeteIDTandrivelle/IconGeraeteIDTandrivelle/") +
                                 SkriptText::zahl(buzzerNo) + "_0_green.png"));
    ausfuehren(b.css("display", "inline"));
}
