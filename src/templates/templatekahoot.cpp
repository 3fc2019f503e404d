#include "templatekahoot.h"

#include "fragedatei.h"
#include "schluessel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcKahoot, "plenaro.templates.kahoot")

namespace {

const QString Versteckt = QStringLiteral(".css('visibility', 'hidden')");
const QString Sichtbar = QStringLiteral(".css('visibility', 'inherit')");

bool istAntwort(const QString &loesung)
{
    for (int i = 1; i <= 4; ++i) {
        if (loesung == QStringLiteral("Answer%1").arg(i))
            return true;
    }
    return false;
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
    const QString fragetext = text(frage, QStringLiteral("QuestionText"));

    ausfuehren(jq(QStringLiteral("prozentMainTableSpan")) + QLatin1String(".css('display', 'none')"));
    for (const QString &b : Buchstaben) {
        ausfuehren(jq(QLatin1String("tabelleProzentBalken") + b) + Versteckt);
        ausfuehren(jq(QLatin1String("tabelleProzentBalken") + b) + QLatin1String(".css('height', '0%')"));
    }
    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("prozentProzenangabeHakenAntwort") + b) + Versteckt);
    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("prozentProzenangabeText") + b) + QLatin1String(".html('')"));
    ausfuehren(jq(QStringLiteral("circle")) + Versteckt);

    zoomAnpassen950();

    const QString img = jq(QStringLiteral("imgfrageKahoot"));
    ausfuehren(img + QLatin1String(".css('display', 'none')"));
    const BildPfad::Quelle bildFrage = bild(frage, QStringLiteral("PictureQuestionText"));
    if (!bildFrage.isEmpty()) {
        const int h = std::min(bildHoehe(bildFrage), MaxFrageBildHoehe);
        ausfuehren(jq(QStringLiteral("textFrage")) + QLatin1String(".html('')"));
        ausfuehren(img + QLatin1String(".attr('src','") + bildFrage.url + QLatin1String("')"));
        ausfuehren(img + QStringLiteral(".attr('height','%1')").arg(h));
        ausfuehren(img + QLatin1String(".css('display', 'block')"));
        ausfuehren(img + QLatin1String(".css('margin-left', 'auto')"));
        ausfuehren(img + QLatin1String(".css('margin-right', 'auto')"));
    } else {
        ausfuehren(jq(QStringLiteral("textFrage")) + QLatin1String(".html('") + fragetext +
                   QLatin1String("')"));
    }

    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("textAntwort") + b) + QLatin1String(".html('')"));
    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("imgAntwort") + b) + QLatin1String(".attr('src','')"));

    ausfuehren(jq(QStringLiteral("konferenzmodus")) + Versteckt);
    ausfuehren(jq(QStringLiteral("anzahlAntortenText")) + Versteckt);
    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("hakenAntwort") + b) + Versteckt);
    m_stimmen.leeren();
}

void templatekahoot::antwortenAnzeigen(const QDomNode &frage)
{
    const Antworten alle = antworten(frage);
    const QStringList &texte = alle.texte;
    for (int i = 0; i < 4; ++i)
        ausfuehren(jq(QLatin1String("textAntwort") + Buchstaben[i]) + QLatin1String(".html('") + texte[i] +
                   QLatin1String("')"));
    for (int i = 0; i < 4; ++i) {
        const QString textKlasse = jq(QLatin1String("textAntwort") + Buchstaben[i]);
        const QString img = jq(QLatin1String("imgAntwort") + Buchstaben[i]);
        const BildPfad::Quelle &quelle = alle.bilder[i];
        if (!quelle.isEmpty()) {
            const int h = std::min(bildHoehe(quelle), MaxAntwortBildHoehe);
            ausfuehren(textKlasse + QLatin1String(".html('')"));
            ausfuehren(img + QLatin1String(".attr('src','") + quelle.url + QLatin1String("')"));
            ausfuehren(img + QStringLiteral(".attr('height','%1')").arg(h));
        } else {
            ausfuehren(textKlasse + QLatin1String(".html('") + texte[i] + QLatin1String("')"));
            ausfuehren(img + QLatin1String(".removeAttr('height')"));
        }
    }
}

