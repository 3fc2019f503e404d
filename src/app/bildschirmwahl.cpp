#include "bildschirmwahl.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

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

} // namespace Bildschirmwahl
