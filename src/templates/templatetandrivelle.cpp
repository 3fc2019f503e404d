#include "templatetandrivelle.h"

#include "einstellungen.h"
#include "fragedatei.h"
#include "schluessel.h"
#include "uhr.h"
#include "zufall.h"

#include <QLoggingCategory>
#include <QVariantMap>

#include <cmath>

Q_LOGGING_CATEGORY(lcTandrivelle, "plenaro.templates.tandrivelle")

namespace {

QString blatt(uint n)
{
    return jq(QStringLiteral("blatt%1").arg(n));
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

QString zahl(double wert)
{
    return QString::number(wert, 'g', 6);
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
    const QString fragetext = text(frage, QStringLiteral("QuestionText"));
    ++m_generation;

    for (const int id : std::as_const(m_zeitgeberIDs))
        ausfuehren(QStringLiteral("window.clearTimeout(%1);").arg(id));
    // Once cleared they are gone; a reloaded page would reuse the numbers for new timers.
    m_zeitgeberIDs.clear();

    if (einstellung(Schluessel::FrageNummerInTemplateAnzeigen))
        ausfuehren(jq(QStringLiteral("textFrageNummer")) + QStringLiteral(".html('%1.')").arg(frageNr));
    ausfuehren(jq(QStringLiteral("textFrage")) + QLatin1String(".html('") + fragetext + QLatin1String("')"));
    if (einstellung(Schluessel::FragetextFett))
        ausfuehren(jq(QStringLiteral("textFrage")) + QLatin1String(".css('font-weight', 'bold')"));
    else
        ausfuehren(jq(QStringLiteral("textFrage")) + QLatin1String(".css('font-weight', 'normal')"));

    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("textAntwort") + b) + QLatin1String(".html('')"));
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".height('0%')"));
    ausfuehren(jq(QStringLiteral("text_progressbar")) + QLatin1String(".html('')"));
    ausfuehren(jq(QStringLiteral("imgfrage")) + QLatin1String(".css('display', 'none')"));
    ausfuehren(jq(QStringLiteral("imgfrage")) + QLatin1String(".attr('height','0')"));
    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("imgantworttext_") + b.toLower()) +
                   QLatin1String(".css('display', 'none')"));

    const BildPfad::Quelle bildFrage = bild(frage, QStringLiteral("PictureQuestionText"));
    if (!bildFrage.isEmpty()) {
        const int h = std::min(bildHoehe(bildFrage), MaxBildHoehe);
        ausfuehren(jq(QStringLiteral("imgfrage")) + QLatin1String(".attr('src','") + bildFrage.url +
                   QLatin1String("')"));
        ausfuehren(jq(QStringLiteral("imgfrage")) + QStringLiteral(".attr('height','%1')").arg(h));
        ausfuehren(jq(QStringLiteral("imgfrage")) + QLatin1String(".css('display', 'inline')"));
    }

    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("imghaken_") + b) + QLatin1String(".css('display', 'none')"));
    ausfuehren(jq(QStringLiteral("allImgGeraete")) + QLatin1String(".css('display', 'none')"));
    ausfuehren(jq(QStringLiteral("allImgGeraete")) + QLatin1String(".css('position','static')"));
    ausfuehren(jq(QStringLiteral("blaetterhaufenimg")) + QLatin1String(".css('opacity', '0.0')"));
    ausfuehren(jq(QStringLiteral("blaetterhaufenimg")) + QLatin1String(".css('position','static')"));
    for (const QString &b : Buchstaben)
        ausfuehren(jq(QLatin1String("prozent_") + b) + QLatin1String(".html('')"));
    ausfuehren(jq(QStringLiteral("konferenzmodus")) + QLatin1String(".html('')"));
    m_stimmen.leeren();
}

