#include "startscreen.h"

#include "einstellungen.h"
#include "schluessel.h"
#include "templatebasis.h"
#include "uhr.h"

#include <QLoggingCategory>
#include <QPointer>

Q_LOGGING_CATEGORY(lcStart, "plenaro.templates.startscreen")

namespace {

QString bild(uint n)
{
    return jq(QStringLiteral("imgGeraeteID%1").arg(n));
}

} // namespace

startscreen::startscreen(Uhr &uhr, QObject *eltern)
    : QObject(eltern)
    , m_uhr(uhr)
{
}

void startscreen::brueckeSetzen(SkriptBruecke *bruecke)
{
    m_bruecke = bruecke;
    m_bruecke->verlaufAbschalten();
}

void startscreen::ausfuehren(const QString &anweisung)
{
    if (m_bruecke)
        m_bruecke->ausfuehren(anweisung);
}

void startscreen::loadHTML()
{
    if (!m_bruecke)
        return;
    m_bruecke->seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
    m_bruecke->setZoomFaktor(1.0);
    qCDebug(lcStart) << "Startbildschirm geladen";
}

void startscreen::seiteGeladen()
{
    if (!m_startScreenVariante.isEmpty())
        templateSetzen(m_startScreenVariante);
    if (m_empfaengerIcon)
        iconEmpfaengerErkanntAnzeigen();
}

void startscreen::templateSetzen(const QString &name)
{
    alleGeraeteVerbergen();
    m_startScreenVariante = name;
    qCDebug(lcStart) << "Startbildschirm für" << name;
    const bool morvane = name == QLatin1String("Morvane");
    const bool gruen = name == QLatin1String("Tandrivelle") || name == QLatin1String("Kahoot");
    if (morvane) {
        ausfuehren(jq(QStringLiteral("textplenarosite")) + QLatin1String(".css('color', '#3384b5')"));
        ausfuehren(jq(QStringLiteral("bildeinstecken")) +
                   QLatin1String(".attr('src','../images/usb einstecken_morvane.png')"));
        ausfuehren(jq(QStringLiteral("bildtastedruecken")) +
                   QLatin1String(".attr('src','../images/beliebige Taste druecken_morvane.png')"));
    } else if (gruen) {
        ausfuehren(jq(QStringLiteral("textplenarosite")) + QLatin1String(".css('color', '#056305')"));
        ausfuehren(jq(QStringLiteral("bildeinstecken")) +
                   QLatin1String(".attr('src','../images/usb_einstecken.png')"));
        ausfuehren(jq(QStringLiteral("bildtastedruecken")) +
                   QLatin1String(".attr('src','../images/sender_1.gif')"));
    }
    if ((morvane || gruen) && Einstellungen::istEnglisch()) {
        ausfuehren(jq(QStringLiteral("textUSBEmpfaengerEinstecken")) +
                   QLatin1String(".html('Plug in the USB receiver')"));
        ausfuehren(jq(QStringLiteral("textBeliebigeTasteDruecken")) +
                   QLatin1String(".html('Press any button')"));
        ausfuehren(jq(QStringLiteral("textLeerschlagtasteStarten")) +
                   QLatin1String(".html('Start with space bar')"));
    }
    tabelleEinpassen();
}

void startscreen::tabelleEinpassen()
{
    if (!m_bruecke)
        return;
    QPointer<startscreen> selbst(this);
    m_bruecke->auswerten(jq(QStringLiteral("tabelleDeviceID")) + QLatin1String(".width()"),
                         [this, selbst](const QVariant &wert) {
                             if (!selbst || !m_bruecke)
                                 return;
                             // The width is read in whole pixels; a page without the table reads as 0.
                             const int w = qint16(wert.toInt());
                             qCDebug(lcStart) << "Tabellenbreite" << w * m_bruecke->zoomFaktor();
                             // Without a width there is nothing to fit, and growing 0 by 5 % would never end.
                             if (w <= 0)
                                 return;
                             const int d = Einstellungen::zahl(Schluessel::DesktopWidth);
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
                         });
}

void startscreen::geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    const QString n = QString::number(buzzerNo);
    if (m_startScreenVariante == QLatin1String("Morvane")) {
        ausfuehren(bild(buzzerNo) +
                   QLatin1String(".attr('src','../IconGeraeteIDMorvane/IconGeraeteIDMorvane/") + n +
                   QLatin1String("_0_blau.png')"));
        ausfuehren(bild(buzzerNo) + QLatin1String(".css('display', 'inline')"));
        ausfuehren(bild(buzzerNo) + QLatin1String(".css('width', '50px')"));
        ausfuehren(bild(buzzerNo) + QLatin1String(".css('height', '50px')"));
    } else {
        ausfuehren(bild(buzzerNo) +
                   QLatin1String(".attr('src','../IconGeraeteIDTandrivelle/IconGeraeteIDTandrivelle/") + n +
                   QLatin1String("_0_green.png')"));
        ausfuehren(bild(buzzerNo) + QLatin1String(".css('height', '55px')"));
        ausfuehren(bild(buzzerNo) + QLatin1String(".css('display', 'inline')"));
        const GeraetSchluessel schluessel{klassensatz, buzzerNo};
        if (!m_gemeldeteGeraete.contains(schluessel)) {
            m_gemeldeteGeraete.insert(schluessel);
        } else {
            const qint64 jetzt = m_uhr.epochMs();
            if (jetzt - m_letztesWippen.value(buttonNo, 0) > 200) {
                ausfuehren(bild(buzzerNo) + QLatin1String(".animate({height: '65px', width: '55px'}, 100)"));
                ausfuehren(bild(buzzerNo) + QLatin1String(".animate({height: '55px', width: '45px'}, 100)"));
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
    ausfuehren(jq(QStringLiteral("okicon")) + QLatin1String(".css('display', 'inline')"));
}

void startscreen::iconEmpfaengerErkanntVerbergen()
{
    m_empfaengerIcon = false;
    ausfuehren(jq(QStringLiteral("okicon")) + QLatin1String(".css('display', 'none')"));
}

void startscreen::alleGeraeteVerbergen()
{
    ausfuehren(jq(QStringLiteral("allImgGeraete")) + QLatin1String(".css('display', 'none')"));
}

void startscreen::senderAnimationNeuStarten()
{
    m_uhr.einmal(1000, this, [this]() { updateSenderTimer(); });
    ausfuehren(jq(QStringLiteral("bildtastedruecken")) +
               QLatin1String(".attr('src','../images/sender_1.gif')"));
}

void startscreen::updateSenderTimer()
{
    ausfuehren(jq(QStringLiteral("bildtastedruecken")) +
               QLatin1String(".attr('src','../images/sender_1.gif')"));
}
