#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>

#include <functional>

// The only way into a page: templates, the start screen and the ranking list change what the
// audience sees by sending short jQuery statements through a bridge. The program's bridge wraps a
// web view; tests put in a fake that records the statements and answers reads from a table.
class SkriptBruecke
{
public:
    using Antwort = std::function<void(const QVariant &)>;

    // The web engine accepts zoom factors only in this range and silently ignores others.
    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 5.0;

    SkriptBruecke() = default;
    SkriptBruecke(const SkriptBruecke &) = delete;
    SkriptBruecke &operator=(const SkriptBruecke &) = delete;
    virtual ~SkriptBruecke() = default;

    // Runs one statement; "; null" is appended so the jQuery object it returns is never converted.
    virtual void ausfuehren(const QString &anweisung) = 0;
    // Evaluates an expression and hands its value to `antwort`, later, in the order sent.
    virtual void auswerten(const QString &ausdruck, Antwort antwort) = 0;

    virtual void seiteLaden(const QUrl &seite) = 0;
    // Keeps no history: pages are replaced, never navigated back to.
    virtual void verlaufAbschalten() = 0;
    // Height of the view in pixels.
    virtual int hoehe() const = 0;

    double zoomFaktor() const { return m_zoom; }
    // Clamped to what the web engine accepts.
    void setZoomFaktor(double faktor);

    // Question and answer texts go between single quotes of a statement: apostrophes become
    // entities, line breaks <br>, backslashes are doubled, and line separators — which end a
    // JavaScript string — become <br> too.
    static QString text(const QString &roh);

protected:
    virtual void zoomAnwenden(double faktor) = 0;

private:
    double m_zoom = 1.0;
};

// "qt.jQuery('.klasse')"
inline QString jq(const QString &klasse)
{
    return QLatin1String("qt.jQuery('.") + klasse + QLatin1String("')");
}
