#include "templatemorvane.h"

#include "fragedatei.h"
#include "schluessel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMorvane, "plenaro.templates.morvane")

namespace {

const QString Bilder = QStringLiteral("../images/");

// Tile image and height of each answer when it shows text.
struct Kachel
{
    QString bild;
    QString hoehe;
    QString gruen;
};
const std::array<Kachel, 4> Kacheln{{
    {QStringLiteral("antwortenHintergrundBlauRechts.gif"), QStringLiteral("180"),
     QStringLiteral("antwortenHintergrundRechtsGruen.gif")},
    {QStringLiteral("antwortHintergrundGrau.gif"), QStringLiteral("212"),
     QStringLiteral("antwortHintergrundSchraegGruen.gif")},
    {QStringLiteral("antwortenHintergrundBlauRechts.gif"), QStringLiteral("180"),
     QStringLiteral("antwortenHintergrundRechtsGruen.gif")},
    {QStringLiteral("antwortenHintergrundBlauLinks.gif"), QStringLiteral("180"),
     QStringLiteral("antwortenHintergrundLinksGruen.gif")},
}};

QString attr(const QString &klasse, const QString &name, const QString &wert)
{
    return jq(klasse) + QLatin1String(".attr('") + name + QLatin1String("','") + wert + QLatin1String("')");
}

QString css(const QString &klasse, const QString &name, const QString &wert)
{
    return jq(klasse) + QLatin1String(".css('") + name + QLatin1String("', '") + wert + QLatin1String("')");
}

QString html(const QString &klasse, const QString &inhalt)
{
    return jq(klasse) + QLatin1String(".html('") + inhalt + QLatin1String("')");
}

QString klasse(const QString &klasse, const char *aktion, const QString &name)
{
    return jq(klasse) + QLatin1Char('.') + QLatin1String(aktion) + QLatin1String("('") + name +
           QLatin1String("')");
}

QString geraet(uint n)
{
    return QStringLiteral("imgGeraeteID%1Morvane").arg(n);
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
    for (const QString &b : Buchstaben)
        ausfuehren(
            klasse(QLatin1String("imgAntwort") + b, "removeClass", QStringLiteral("imgAntwortRichtig")));
}

void templateMorvane::kachelnZuruecksetzen()
{
    for (int i = 0; i < 4; ++i) {
        const QString img = QLatin1String("imgAntwort") + Buchstaben[i];
        ausfuehren(attr(img, QStringLiteral("src"), Bilder + Kacheln[i].bild));
        // The last selector carries a blank; jQuery trims it.
        ausfuehren(attr(i == 3 ? img + QLatin1Char(' ') : img, QStringLiteral("height"), Kacheln[i].hoehe));
    }
}

void templateMorvane::frageAnzeigen(const QDomNode &frage, int)
{
    m_istQuiz = FrageDatei::feld(frage, FrageDatei::Loesung) != FrageDatei::Umfrage;
    const QString fragetext = text(frage, QStringLiteral("QuestionText"));
    zoomAnpassen950();

    richtigMarkierungEntfernen();
    for (const char *b : {"A", "B"}) {
        const QString p = QLatin1String("prozentAntwort") + QLatin1String(b);
        ausfuehren(klasse(p, "removeClass", QStringLiteral("prozentAntwortAMarginTop150")));
        ausfuehren(klasse(p, "removeClass", QStringLiteral("prozentAntwortAMarginTop166")));
    }
    ausfuehren(css(QStringLiteral("imgfrageMorvane"), QStringLiteral("display"), QStringLiteral("none")));

    const BildPfad::Quelle bildFrage = bild(frage, QStringLiteral("PictureQuestionText"));
    if (bildFrage.isEmpty()) {
        ausfuehren(html(QStringLiteral("textFrage"), fragetext));
    } else {
        const int h = std::min(bildHoehe(bildFrage), MaxBildHoehe);
        const QString img = QStringLiteral("imgfrageMorvane");
        ausfuehren(html(QStringLiteral("textFrage"), QString()));
        ausfuehren(attr(img, QStringLiteral("src"), bildFrage.url));
        ausfuehren(attr(img, QStringLiteral("height"), QString::number(h)));
        ausfuehren(css(img, QStringLiteral("display"), QStringLiteral("block")));
        ausfuehren(css(img, QStringLiteral("margin-left"), QStringLiteral("auto")));
        ausfuehren(css(img, QStringLiteral("margin-right"), QStringLiteral("auto")));
    }

    for (const QString &b : Buchstaben)
        ausfuehren(html(QLatin1String("textAntwort") + b, QString()));
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".width('0%')"));
    ausfuehren(html(QStringLiteral("text_progressbar"), QString()));
    ausfuehren(css(QStringLiteral("allImgGeraete"), QStringLiteral("display"), QStringLiteral("none")));

    kachelnZuruecksetzen();

    for (const QString &b : Buchstaben)
        ausfuehren(html(QLatin1String("prozentAntwort") + b, QString()));
    ausfuehren(html(QStringLiteral("konferenzmodus"), QString()));
    m_stimmen.leeren();
}

