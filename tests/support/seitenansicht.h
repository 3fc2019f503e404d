#pragma once

// A real page in a real web view, for the tests that look at the pages themselves: the view with
// its bridge, the waits for a page that has loaded and fitted, and reads of the page's answers.

#include "festerzufall.h"
#include "templatefabrik.h"
#include "testuhr.h"
#include "webbruecke.h"
#include "webtestmain.h"
#include "webwarten.h"

#include <QApplication>
#include <QSize>
#include <QTest>
#include <QWebEngineView>

#include <memory>
#include <optional>

struct SeitenAnsicht
{
    // A view of `groesse`; `seite` is loaded when given. `geladen` turns true when the bridge
    // reports the page loaded with jQuery in it.
    explicit SeitenAnsicht(const QSize &groesse, const QString &seite = QString(), bool zeigen = true)
    {
        view.resize(groesse);
        if (zeigen)
            view.show();
        bruecke = std::make_unique<WebBruecke>(&view, WebBruecke::injektionsSkript());
        QObject::connect(bruecke.get(), &WebBruecke::geladen, bruecke.get(),
                         [this](bool ok) { geladen = ok; });
        if (!seite.isEmpty())
            bruecke->seiteLaden(QUrl(seite));
    }

    // Long enough for a page on a machine whose cores are all busy.
    bool geladenAbwarten()
    {
        return wartenBis([this]() { return geladen; }, 30000);
    }

    QVariant lesen(const QString &ausdruck) { return ::lesen(*bruecke, ausdruck); }

    // What a check script (a string, empty when all is well) finds wrong; a page that gives no
    // string has failed the check.
    QString fehler(const QString &pruefSkript)
    {
        const QVariant wert = lesen(pruefSkript);
        return wert.typeId() == QMetaType::QString ? wert.toString()
                                                   : QStringLiteral("no answer from the page");
    }

    // Reads the check again until it finds nothing or `ms` have passed; its last answer.
    QString fehlerfreiBis(const QString &pruefSkript, int ms)
    {
        return fehlerfreiBis([&]() { return pruefSkript; }, ms);
    }
    // The same with a check written anew for each read.
    QString fehlerfreiBis(const std::function<QString()> &pruefSkript, int ms)
    {
        QString zuletzt = QStringLiteral("no answer from the page");
        auto offen = std::make_shared<bool>(false);
        auto antwort = std::make_shared<std::optional<QString>>();
        wartenBis(
            [&]() {
                if (antwort->has_value()) {
                    zuletzt = **antwort;
                    antwort->reset();
                    if (zuletzt.isEmpty())
                        return true;
                }
                if (!*offen) {
                    *offen = true;
                    bruecke->rohAuswerten(pruefSkript(), [offen, antwort](const QVariant &wert) {
                        *offen = false;
                        *antwort = wert.typeId() == QMetaType::QString
                                       ? wert.toString()
                                       : QStringLiteral("no answer from the page");
                    });
                }
                return false;
            },
            ms);
        return zuletzt;
    }

    // Waits until the page has fitted the last change and its pictures are in, seen twice in a row
    // so that a picture's load event, which comes a moment after the picture, is fitted too. A
    // zoom factor the program set is a change as well: the engine hands it to the page some time
    // after the view took it, so the page must already have the view's pixel ratio.
    bool eingepasst()
    {
        const auto frage = [this]() {
            return QStringLiteral(
                       "Math.abs(window.devicePixelRatio - %1) < 0.001 && Einpassen.fertig() && "
                       "Array.from(document.images).every(function (i) { return i.complete; }) ? '' : 'x'")
                .arg(view.zoomFactor() * view.devicePixelRatioF());
        };
        return fehlerfreiBis(frage, 30000).isEmpty() && fehlerfreiBis(frage, 30000).isEmpty();
    }

    // The window takes its new size once the page has seen it.
    bool groesseAendern(const QSize &groesse)
    {
        view.resize(groesse);
        return fehlerfreiBis(
                   QStringLiteral("Math.round(window.innerWidth * window.devicePixelRatio) === %1 ? '' : 'x'")
                       .arg(groesse.width()),
                   30000)
            .isEmpty();
    }

    // Runs recorded statements one by one; the first that throws, with its error, or empty.
    QString fehlerfreiAusfuehren(const QStringList &anweisungen)
    {
        for (QString anweisung : anweisungen) {
            if (anweisung.startsWith(QLatin1Char('?')))
                anweisung.remove(0, 1);
            // A statement the engine cannot even parse answers nothing, so success must say so.
            const QString fehler = lesen("(function() { try { " + anweisung +
                                         "; return 'ok'; } catch (e) { return String(e); } })()")
                                       .toString();
            if (fehler != QLatin1String("ok"))
                return anweisung + QStringLiteral(" → ") + fehler;
        }
        return QString();
    }

    QWebEngineView view;
    std::unique_ptr<WebBruecke> bruecke;
    bool geladen = false;
};

// A question template driving a real page, with its clock and its draws.
struct VorlagenSeite
{
    VorlagenSeite(const QString &name, const QSize &groesse, QList<int> zahlen = {})
        : zufall(std::move(zahlen))
        , ansicht(groesse)
        , vorlage(templateErzeugen(name, *ansicht.bruecke, uhr, zufall))
    {
    }

    TestUhr uhr;
    FesterZufall zufall;
    SeitenAnsicht ansicht;
    std::unique_ptr<templatesPlenaro> vorlage;
};
