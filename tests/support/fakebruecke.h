#pragma once

#include "skriptbruecke.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>

// Stands in for a web view behind the real queue of the bridge: records every statement in the
// order it reaches the page (reads prefixed with "?"), keeps each call into the page as it was
// sent (`stapel`), and answers reads from `werte`, or from `antworter` for expressions not in the
// table; unknown reads give an invalid value, as a page without the element would.
class FakeBruecke final : public SkriptBruecke
{
public:
    void verlaufAbschalten() override { ++verlaufGeloescht; }
    int hoehe() const override { return ansichtHoehe; }

    // Delivers the answers held back while `verzoegert` was set, in order, also those asked while
    // delivering.
    void antworten()
    {
        while (!offen.isEmpty())
            offen.takeFirst()();
    }
    // Delivers the oldest answer held back; false when none is waiting.
    bool eineAntwort()
    {
        if (offen.isEmpty())
            return false;
        offen.takeFirst()();
        return true;
    }
    // Everything sent so far, the queue of this turn included; then forgets it.
    QStringList nehmen()
    {
        senden();
        stapel.clear();
        return std::exchange(anweisungen, {});
    }

    QStringList anweisungen;
    // One entry per call into the page: the statements of one turn.
    QList<QStringList> stapel;
    QHash<QString, QVariant> werte;
    std::function<QVariant(const QString &)> antworter;
    bool verzoegert = false;
    QList<std::function<void()>> offen;
    QList<double> zooms;
    int verlaufGeloescht = 0;
    int ansichtHoehe = 1080;

protected:
    void stapelSenden(const QStringList &anweisungenDesZugs) override
    {
        // What the real bridge hands to the engine must be one valid script.
        Q_ASSERT(!Anweisung::stapel(anweisungenDesZugs).isEmpty());
        stapel.append(anweisungenDesZugs);
        anweisungen += anweisungenDesZugs;
    }
    void lesenSenden(const QString &ausdruck, Antwort antwort) override
    {
        anweisungen.append(QLatin1Char('?') + ausdruck);
        QVariant wert = werte.value(ausdruck);
        if (!werte.contains(ausdruck) && antworter)
            wert = antworter(ausdruck);
        // Like the engine, an answer never arrives within the call that asked for it... unless a
        // test wants the page to answer at once.
        if (verzoegert)
            offen.append([antwort, wert]() { antwort(wert); });
        else
            antwort(wert);
    }
    // A page asked for takes a call of its own, its address.
    void seiteOeffnen(const QUrl &seite) override { stapel.append({seite.toString()}); }
    void zoomAnwenden(double faktor) override { zooms.append(faktor); }
};
