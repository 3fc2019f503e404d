#pragma once

#include "anweisung.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <functional>
#include <memory>

// The only way into a page: templates, the start screen and the ranking list change what the
// audience sees by sending statements through a bridge. The program's bridge wraps a web view
// (WebBruecke, a library of its own); tests put in a fake that records the statements and answers
// reads from a table.
//
// Statements are queued and reach the page together at the end of the current turn of the event
// loop: one call into the engine instead of one per statement. A read sends what is queued first,
// so it sees the page as the statements before it left it, and answers come in the order asked.
class SkriptBruecke
{
public:
    using Antwort = std::function<void(const QVariant &)>;

    // The web engine accepts zoom factors only in this range and silently ignores others.
    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 5.0;

    SkriptBruecke();
    SkriptBruecke(const SkriptBruecke &) = delete;
    SkriptBruecke &operator=(const SkriptBruecke &) = delete;
    virtual ~SkriptBruecke();

    void ausfuehren(const Anweisung &anweisung);
    // Evaluates an expression and hands its value to `antwort`, later, in the order sent.
    void auswerten(const Anweisung &ausdruck, Antwort antwort);
    // Sends what is queued now rather than at the end of the turn.
    void senden();
    // What is queued goes to the old page first: it was meant for it.
    void seiteLaden(const QUrl &seite);

    // Keeps no history: pages are replaced, never navigated back to.
    virtual void verlaufAbschalten() = 0;
    // Height of the view in pixels.
    virtual int hoehe() const = 0;

    double zoomFaktor() const { return m_zoom; }
    // Clamped to what the web engine accepts.
    void setZoomFaktor(double faktor);

    // A bridge without a page: everything sent to it is lost and no read is answered, as with a
    // view that has not loaded anything.
    static SkriptBruecke &ohneSeite();

protected:
    // One call into the page with the statements of a turn, in order.
    virtual void stapelSenden(const QStringList &anweisungen) = 0;
    virtual void lesenSenden(const QString &ausdruck, Antwort antwort) = 0;
    virtual void seiteOeffnen(const QUrl &seite) = 0;
    virtual void zoomAnwenden(double faktor) = 0;

private:
    QStringList m_warteschlange;
    // Carries the end-of-turn send; gone with the bridge, so a late send finds nothing to do.
    std::unique_ptr<QObject> m_wecker;
    double m_zoom = 1.0;
};

// Guards answers of a page against arriving after their asker has moved on: when the guard's
// owner is gone, no answer reaches it; after `neueRunde()` answers of earlier rounds are either
// dropped or told that they are late. The one way every page object guards its reads.
class Antwortwache final
{
public:
    Antwortwache() = default;
    Antwortwache(const Antwortwache &) = delete;
    Antwortwache &operator=(const Antwortwache &) = delete;

    // Answers of older rounds are late.
    void neueRunde() { ++*m_runde; }

    // `weiter` runs only while the owner lives and the round has not changed.
    SkriptBruecke::Antwort aktuell(std::function<void(const QVariant &)> weiter) const;
    // `weiter` runs while the owner lives; `puenktlich` tells whether the round is the same, so
    // a late answer can still undo what it started.
    SkriptBruecke::Antwort lebendig(std::function<void(const QVariant &, bool puenktlich)> weiter) const;

private:
    std::shared_ptr<int> m_runde = std::make_shared<int>(0);
};
