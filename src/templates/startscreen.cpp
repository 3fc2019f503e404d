#include "startscreen.h"

#include "einstellungen.h"
#include "geraetschluessel.h"
#include "schluessel.h"
#include "uhr.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcStart, "plenaro.templates.startscreen")

namespace {

using A = Anweisung;

// Slots in the page's grid.
constexpr uint Plaetze = 60;

A bild(uint n)
{
    return A::klasse(SkriptText("imgGeraeteID") + SkriptText::zahl(n));
}

SkriptText bildQuelle(bool morvane, uint n)
{
    if (morvane)
        return SkriptText("../IconGeraeteIDMorvane/IconGeraeteIDMorvane/") + SkriptText::zahl(n) +
               "_0_blau.png";
    return SkriptText("../IconGeraeteIDTandrivelle/IconGeraeteIDTandrivelle/") + SkriptText::zahl(n) +
           "_0_green.png";
}

} // namespace

startscreen::startscreen(SkriptBruecke &bruecke, Uhr &uhr, QObject *eltern)
    : QObject(eltern)
    , m_uhr(uhr)
{
    brueckeSetzen(&bruecke);
}

startscreen::startscreen(Uhr &uhr, QObject *eltern)
    : QObject(eltern)
    , m_uhr(uhr)
{
}

void startscreen::brueckeSetzen(SkriptBruecke *bruecke)
{
    m_bruecke = bruecke ? bruecke : &SkriptBruecke::ohneSeite();
    // A width asked of the previous page says nothing about this one.
    m_wache.neueRunde();
    m_bruecke->verlaufAbschalten();
}

void startscreen::loadHTML()
{
    m_bruecke->seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
    m_bruecke->setZoomFaktor(1.0);
    qCDebug(lcStart) << "Startbildschirm geladen";
}

void startscreen::seiteGeladen()
{
    // Handsets that reported in while the page was still loading stay lit.
    if (!m_startScreenVariante.isEmpty()) {
        templateSetzen(m_startScreenVariante);
    } else {
        for (uint buzzerNo : QSet<uint>(m_leuchtend))
            iconZeigen(buzzerNo);
    }
    if (m_empfaengerIcon)
        iconEmpfaengerErkanntAnzeigen();
    if (m_handyBeitritt) {
        const HandyBeitritt b = *m_handyBeitritt;
        handyBeitrittZeigen(b.adresse, b.code, b.qrSvg);
    }
    if (!m_handys.isEmpty())
        handysZeigen();
}

void startscreen::templateSetzen(const QString &name)
{
    // A new look (the question page has loaded, a receiver of another family) is no reason to
    // forget the handsets that have reported in: they show again in the new look's pictures.
    const QSet<uint> leuchtend = m_leuchtend;
    const QSet<uint> handys = m_handys;
    alleGeraeteVerbergen();
    m_handys = handys;
    m_startScreenVariante = name;
    qCDebug(lcStart) << "Startbildschirm für" << name;
    const bool morvane = name == QLatin1String("Morvane");
    const bool gruen = name == QLatin1String("Tandrivelle") || name == QLatin1String("Kahoot");
    if (morvane) {
        ausfuehren(A::klasse("textplenarosite").css("color", "#3384b5"));
        ausfuehren(A::klasse("bildeinstecken").attr("src", "../images/usb einstecken_morvane.png"));
        ausfuehren(
            A::klasse("bildtastedruecken").attr("src", "../images/beliebige Taste druecken_morvane.png"));
    } else if (gruen) {
        ausfuehren(A::klasse("textplenarosite").css("color", "#056305"));
        ausfuehren(A::klasse("bildeinstecken").attr("src", "../images/usb_einstecken.png"));
        ausfuehren(A::klasse("bildtastedruecken").attr("src", "../images/sender_1.gif"));
    }
    if ((morvane || gruen) && Einstellungen::istEnglisch()) {
        ausfuehren(A::klasse("textUSBEmpfaengerEinstecken").html("Plug in the USB receiver"));
        ausfuehren(A::klasse("textBeliebigeTasteDruecken").html("Press any button"));
        ausfuehren(A::klasse("textLeerschlagtasteStarten").html("Start with space bar"));
    }
    // Hidden slots get the look's pictures now, so that a handset reporting in later is shown at
    // once instead of waiting for its picture (the page itself brings the green ones).
    for (uint n = 1; n <= Plaetze; ++n)
        ausfuehren(bild(n).attr("src", bildQuelle(morvane, n)));
    for (uint buzzerNo : leuchtend)
        iconZeigen(buzzerNo);
    if (!m_handys.isEmpty())
        handysZeigen();
    tabelleEinpassen();
}

void startscreen::schirmbreiteSetzen(int breite)
{
    if (breite == m_schirmbreite)
        return;
    m_schirmbreite = breite;
    tabelleEinpassen();
}

