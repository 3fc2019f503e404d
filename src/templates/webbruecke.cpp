#include "webbruecke.h"

#include "einstellungen.h"
#include "erstesbild.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>
#include <QWindow>

#include <utility>

WebBruecke::WebBruecke(QWebEngineView *ansicht, const QString &injektion, QObject *eltern)
    : QObject(eltern)
    , m_ansicht(ansicht)
    , m_injektion(injektion)
{
    connect(ansicht, &QWebEngineView::loadFinished, this, [this](bool ok) {
        // A new document starts at the engine's default zoom.
        zoomAnwenden(zoomFaktor());
        // The empty document a view starts with is not the page asked for.
        const bool leer = !m_ansicht || m_ansicht->url().scheme() == QLatin1String("about");
        if (leer && m_laedt)
            return;
        m_laedt = false;
        // A page that replaces the awaited one before it is drawn is awaited in its stead.
        if ((m_bildAbwarten || m_wartetAufBild) && ok && !leer) {
            if (std::exchange(m_bildAbwarten, false)) {
                m_wartetAufBild = true;
                // Ahead of what was sent while the page loaded: that is written for jQuery.
                m_wartend.prepend([this]() { injizieren(); });
            }
            const int runde = ++m_bildRunde;
            const QDeadlineTimer frist(BildHoechstens);
            // Told even when the view was wired without it, as long as the page is the same.
            naechstesBildAbwarten(m_ansicht, frist, [selbst = QPointer(this), runde]() {
                if (!selbst || runde != selbst->m_bildRunde)
                    return;
                if (selbst->m_wartetAufBild)
                    selbst->seiteBereit(true);
                emit selbst->gezeichnet();
            });
            ohneBildWeiterPruefen(runde, frist);
            return;
        }
        if (!m_wartetAufBild)
            m_wartend.prepend([this]() { injizieren(); });
        seiteBereit(ok);
    });
}

void WebBruecke::injizieren()
{
    if (!m_ansicht)
        return;
    ++m_aufrufe;
    m_ansicht->page()->runJavaScript(m_injektion);
}

void WebBruecke::seiteBereit(bool ok)
{
    m_wartetAufBild = false;
    abgeben();
    emit geladen(ok);
}

void WebBruecke::abgeben()
{
    for (const auto &aufruf : std::exchange(m_wartend, {}))
        aufruf();
}

void WebBruecke::ohneBildWeiterPruefen(int runde, QDeadlineTimer frist)
{
    // How long the first frame takes depends on the machine and what else runs on it, so a view
    // that can draw is never given up on for its time alone; only the deadline, for an engine that
    // never draws, ends the wait. A window can be minimised while the page waits.
    QTimer::singleShot(BildFrist, this, [this, runde, frist]() {
        if (runde != m_bildRunde || !m_wartetAufBild)
            return;
        if (!kannZeichnen() || frist.hasExpired())
            seiteBereit(true);
        else
            ohneBildWeiterPruefen(runde, frist);
    });
}

bool WebBruecke::kannZeichnen() const
{
    if (!m_ansicht || !m_ansicht->isVisible() || m_ansicht->window()->isMinimized())
        return false;
    const QWindow *fenster = m_ansicht->window()->windowHandle();
    return fenster && fenster->isExposed();
}

void WebBruecke::aufrufen(std::function<void()> aufruf)
{
    // A page on its way (held, loading, or waiting for its first frame) would lose what is sent:
    // it waits for jQuery and follows it in order.
    if (m_zurueckgehalten || m_laedt || m_wartetAufBild)
        m_wartend.append(std::move(aufruf));
    else
        aufruf();
}

void WebBruecke::aufwaermen()
{
    // Made from markup, the element belongs to no document: the page neither lays it out nor draws it.
    const Anweisung e = Anweisung::auswahl("<div><span></span></div>");
    for (const Anweisung &a :
         {e.html("<b>a</b> b"), e.text("a"), e.attr("src", "data:,"), e.removeAttr("src"),
          e.css("display", "none"), e.cssDicht("left", "0"), e.css({{"top", "0"}, {"color", "red"}}),
          e.width("0%"), e.height("1px"), e.addClass("a"), e.removeClass("a"), e.show(), e.hide(), e.stop(),
          e.after("<i></i>"), e.inhaltErsetzen("<i></i>")})
        ausfuehren(a);
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
    if (!m_ansicht)
        return;
    aufrufen([this, skript]() {
        if (!m_ansicht)
            return;
        ++m_aufrufe;
        m_ansicht->page()->runJavaScript(skript);
    });
}

void WebBruecke::rohAuswerten(const QString &skript, Antwort antwort)
{
    senden();
    lesenSenden(skript, std::move(antwort));
}

void WebBruecke::stapelSenden(const QStringList &anweisungen)
{
    if (!m_ansicht)
        return;
    aufrufen([this, stapel = Anweisung::stapel(anweisungen)]() {
        if (!m_ansicht)
            return;
        ++m_aufrufe;
        m_ansicht->page()->runJavaScript(stapel);
    });
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
    aufrufen([this, ausdruck, antwort = std::move(antwort)]() {
        if (!m_ansicht)
            return;
        ++m_aufrufe;
        m_ansicht->page()->runJavaScript(ausdruck, [antwort](const QVariant &wert) { antwort(wert); });
    });
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
    // What waits was meant for the page that is there, or was on its way.
    if (m_wartetAufBild)
        seiteBereit(true);
    else
        abgeben();
    ++m_bildRunde;
    laden(adresse);
}

void WebBruecke::freigeben()
{
    if (!m_zurueckgehalten)
        return;
    m_zurueckgehalten = false;
    if (std::exchange(m_verlaufAbschalten, false))
        verlaufAbschalten();
    if (m_ansicht && m_wartendeSeite.isValid())
        laden(std::exchange(m_wartendeSeite, QUrl()));
    else
        abgeben();
}

void WebBruecke::laden(const QUrl &adresse)
{
    m_laedt = true;
    m_ansicht->load(adresse);
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
