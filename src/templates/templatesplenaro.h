#pragma once

#include "person.h"

#include <QDomNode>
#include <QList>
#include <QRectF>
#include <QString>

#include <functional>

// Where the pause sign may lie without covering the question or an answer: an area of the view as
// shares of its width and height, and whether the sign sits at the area's foot rather than in its
// middle.
struct PauseFeld
{
    QRectF flaeche;
    bool unten = false;
};

// What the main window asks of whichever question template is active. Calls for one question come
// in this order: frageAnzeigen; after the answer delay antwortenAnzeigen; geraeteIDAnzeigen for
// each press and updateCountdown each second; countdownAbgelaufen and a last updateCountdown;
// 2000 ms later ersteRundeAnzeigen and richtigeAntwortAnzeigen. A navigation may cut this short at
// any point.
class templatesPlenaro
{
public:
    templatesPlenaro() = default;
    templatesPlenaro(const templatesPlenaro &) = delete;
    templatesPlenaro &operator=(const templatesPlenaro &) = delete;
    virtual ~templatesPlenaro() = default;

    virtual void loadHTML() = 0;
    virtual void frageAnzeigen(const QDomNode &frage, int frageNr) = 0;
    virtual void antwortenAnzeigen(const QDomNode &frage) = 0;
    // Called right before richtigeAntwortAnzeigen when the question was answered twice: the shares
    // of the first round, A to D, in percent. Empty for a question answered once, which then looks
    // as it always did.
    virtual void ersteRundeAnzeigen(const QList<double> &prozente) { Q_UNUSED(prozente) }
    virtual void richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                         const QString &loesung, const QList<double> &prozente) = 0;
    virtual void updateCountdown(int qounterAktuelleFrage, int zeitIntervallAktuelleFrage) = 0;
    virtual void countdownAbgelaufen() = 0;
    virtual void geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo) = 0;
    // Asks the page; `weiter` is called later, and not at all when the page has no such area.
    virtual void pauseFeldLesen(std::function<void(const PauseFeld &)> weiter) { Q_UNUSED(weiter) }
};