void startscreen::tabelleEinpassen()
{
    m_bruecke->auswerten(
        A::klasse("tabelleDeviceID").breiteLesen(), m_wache.aktuell([this](const QVariant &wert) {
            // The width is read in whole pixels; a page without the table reads as 0.
            const int w = qint16(wert.toInt());
            qCDebug(lcStart) << "Tabellenbreite" << w * m_bruecke->zoomFaktor();
            // Without a width there is nothing to fit, and growing 0 by 5 % would never end.
            if (w <= 0)
                return;
            const int d = m_schirmbreite > 0 ? m_schirmbreite : Einstellungen::zahl(Schluessel::DesktopWidth);
            const int t = d / 3;
            if (d - w > t) {
                int c = w;
                int n = 0;
                for (;;) {
                    c = int(c * 1.05);
                    if (d - c > t)
                        ++n;
                    else
                        break;
                }
                m_bruecke->setZoomFaktor(1.0 + 0.05 * n);
            }
            if (d - w < t) {
                int c = w;
                int n = 0;
                for (;;) {
                    c = int(c * 0.95);
                    if (d - c < t)
                        ++n;
                    else
                        break;
                }
                m_bruecke->setZoomFaktor(1.0 - 0.05 * n);
            }
        }));
}

void startscreen::iconZeigen(uint buzzerNo)
{
    const A icon = bild(buzzerNo);
    const bool morvane = m_startScreenVariante == QLatin1String("Morvane");
    ausfuehren(icon.attr("src", bildQuelle(morvane, buzzerNo)));
    if (morvane) {
        ausfuehren(icon.css("display", "inline"));
        ausfuehren(icon.css("width", "50px"));
        ausfuehren(icon.css("height", "50px"));
    } else {
        ausfuehren(icon.css("height", "55px"));
        ausfuehren(icon.css("display", "inline"));
    }
    m_leuchtend.insert(buzzerNo);
}

void startscreen::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    // The icons are the handsets'; phone 1 is not handset 1. Phones are counted in their own box.
    if (istHandy(klassensatz)) {
        if (!m_handys.contains(buzzerNo)) {
            m_handys.insert(buzzerNo);
            handysZeigen();
        }
        return;
    }
    iconZeigen(buzzerNo);
    if (m_startScreenVariante != QLatin1String("Morvane")) {
        const A icon = bild(buzzerNo);
        const GeraetSchluessel schluessel{klassensatz, buzzerNo};
        if (!m_gemeldeteGeraete.contains(schluessel)) {
            m_gemeldeteGeraete.insert(schluessel);
        } else {
            const qint64 jetzt = m_uhr.epochMs();
            if (jetzt - m_letztesWippen.value(buttonNo, 0) > 200) {
                ausfuehren(icon.animate({{"height", "65px"}, {"width", "55px"}}, 100));
                ausfuehren(icon.animate({{"height", "55px"}, {"width", "45px"}}, 100));
            }
            m_letztesWippen.insert(buttonNo, jetzt);
        }
    }
    qCDebug(lcStart) << "Gerät" << klassensatz << buzzerNo << buttonNo;
}

void startscreen::iconEmpfaengerErkanntAnzeigen()
{
    m_empfaengerIcon = true;
    qCDebug(lcStart) << "Empfänger erkannt";
    ausfuehren(A::klasse("okicon").css("display", "inline"));
}

void startscreen::iconEmpfaengerErkanntVerbergen()
{
    m_empfaengerIcon = false;
    ausfuehren(A::klasse("okicon").css("display", "none"));
}

void startscreen::handysZeigen()
{
    // The page translates "Handys" itself; empty hides the line.
    ausfuehren(A::klasse("handyAnzahl")
                   .text(m_handys.isEmpty() ? SkriptText("")
                                            : SkriptText("Handys: ") + SkriptText::zahl(m_handys.size())));
}

void startscreen::alleGeraeteVerbergen()
{
    m_leuchtend.clear();
    if (!m_handys.isEmpty()) {
        m_handys.clear();
        handysZeigen();
    }
    ausfuehren(A::klasse("allImgGeraete").css("display", "none"));
}

void startscreen::handyBeitrittZeigen(const QString &adresse, const QString &code, const QString &qrSvg)
{
    m_handyBeitritt = HandyBeitritt{adresse, code, qrSvg};
    qCDebug(lcStart) << "Beitritt mit dem Handy" << adresse;
    // As a data URL the picture needs no file and no second request to the page's origin.
    const QString quelle =
        QStringLiteral("data:image/svg+xml;base64,") + QString::fromLatin1(qrSvg.toUtf8().toBase64());
    ausfuehren(A::klasse("handyQr").attr("src", SkriptText::klartext(quelle)));
    // As text, not markup: whatever the address holds shows as written.
    ausfuehren(A::klasse("handyAdresse").text(SkriptText::klartext(adresse)));
    ausfuehren(A::klasse("handyCode").text(SkriptText::klartext(code)));
    ausfuehren(A::klasse("handyBeitritt").css("display", "flex"));
}

void startscreen::handyBeitrittVerbergen()
{
    m_handyBeitritt.reset();
    ausfuehren(A::klasse("handyBeitritt").css("display", "none"));
}

void startscreen::senderAnimationNeuStarten()
{
    m_uhr.einmal(1000, this, [this]() { updateSenderTimer(); });
    ausfuehren(A::klasse("bildtastedruecken").attr("src", "../images/sender_1.gif"));
}

void startscreen::updateSenderTimer()
{
    ausfuehren(A::klasse("bildtastedruecken").attr("src", "../images/sender_1.gif"));
}
