#pragma once

#include "skriptbruecke.h"

#include <QObject>
#include <QPointer>

#include <QWebEngineView>

// The bridge into one of the main window's web views. Only the application and the tests that
// load real pages link this part; everything else knows the SkriptBruecke interface alone.
class WebBruecke final : public QObject, public SkriptBruecke
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebBruecke)

public:
    // `injektion` (jQuery and the `qt` alias, see Anweisung::injektion) runs after every load of
    // the view, so statements find `qt.jQuery` in whatever page the view shows.
    WebBruecke(QWebEngineView *ansicht, const QString &injektion, QObject *eltern = nullptr);

    void verlaufAbschalten() override;
    int hoehe() const override;

    // Lets pages from the resources show pictures from the question file's folder. Must run before
    // the application object exists.
    static void qrcSchemaAnmelden();
    // The injection built from the jQuery in the resources.
    static QString injektionsSkript();

    // Runs a script as it is, after what is queued. For the injection and for tests that replay
    // recorded statements on a real page.
    void roh(const QString &skript);
    void rohAuswerten(const QString &skript, Antwort antwort);
    QWebEngineView *ansicht() const { return m_ansicht; }
    // Calls into the engine so far; one per turn with statements, one per read.
    int aufrufe() const { return m_aufrufe; }

    // While held, the view's engine page is left alone: a page asked for is only remembered and
    // loads on `freigeben`, so views out of sight neither start a renderer nor load while the one
    // in front is still on its way to the screen. What is sent meanwhile is dropped and reads get
    // an empty answer, as they would from a page still loading.
    void zurueckhalten() { m_zurueckgehalten = true; }
    void freigeben();
    bool zurueckgehalten() const { return m_zurueckgehalten; }

signals:
    // The page has loaded and jQuery is in it.
    void geladen(bool ok);

protected:
    void stapelSenden(const QStringList &anweisungen) override;
    void lesenSenden(const QString &ausdruck, Antwort antwort) override;
    void seiteOeffnen(const QUrl &seite) override;
    void zoomAnwenden(double faktor) override;

private:
    QPointer<QWebEngineView> m_ansicht;
    QString m_injektion;
    int m_aufrufe = 0;
    bool m_zurueckgehalten = false;
    bool m_verlaufAbschalten = false;
    QUrl m_wartendeSeite;
};
