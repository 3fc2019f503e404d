#include "webbruecke.h"

#include "einstellungen.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>

#include <utility>

WebBruecke::WebBruecke(QWebEngineView *ansicht, const QString &injektion, QObject *eltern)
    : QObject(eltern)
    , m_ansicht(ansicht)
    , m_injektion(injektion)
{
    connect(ansicht, &QWebEngineView::loadFinished, this, [this](bool ok) {
        roh(m_injektion);
        // A new document starts at the engine's default zoom.
        zoomAnwenden(zoomFaktor());
        emit geladen(ok);
    });
}

void WebBruecke::qrcSchemaAnmelden()
{
    QWebEngineUrlScheme qrc("qrc");
    qrc.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                 QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(qrc);
    // The web engine shares its contexts with the widgets; the toolkit wants to know before it starts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QString WebBruecke::injektionsSkript()
{
    QFile jquery(QStringLiteral(":/jQuery/jQuery/jquery.min.js"));
    return Anweisung::injektion(jquery.open(QIODevice::ReadOnly) ? QString::fromUtf8(jquery.readAll())
                                                                 : QString());
}

void WebBruecke::roh(const QString &skript)
{
    senden();
    if (m_ansicht && !m_zurueckgehalten) {
        ++m_aufrufe;
        m_ansicht->page()->runJavaScript(skript);
    }
}

void WebBruecke::rohAuswerten(const QString &skript, Antwort antwort)
{
    senden();
    lesenSenden(skript, std::move(antwort));
}

void WebBruecke::stapelSenden(const QStringList &anweisungen)
{
    if (!m_ansicht || m_zurueckgehalten)
        return;
    ++m_aufrufe;
    m_ansicht->page()->runJavaScript(Anweisung::stapel(anweisungen));
}

void WebBruecke::lesenSenden(const QString &ausdruck, Antwort antwort)
{
    if (!m_ansicht)
        return;
    if (m_zurueckgehalten) {
        // Answered a turn later and in order, as the engine answers.
        QTimer::singleShot(0, this, [antwort = std::move(antwort)]() { antwort(QVariant()); });
        return;
    }
    ++m_aufrufe;
    m_ansicht->page()->runJavaScript(ausdruck,
                                     [antwort = std::move(antwort)](const QVariant &wert) { antwort(wert); });
}

void WebBruecke::seiteOeffnen(const QUrl &seite)
{
    if (!m_ansicht)
        return;
    QUrl adresse(seite);
    // The pages' own words follow the program's language.
    if (Einstellungen::istEnglisch())
        adresse.setQuery(QStringLiteral("lang=en"));
    if (m_zurueckgehalten) {
        m_wartendeSeite = adresse;
        return;
    }
    m_ansicht->load(adresse);
}

void WebBruecke::freigeben()
{
    if (!m_zurueckgehalten)
        return;
    m_zurueckgehalten = false;
    if (std::exchange(m_verlaufAbschalten, false))
        verlaufAbschalten();
    if (m_ansicht && m_wartendeSeite.isValid())
        m_ansicht->load(std::exchange(m_wartendeSeite, QUrl()));
}

void WebBruecke::verlaufAbschalten()
{
    if (m_zurueckgehalten) {
        m_verlaufAbschalten = true;
        return;
    }
    if (m_ansicht)
        m_ansicht->history()->clear();
}

int WebBruecke::hoehe() const
{
    return m_ansicht ? m_ansicht->height() : 0;
}

void WebBruecke::zoomAnwenden(double faktor)
{
    // A held view gets the factor with its page: every load applies the bridge's zoom.
    if (m_ansicht && !m_zurueckgehalten)
        m_ansicht->setZoomFactor(faktor);
}
