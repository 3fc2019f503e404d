#include "bildschirmwahl.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// A laptop's own panel, known by the name of its connector.
bool eingebaut(const QScreen *schirm)
{
    const QString name = schirm->name();
    return name.startsWith(QLatin1String("eDP")) || name.startsWith(QLatin1String("LVDS")) ||
           name.startsWith(QLatin1String("DSI"));
}

} // namespace

namespace Bildschirmwahl {

QScreen *projektor(const QList<QScreen *> &schirme, const QScreen *primaer, const QString &wahl)
{
    if (schirme.size() < 2)
        return nullptr;
    if (!wahl.isEmpty()) {
        for (QScreen *schirm : schirme) {
            if (schirm->name() == wahl)
                return schirm;
        }
    }
    // A laptop's own panel is never the class's, whichever screen the desktop made primary.
    if (std::any_of(schirme.begin(), schirme.end(), eingebaut)) {
        for (QScreen *schirm : schirme) {
            if (!eingebaut(schirm))
                return schirm;
        }
    }
    for (QScreen *schirm : schirme) {
        if (schirm != primaer)
            return schirm;
    }
    return nullptr;
}

QScreen *lehrer(const QList<QScreen *> &schirme, QScreen *primaer, const QScreen *projektor)
{
    if (primaer && primaer != projektor && schirme.contains(primaer))
        return primaer;
    for (QScreen *schirm : schirme) {
        if (schirm != projektor)
            return schirm;
    }
    return primaer;
}

void verschieben(QWidget *fenster, QScreen *schirm)
{
    if (!schirm || !fenster)
        return;
    // A full-screen or maximised window keeps its place whatever it is told; a normal one moves.
    if (fenster->isVisible() && (fenster->isFullScreen() || fenster->isMaximized()))
        fenster->showNormal();
    fenster->setScreen(schirm);
    fenster->move(schirm->availableGeometry().topLeft());
    if (QWindow *fensterGriff = fenster->windowHandle())
        fensterGriff->setScreen(schirm);
}

void aufSchirmVon(QWidget *fenster, const QWidget *bei)
{
    QScreen *ziel = bei ? bei->screen() : nullptr;
    if (!fenster || !ziel || fenster->isVisible())
        return;
    QRect rahmen = fenster->geometry();
    if (fenster->testAttribute(Qt::WA_Moved)) {
        // Where each screen is a display of its own, the coordinates are that display's already.
        QScreen *quelle = QGuiApplication::screenAt(rahmen.center());
        if (quelle && ziel->virtualSiblings().contains(quelle))
            rahmen.translate(ziel->geometry().topLeft() - quelle->geometry().topLeft());
    } else {
        rahmen.moveCenter(bei->frameGeometry().center());
    }
    // As much of it as fits on the screen, its title bar first.
    const QRect frei = ziel->availableGeometry();
    rahmen.moveRight(qMin(rahmen.right(), frei.right()));
    rahmen.moveBottom(qMin(rahmen.bottom(), frei.bottom()));
    rahmen.moveLeft(qMax(rahmen.left(), frei.left()));
    rahmen.moveTop(qMax(rahmen.top(), frei.top()));
    // Made on that screen, not moved there: a window moved across displays stays blank.
    fenster->setScreen(ziel);
    fenster->move(rahmen.topLeft());
}

} // namespace Bildschirmwahl
