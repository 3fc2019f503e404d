#pragma once

#include "skriptbruecke.h"

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

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
    // in front is still on its way to the screen. Statements sent meanwhile wait for the page, as
    // they do while a page loads; reads get an empty answer at once, so no caller waits on them.
    void zurueckhalten() { m_zurueckgehalten = true; }
    void freigeben();
    bool zurueckgehalten() const { return m_zurueckgehalten; }

    // For the view the class sees first: after the next load the page is drawn before jQuery goes
    // in, so the first frame does not wait for the script. What is sent meanwhile waits and
    // follows the injection in order. Whether the view can draw is looked at every `BildFrist` ms
    // from the load: one that cannot (hidden, in a minimised window or one not on the screen) is
    // wired then; one that can is waited for however long its frame takes on a busy machine, up to
    // `BildHoechstens` ms. `gezeichnet` tells when the frame is there.
    void erstesBildAbwarten() { m_bildAbwarten = true; }
    // Runs every kind of statement once on an element outside the page: the engine compiles a
    // script's functions when they are first called, which made the first question after a load
    // take twice as long as the others. Nothing on the page changes.
    void aufwaermen();
    bool wartetAufBild() const { return m_wartetAufBild; }
    static constexpr int BildFrist = 250;
    static constexpr int BildHoechstens = 15000;

signals:
    // The page has loaded and jQuery is in it.
    void geladen(bool ok);
    // The page awaited by `erstesBildAbwarten` has been drawn.
    void gezeichnet();

protected:
    void stapelSenden(const QStringList &anweisungen) override;
    void lesenSenden(const QString &ausdruck, Antwort antwort) override;
    void seiteOeffnen(const QUrl &seite) override;
    void zoomAnwenden(double faktor) override;

private:
    // The page is there (loaded, and drawn where that is awaited): what waited goes to it and
    // `geladen` is told.
    void seiteBereit(bool ok);
    // Runs what waited for the page, in order.
    void abgeben();
    void injizieren();
    void laden(const QUrl &adresse);
    // Looks every `BildFrist` ms whether the view can still draw the frame awaited in `runde`.
    void ohneBildWeiterPruefen(int runde, QDeadlineTimer frist);
    bool kannZeichnen() const;
    // Calls into the engine, or keeps them for after the awaited frame.
    void aufrufen(std::function<void()> aufruf);

    QPointer<QWebEngineView> m_ansicht;
    QString m_injektion;
    int m_aufrufe = 0;
    bool m_zurueckgehalten = false;
    bool m_verlaufAbschalten = false;
    QUrl m_wartendeSeite;
    bool m_bildAbwarten = false;
    bool m_wartetAufBild = false;
    // Tells a frame or deadline of an earlier page from the current one.
    int m_bildRunde = 0;
    // From a load's start to its end: what is sent meanwhile is written for the new page.
    bool m_laedt = false;
    QList<std::function<void()>> m_wartend;
};