void templateMorvane::antwortenAnzeigen(const QDomNode &frage)
{
    const Antworten alle = antworten(frage);
    const QStringList &texte = alle.texte;
    const QList<BildPfad::Quelle> &bilder = alle.bilder;
    for (int i = 0; i < 4; ++i)
        m_hatAntwort[i] = alle.vorhanden(i);
    const QString zeit = FrageDatei::feld(frage, QStringLiteral("Time"));

    for (int i = 0; i < 4; ++i)
        ausfuehren(html(QLatin1String("textAntwort") + Buchstaben[i], texte[i]));
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".width('100%')"));
    ausfuehren(attr(QStringLiteral("progressbar"), QStringLiteral("src"),
                    Bilder + QLatin1String("progress_gruen.png")));
    ausfuehren(html(QStringLiteral("text_progressbar"), zeit + QLatin1String(" Sekunden")));
    richtigMarkierungEntfernen();

    for (int i = 0; i < 4; ++i) {
        const QString textKlasse = QLatin1String("textAntwort") + Buchstaben[i];
        const QString img = QLatin1String("imgAntwort") + Buchstaben[i];
        if (!bilder[i].isEmpty()) {
            m_ohneBild[i] = false;
            const int h = std::min(bildHoehe(bilder[i]), MaxBildHoehe);
            ausfuehren(html(textKlasse, QString()));
            ausfuehren(attr(img, QStringLiteral("src"), bilder[i].url));
            ausfuehren(attr(img, QStringLiteral("height"), QString::number(h)));
            ausfuehren(klasse(img, "removeAttr", QStringLiteral("width")));
            ausfuehren(css(img, QStringLiteral("display"), QStringLiteral("inline")));
        } else {
            m_ohneBild[i] = true;
            ausfuehren(html(textKlasse, texte[i]));
            ausfuehren(attr(img, QStringLiteral("src"), Bilder + Kacheln[i].bild));
            ausfuehren(
                attr(i == 3 ? img + QLatin1Char(' ') : img, QStringLiteral("height"), Kacheln[i].hoehe));
            ausfuehren(attr(img, QStringLiteral("width"), QStringLiteral("550")));
        }
    }
}

void templateMorvane::updateCountdown(int rest, int laenge)
{
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".width('") + balken(rest, laenge) +
               QLatin1String("%')"));
    if (rest > 0)
        ausfuehren(
            html(QStringLiteral("text_progressbar"), QString::number(rest) + QLatin1String(" Sekunden")));
    if (rest == 3 || rest == 4)
        ausfuehren(attr(QStringLiteral("progressbar"), QStringLiteral("src"),
                        Bilder + QLatin1String("progress_orange.png")));
    else if (rest <= 2)
        ausfuehren(attr(QStringLiteral("progressbar"), QStringLiteral("src"),
                        Bilder + QLatin1String("progress_rot.png")));
}

void templateMorvane::countdownAbgelaufen()
{
    ausfuehren(html(QStringLiteral("text_progressbar"), QStringLiteral(" ")));
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".width('0%')"));
}