void templatetandrivelle::antwortenAnzeigen(const QDomNode &frage)
{
    const Antworten alle = antworten(frage);
    const QStringList &texte = alle.texte;
    const QList<BildPfad::Quelle> &bilder = alle.bilder;
    for (int i = 0; i < 4; ++i)
        m_hatAntwort[i] = alle.vorhanden(i);

    for (int i = 0; i < 4; ++i) {
        const QString badge = jq(Buchstaben[i] + QLatin1String("_mit_Rand_Image"));
        if (m_hatAntwort[i]) {
            ausfuehren(badge + QLatin1String(".attr('src','../images/") + Buchstaben[i] +
                       QLatin1String("_mit_Rand.png')"));
            ausfuehren(badge + QLatin1String(".css('display', 'inline')"));
        } else {
            ausfuehren(badge + QLatin1String(".css('display', 'none')"));
        }
    }
    for (int i = 0; i < 4; ++i)
        ausfuehren(jq(QLatin1String("textAntwort") + Buchstaben[i]) + QLatin1String(".html('") + texte[i] +
                   QLatin1String("')"));
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".width('100%')"));
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".height('100%')"));
    ausfuehren(jq(QStringLiteral("progressbar")) +
               QLatin1String(".attr('src','../images/progress_gruen.png')"));

    for (int i = 0; i < 4; ++i) {
        if (bilder[i].isEmpty())
            continue;
        const QString img = jq(QLatin1String("imgantworttext_") + Buchstaben[i].toLower());
        const int h = std::min(bildHoehe(bilder[i]), MaxBildHoehe);
        ausfuehren(img + QLatin1String(".attr('src','") + bilder[i].url + QLatin1String("')"));
        ausfuehren(img + QStringLiteral(".attr('height','%1')").arg(h));
        ausfuehren(img + QLatin1String(".css('display', 'inline')"));
    }
    ausfuehren(jq(QStringLiteral("text_progressbar")) + QLatin1String(".html('") +
               FrageDatei::feld(frage, QStringLiteral("Time")) + QLatin1String("s')"));
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
    auswerten(jq(QStringLiteral("progressbar")) + QLatin1String(".height()"),
              [hoehen](const QVariant &wert) { (*hoehen)[0] = ganz(wert.toDouble()); });
    auswerten(jq(QStringLiteral("textFrage")) + QLatin1String(".height()"),
              [hoehen](const QVariant &wert) { (*hoehen)[1] = ganz(wert.toDouble()); });
    auswerten(jq(QStringLiteral("imgfrage")) + QLatin1String(".height()"),
              [this, hoehen](const QVariant &wert) {
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
                      Einstellungen::setzen(Schluessel::ZoomFaktorTemplateTandrivelle, zahl(zoom));
                  }
              });
}

void templatetandrivelle::updateCountdown(int rest, int laenge)
{
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".height('") + balken(rest, laenge) +
               QLatin1String("%')"));
    if (rest > 0)
        ausfuehren(jq(QStringLiteral("text_progressbar")) + QStringLiteral(".html('%1s')").arg(rest));
    if (rest == 3 || rest == 4)
        ausfuehren(jq(QStringLiteral("progressbar")) +
                   QLatin1String(".attr('src','../images/progress_orange.png')"));
    else if (rest <= 2)
        ausfuehren(jq(QStringLiteral("progressbar")) +
                   QLatin1String(".attr('src','../images/progress_rot.png')"));
}

void templatetandrivelle::countdownAbgelaufen()
{
    ausfuehren(jq(QStringLiteral("text_progressbar")) + QLatin1String(".html(' ')"));
    ausfuehren(jq(QStringLiteral("progressbar")) + QLatin1String(".width('0%')"));
}

