#pragma once

#include <QList>
#include <QString>

class QScreen;
class QWidget;

// Which screen the class sees and which one the teacher keeps, from Qt's list of screens and the
// screen chosen in the options ("ProjektorBildschirm": a screen's name, empty for automatic).
namespace Bildschirmwahl {

// The projector: the screen chosen by name; else (automatic, or the chosen screen is not plugged
// in) the first screen that is not a laptop's own panel (eDP, LVDS, DSI), or without such a panel
// the first screen that is not the primary one, since a laptop mostly keeps its panel primary.
// Null with fewer than two screens: nothing to choose.
QScreen *projektor(const QList<QScreen *> &schirme, const QScreen *primaer, const QString &wahl);
// The teacher's screen: the primary one unless it is the projector, else the first other one.
QScreen *lehrer(const QList<QScreen *> &schirme, QScreen *primaer, const QScreen *projektor);
// Puts the window `fenster` (shown or not) on `schirm`, at the top left of its free area; its
// state (full screen, maximised) is the caller's to set afterwards.
void verschieben(QWidget *fenster, QScreen *schirm);
// Opens the window `fenster`, not shown yet, on the screen of `bei`: placed in desktop coordinates
// it would land on whichever screen holds them, the class's projector among them. A window placed
// by the program keeps its place relative to its screen; one never placed opens over `bei`.
void aufSchirmVon(QWidget *fenster, const QWidget *bei);

} // namespace Bildschirmwahl