void templateMorvane::loesungMarkieren(const QString &loesung)
{
    const QString pA = QStringLiteral("prozentAntwortA");
    const QString pB = QStringLiteral("prozentAntwortB");
    const QString m150 = QStringLiteral("prozentAntwortAMarginTop150");
    const QString m166 = QStringLiteral("prozentAntwortAMarginTop166");
    const QString m1666 = QStringLiteral("prozentAntwortAMarginTop166-6");
    const QString richtig = QStringLiteral("imgAntwortRichtig");
    const auto gruen = [this](int i) {
        const QString img = QLatin1String("imgAntwort") + Buchstaben[i];
        ausfuehren(attr(img, QStringLiteral("src"), Bilder + Kacheln[i].gruen));
        ausfuehren(attr(img, QStringLiteral("height"), Kacheln[i].hoehe));
    };

    if (loesung == QLatin1String("Answer1")) {
        if (m_ohneBild[0]) {
            gruen(0);
            ausfuehren(klasse(pA, "removeClass", m166));
            ausfuehren(klasse(pA, "addClass", m150));
        } else {
            ausfuehren(klasse(QStringLiteral("imgAntwortA"), "addClass", richtig));
            ausfuehren(klasse(pA, "removeClass", m150));
            ausfuehren(klasse(pA, "addClass", m166));
        }
    } else {
        ausfuehren(klasse(pA, "addClass", m150));
    }

    if (loesung == QLatin1String("Answer2")) {
        if (m_ohneBild[1]) {
            gruen(1);
            ausfuehren(klasse(pB, "removeClass", m1666));
            ausfuehren(klasse(pB, "removeClass", m150));
            ausfuehren(klasse(pB, "addClass", m166));
        } else {
            ausfuehren(klasse(QStringLiteral("imgAntwortB"), "addClass", richtig));
            ausfuehren(klasse(pB, "removeClass", m1666));
            ausfuehren(klasse(pB, "removeClass", m166));
            ausfuehren(klasse(pB, "addClass", m150));
        }
    } else {
        ausfuehren(klasse(pB, "addClass", m150));
        ausfuehren(klasse(pB, "removeClass", m1666));
        if (loesung == QLatin1String("Answer1")) {
            ausfuehren(klasse(pB, "removeClass", m150));
            ausfuehren(klasse(pB, "addClass", m1666));
        }
    }

    for (int i = 2; i < 4; ++i) {
        if (loesung != QStringLiteral("Answer%1").arg(i + 1))
            continue;
        if (m_ohneBild[i])
            gruen(i);
        else
            ausfuehren(klasse(QLatin1String("imgAntwort") + Buchstaben[i], "addClass", richtig));
    }
}

void templateMorvane::richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &,
                                              const QString &loesung, const QList<double> &prozente)
{
    if (einstellung(Schluessel::LoesungAnzeigen)) {
        loesungMarkieren(loesung);
        for (const Person &person : richtig) {
            const uint n = person.getBuzzerNo();
            ausfuehren(
                attr(geraet(n), QStringLiteral("src"),
                     QStringLiteral("../IconGeraeteIDMorvane/IconGeraeteIDMorvane/%1_0_gruen.png").arg(n)));
        }
    }

    const QString schalter =
        m_istQuiz ? Schluessel::QuizProzentAntwortenAnzeigen : Schluessel::UmfrageProzentAntwortenAnzeigen;
    if (einstellung(schalter)) {
        for (int i = 0; i < 4; ++i) {
            if (m_hatAntwort[i])
                ausfuehren(html(QLatin1String("prozentAntwort") + Buchstaben[i],
                                prozent(prozente.value(i)) + QLatin1Char('%')));
        }
        const QString pB = QStringLiteral("prozentAntwortB");
        const QString ohne = QStringLiteral("prozentAntwortOhneBild");
        const QString mit = QStringLiteral("prozentAntwortMitBild");
        const QString mitRichtig = QStringLiteral("prozentAntwortMitBildRichtigeAntwort");
        if (m_ohneBild[1]) {
            ausfuehren(klasse(pB, "removeClass", mitRichtig));
            ausfuehren(klasse(pB, "removeClass", mit));
            ausfuehren(klasse(pB, "addClass", ohne));
        } else if (loesung == QLatin1String("Answer2")) {
            ausfuehren(klasse(pB, "removeClass", ohne));
            ausfuehren(klasse(pB, "removeClass", mit));
            ausfuehren(klasse(pB, "addClass", mitRichtig));
        } else {
            ausfuehren(klasse(pB, "removeClass", ohne));
            ausfuehren(klasse(pB, "removeClass", mitRichtig));
            ausfuehren(klasse(pB, "addClass", mit));
        }
    }
    qCDebug(lcMorvane) << "Lösung" << loesung << "Prozente" << prozente;
}

void templateMorvane::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint)
{
    m_stimmen.zaehlen(klassensatz, buzzerNo);
    if (einstellung(Schluessel::Konferenzmodus)) {
        ausfuehren(html(QStringLiteral("konferenzmodus"),
                        QLatin1String("#votes: ") + QString::number(m_stimmen.anzahlStimmen()))
                       .chopped(1) +
                   QLatin1String(" )"));
        return;
    }
    ausfuehren(
        attr(geraet(buzzerNo), QStringLiteral("src"),
             QStringLiteral("../IconGeraeteIDMorvane/IconGeraeteIDMorvane/%1_0_blau.png").arg(buzzerNo)));
    ausfuehren(css(geraet(buzzerNo), QStringLiteral("display"), QStringLiteral("inline")));
}