void templatetandrivelle::richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                                  const QString &loesung, const QList<double> &prozente)
{
    if (!einstellung(Schluessel::LoesungAnzeigen))
        return;
    for (int i = 0; i < 4; ++i) {
        if (loesung != QStringLiteral("Answer%1").arg(i + 1))
            continue;
        const QString haken = jq(QLatin1String("imghaken_") + Buchstaben[i]);
        ausfuehren(haken + QLatin1String(".attr('src','../images/haken_gruen.png')"));
        ausfuehren(haken + QLatin1String(".attr('height','35')"));
        ausfuehren(haken + QLatin1String(".css('display', 'inline')"));
    }
    const QString schalter =
        m_istQuiz ? Schluessel::QuizProzentAntwortenAnzeigen : Schluessel::UmfrageProzentAntwortenAnzeigen;
    if (einstellung(schalter)) {
        for (int i = 0; i < 4; ++i) {
            if (m_hatAntwort[i])
                ausfuehren(jq(QLatin1String("prozent_") + Buchstaben[i]) + QLatin1String(".html('") +
                           prozent(prozente.value(i)) + QLatin1String("%')"));
        }
    }
    QList<uint> geraete;
    for (const Person &person : falsch)
        geraete.append(person.getBuzzerNo());
    blattFallen(geraete, int(falsch.size()), int(richtig.size() + falsch.size()), m_generation);
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

void templatetandrivelle::blattFallen(QList<uint> geraete, int anzahlFalsch, int anzahlGesamt, int generation)
{
    if (geraete.isEmpty() || generation != m_generation)
        return;
    const uint n = geraete.takeFirst();
    const QString b = blatt(n);
    ausfuehren(b + QLatin1String(".css({'position':'relative'})"));

    // Each step reads from the page and goes on when the value has come; the draws keep their
    // order (spread, turn, delay) and the leaves keep theirs.
    auswerten(b + QLatin1String(".position();"), [=](const QVariant &blattPos) {
        if (generation != m_generation)
            return;
        const double z = m_bruecke.zoomFaktor();
        const int links = ganz(mitglied(blattPos, "left") * z);
        const int oben = ganz(mitglied(blattPos, "top") * z);
        const auto [sigmaY, sigmaX] = streuung(anzahlFalsch);
        const auto gauss = zufallGauss(sigmaY, sigmaX);
        const int dx = int(gauss.first);
        const int dy = int(gauss.second);

        auswerten(
            jq(QStringLiteral("posimage13")) + QLatin1String(".position();"), [=](const QVariant &zielPos) {
                if (generation != m_generation)
                    return;
                const int ziel = ganz(mitglied(zielPos, "left") * z);
                const QString deltaX = zahl((ziel - links) - dx * z);
                const int drehung = m_zufall.naechste() % 401;

                auswerten(jq(QStringLiteral("blaetterhaufen")) + QLatin1String(".position();"),
                          [=](const QVariant &haufenPos) {
                              if (generation != m_generation)
                                  return;
                              const int haufenOben = ganz(mitglied(haufenPos, "top") * z);
                              auswerten(
                                  jq(QStringLiteral("blaetterhaufenimg")) + QLatin1String(".height();"),
                                  [=](const QVariant &hoehe) {
                                      if (generation != m_generation)
                                          return;
                                      const int haufenHoehe = ganz(hoehe.toDouble() * z);
                                      const int ansicht = m_bruecke.hoehe();
                                      QString deltaY;
                                      if (anzahlGesamt > 30)
                                          deltaY = zahl((haufenOben + haufenHoehe / 2 - oben - dy) * z);
                                      else
                                          deltaY = QString::number(ansicht - haufenHoehe + 41 - oben - dy);
                                      const int verzoegerung = m_zufall.naechste() % 3001;

                                      const QString fall =
                                          QLatin1String("setTimeout((function() {") + b +
                                          QLatin1String(".animate({top: '+=") + deltaY +
                                          QLatin1String("',left: '+=") + deltaX +
                                          QLatin1String(
                                              "' }, 4000).css('-webkit-transition', '-webkit-transform 4s')"
                                              ".css('-webkit-transform', 'rotate(") +
                                          QString::number(drehung) +
                                          QLatin1String("deg)').css('transition-delay', '0.5s')"
                                                        ".css('-webkit-filter', 'hue-rotate(-39deg)');}), ") +
                                          QString::number(verzoegerung) + QLatin1String(");");
                                      auswerten(fall, [this](const QVariant &id) {
                                          if (id.isValid())
                                              m_zeitgeberIDs.append(id.toInt());
                                      });
                                      ausfuehren(b + QLatin1String(".css('z-index', '99')"));
                                      ausfuehren(jq(QStringLiteral("blaetterhaufenimg")) +
                                                 QLatin1String(".css('opacity', '0.0')"));
                                      ausfuehren(QLatin1String("setTimeout((function() {") +
                                                 jq(QStringLiteral("blaetterhaufenimg")) +
                                                 QLatin1String(".animate({ opacity: 1 }, 4000);}), 5000);"));
                                      blattFallen(geraete, anzahlFalsch, anzahlGesamt, generation);
                                  });
                          });
            });
    });
}

void templatetandrivelle::wippen(uint buzzerNo, uint buttonNo)
{
    const qint64 jetzt = m_uhr.epochMs();
    if (jetzt - m_letztesWippen.value(buttonNo, 0) > 200) {
        ausfuehren(blatt(buzzerNo) + QLatin1String(".animate({height: '65px'}, 100)"));
        ausfuehren(blatt(buzzerNo) + QLatin1String(".animate({height: '55px'}, 100)"));
    }
    m_letztesWippen.insert(buttonNo, jetzt);
}

void templatetandrivelle::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    const bool neu = m_stimmen.zaehlen(klassensatz, buzzerNo);
    const QString konferenz = Einstellungen::text(Schluessel::Konferenzmodus);
    if (!neu && konferenz == QLatin1String("false"))
        wippen(buzzerNo, buttonNo);
    if (konferenz == QLatin1String("true")) {
        ausfuehren(jq(QStringLiteral("konferenzmodus")) +
                   QStringLiteral(".html('#votes: %1' )").arg(m_stimmen.anzahlStimmen()));
        return;
    }
    if (!neu)
        return;
    const QString b = blatt(buzzerNo);
    ausfuehren(b + QLatin1String(".stop()"));
    ausfuehren(b + QLatin1String(".css({'opacity':'1.0'})"));
    ausfuehren(b + QLatin1String(".css({'top':'0','left':'0'}).css('-webkit-transform', 'rotate(0deg)')"));
    ausfuehren(b + QLatin1String(".css('-webkit-filter', 'hue-rotate(0deg)')"));
    ausfuehren(b + QStringLiteral(
                       ".attr('src','../IconGeraeteIDTandrivelle/IconGeraeteIDTandrivelle/%1_0_green.png')")
                       .arg(buzzerNo));
    ausfuehren(b + QLatin1String(".css('display', 'inline')"));
}
