#include "templatebasis.h"

#include "einstellungen.h"
#include "fragedatei.h"
#include "schluessel.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

// Large enough to read the file name from the back of the room, small enough not to push the
// answers off the page.
constexpr int PlatzhalterHoehe = 120;

} // namespace

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

void TemplateBasis::auswerten(const Anweisung &ausdruck, std::function<void(const QVariant &)> weiter)
{
    m_bruecke.auswerten(ausdruck, m_wache.lebendig([weiter = std::move(weiter)](const QVariant &wert, bool) {
        weiter(wert);
    }));
}

void TemplateBasis::pauseFeldLesen(std::function<void(const PauseFeld &)> weiter)
{
    auswerten(Anweisung::klasse(pauseElement()).rechteckLesen(),
              [this, weiter = std::move(weiter)](const QVariant &wert) {
                  const QVariantList r = wert.toList();
                  if (r.size() != 4)
                      return;
                  // Shares of the window: a zoom the page takes a moment after the view cannot
                  // mislead them.
                  const QRectF flaeche(r[0].toDouble(), r[1].toDouble(), r[2].toDouble(), r[3].toDouble());
                  if (flaeche.isValid())
                      weiter(PauseFeld{flaeche, pauseUnten()});
              });
}

std::optional<Bild> TemplateBasis::bild(const QDomNode &frage, const QString &feld, int maxHoehe)
{
    const BildPfad::Quelle quelle = BildPfad::bildPfadAufloesen(FrageDatei::feld(frage, feld),
                                                                Einstellungen::text(Schluessel::FrageFile));
    if (quelle.isEmpty())
        return std::nullopt;
    // Only regular files are opened: a FIFO or a device would block the reader, and with it the
    // whole program.
    const QSize groesse =
        BildPfad::istBilddatei(quelle.lokalerPfad) ? QImageReader(quelle.lokalerPfad).size() : QSize();
    if (groesse.isValid() && groesse.height() > 0)
        return Bild{SkriptText::bildQuelle(quelle.url), std::min(groesse.height(), maxHoehe)};
    const int hoehe = std::min(maxHoehe, PlatzhalterHoehe);
    return Bild{SkriptText::platzhalterBild(QFileInfo(quelle.lokalerPfad).fileName(), hoehe * 3, hoehe),
                hoehe};
}

SkriptText TemplateBasis::text(const QDomNode &frage, const QString &feld)
{
    return SkriptText::frage(FrageDatei::feld(frage, feld));
}

Antworten TemplateBasis::antworten(const QDomNode &frage, int maxBildHoehe)
{
    Antworten antworten;
    for (int i = 1; i <= 4; ++i) {
        antworten.texte.append(text(frage, QStringLiteral("Answer%1").arg(i)));
        antworten.bilder.append(bild(frage, QStringLiteral("PictureAnswer%1").arg(i), maxBildHoehe));
    }
    return antworten;
}

bool TemplateBasis::einstellung(const QString &schluessel)
{
    return Einstellungen::ist(schluessel);
}

SkriptText TemplateBasis::wort(const SkriptText &deutsch, const SkriptText &englisch)
{
    return Einstellungen::istEnglisch() ? englisch : deutsch;
}

SkriptText TemplateBasis::balken(int rest, int laenge)
{
    // A question without time has no bar to show.
    const double p = laenge > 0 ? 100.0 / laenge * rest : 0.0;
    return SkriptText::zahl(p, 6);
}

SkriptText TemplateBasis::prozent(double wert)
{
    return SkriptText::festkomma(wert, 1);
}

void TemplateBasis::rundenZuruecksetzen()
{
    m_ersteRunde.clear();
    ausfuehren(Anweisung::klasse("seite").removeClass("zweiRunden"));
}

bool TemplateBasis::zweiRundenZeigen()
{
    if (m_ersteRunde.isEmpty())
        return false;
    ausfuehren(Anweisung::klasse("legendeRundeEins").html(wort("1. Runde", "Round 1")));
    ausfuehren(Anweisung::klasse("legendeRundeZwei").html(wort("2. Runde", "Round 2")));
    ausfuehren(Anweisung::klasse("seite").addClass("zweiRunden"));
    return true;
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
