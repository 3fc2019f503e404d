#include "templatebasis.h"

#include "einstellungen.h"
#include "fragedatei.h"
#include "schluessel.h"

#include <QImageReader>

bool Stimmenzaehler::zaehlen(uint klassensatz, uint buzzerNo)
{
    const GeraetSchluessel schluessel{klassensatz, buzzerNo};
    if (m_gemeldeteGeraete.contains(schluessel))
        return false;
    m_gemeldeteGeraete.insert(schluessel);
    ++m_anzahlStimmen;
    return true;
}

void Stimmenzaehler::leeren()
{
    m_gemeldeteGeraete.clear();
    m_anzahlStimmen = 0;
}

TemplateBasis::TemplateBasis(SkriptBruecke &bruecke)
    : m_bruecke(bruecke)
{
}

void TemplateBasis::seiteOeffnen(const QString &seite, double zoom)
{
    m_bruecke.verlaufAbschalten();
    m_bruecke.seiteLaden(QUrl(seite));
    m_bruecke.setZoomFaktor(zoom);
}

void TemplateBasis::auswerten(const QString &ausdruck, std::function<void(const QVariant &)> weiter)
{
    std::weak_ptr<bool> lebt = m_lebt;
    m_bruecke.auswerten(ausdruck, [lebt, weiter = std::move(weiter)](const QVariant &wert) {
        if (!lebt.expired())
            weiter(wert);
    });
}

BildPfad::Quelle TemplateBasis::bild(const QDomNode &frage, const QString &feld)
{
    return BildPfad::bildPfadAufloesen(FrageDatei::feld(frage, feld),
                                       Einstellungen::text(Schluessel::FrageFile));
}

int TemplateBasis::bildHoehe(const BildPfad::Quelle &quelle)
{
    const QSize groesse = QImageReader(quelle.lokalerPfad).size();
    return groesse.isValid() ? groesse.height() : 0;
}

QString TemplateBasis::text(const QDomNode &frage, const QString &feld)
{
    return SkriptBruecke::text(FrageDatei::feld(frage, feld));
}

Antworten TemplateBasis::antworten(const QDomNode &frage)
{
    Antworten antworten;
    for (int i = 1; i <= 4; ++i) {
        antworten.texte.append(text(frage, QStringLiteral("Answer%1").arg(i)));
        antworten.bilder.append(bild(frage, QStringLiteral("PictureAnswer%1").arg(i)));
    }
    return antworten;
}

bool TemplateBasis::einstellung(const QString &schluessel)
{
    return Einstellungen::ist(schluessel);
}

QString TemplateBasis::balken(int rest, int laenge)
{
    // A question without time has no bar to show.
    const double p = laenge > 0 ? 100.0 / laenge * rest : 0.0;
    return QString::number(p, 'g', 6);
}

QString TemplateBasis::prozent(double wert)
{
    return QString::number(wert, 'f', 1);
}

void TemplateBasis::zoomAnpassen950()
{
    const int h = m_bruecke.hoehe();
    if (h >= 950)
        return;
    int v = 950;
    int k = 1;
    for (;;) {
        v = int(v * 0.95);
        if (h < v)
            ++k;
        else
            break;
    }
    m_bruecke.setZoomFaktor(1.0 - 0.05 * k);
}
