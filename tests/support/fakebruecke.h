#pragma once

#include "skriptbruecke.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>

// Stands in for a web view: records every statement in order (reads prefixed with "?") and
// answers reads from `werte`, or from `antworter` for expressions not in the table; unknown
// reads give an invalid value, as a page without the element would.
class FakeBruecke final : public SkriptBruecke
{
public:
    void ausfuehren(const QString &anweisung) override { anweisungen.append(anweisung); }
    void auswerten(const QString &ausdruck, Antwort antwort) override
    {
        anweisungen.append(QLatin1Char('?') + ausdruck);
        QVariant wert = werte.value(ausdruck);
        if (!werte.contains(ausdruck) && antworter)
            wert = antworter(ausdruck);
        if (verzoegert)
            offen.append([antwort, wert]() { antwort(wert); });
        else
            antwort(wert);
    }
    void seiteLaden(const QUrl &seite) override { seiten.append(seite); }
    void verlaufAbschalten() override { ++verlaufGeloescht; }
    int hoehe() const override { return ansichtHoehe; }

    // Delivers the answers held back while `verzoegert` was set, in order.
    void antworten()
    {
        while (!offen.isEmpty())
            offen.takeFirst()();
    }
    QStringList nehmen() { return std::exchange(anweisungen, {}); }

    QStringList anweisungen;
    QHash<QString, QVariant> werte;
    std::function<QVariant(const QString &)> antworter;
    bool verzoegert = false;
    QList<std::function<void()>> offen;
    QList<QUrl> seiten;
    QList<double> zooms;
    int verlaufGeloescht = 0;
    int ansichtHoehe = 1080;

protected:
    void zoomAnwenden(double faktor) override { zooms.append(faktor); }
};