void templatekahoot::updateCountdown(int rest, int)
{
    ausfuehren(jq(QStringLiteral("circle")) + Sichtbar);
    const QStringList spannen{QStringLiteral("countdownEinstellig"), QStringLiteral("countdownZweistellig"),
                              QStringLiteral("countdownDreistellig")};
    for (const QString &spanne : spannen)
        ausfuehren(jq(spanne) + QLatin1String(".css('display', 'none')"));
    int stellen = 0;
    if (rest >= 1 && rest <= 9)
        stellen = 1;
    else if (rest >= 10 && rest <= 99)
        stellen = 2;
    else if (rest >= 100 && rest <= 999)
        stellen = 3;
    if (stellen > 0) {
        const QString spanne = jq(spannen[stellen - 1]);
        ausfuehren(spanne + QStringLiteral(".html('%1')").arg(rest));
        ausfuehren(spanne + QLatin1String(".css('display', 'inline')"));
    } else if (rest == 0) {
        ausfuehren(jq(QStringLiteral("circle")) + Versteckt);
    }
}

void templatekahoot::countdownAbgelaufen() {}

void templatekahoot::hakenSetzen(const QString &klasse, const QString &loesung)
{
    for (int i = 0; i < 4; ++i)
        ausfuehren(jq(klasse + Buchstaben[i]) +
                   (loesung == QStringLiteral("Answer%1").arg(i + 1) ? Sichtbar : Versteckt));
}

void templatekahoot::richtigeAntwortAnzeigen(const QList<Person> &, const QList<Person> &,
                                             const QString &loesung, const QList<double> &prozente)
{
    ausfuehren(jq(QStringLiteral("circle")) + Versteckt);
    if (!einstellung(Schluessel::LoesungAnzeigen))
        return;
    if (istAntwort(loesung))
        hakenSetzen(QStringLiteral("hakenAntwort"), loesung);

    const QString schalter =
        m_istQuiz ? Schluessel::QuizProzentAntwortenAnzeigen : Schluessel::UmfrageProzentAntwortenAnzeigen;
    if (einstellung(schalter)) {
        ausfuehren(jq(QStringLiteral("imgfrageKahoot")) + QLatin1String(".css('display', 'none')"));
        ausfuehren(jq(QStringLiteral("prozentMainTableSpan")) + QLatin1String(".css('display', 'inline')"));
        for (int i = 0; i < 4; ++i) {
            const QString balken = jq(QLatin1String("tabelleProzentBalken") + Buchstaben[i]);
            ausfuehren(balken + Sichtbar);
            ausfuehren(balken + QLatin1String(".css('height', '") + prozent(prozente.value(i)) +
                       QLatin1String("%')"));
        }
        if (istAntwort(loesung))
            hakenSetzen(QStringLiteral("prozentProzenangabeHakenAntwort"), loesung);
        for (int i = 0; i < 4; ++i)
            ausfuehren(jq(QLatin1String("prozentProzenangabeText") + Buchstaben[i]) +
                       QLatin1String(".html('") + prozent(prozente.value(i)) + QLatin1String("%')"));
    }
    qCDebug(lcKahoot) << "Lösung" << loesung << "Prozente" << prozente;
}

void templatekahoot::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint)
{
    m_stimmen.zaehlen(klassensatz, buzzerNo);
    ausfuehren(jq(QStringLiteral("konferenzmodus")) + Sichtbar);
    ausfuehren(jq(QStringLiteral("anzahlAntortenText")) + Sichtbar);
    ausfuehren(jq(QStringLiteral("konferenzmodus")) +
               QStringLiteral(".html('%1')").arg(m_stimmen.anzahlStimmen()));
}
