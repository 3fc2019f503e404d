#pragma once

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

class Dialoge;
class QMainWindow;

// Pictures for the tutorial windows, taken of the real program. They go to resources/tutorial/de
// or resources/tutorial/en under the names the tutorials show.
namespace Tutorialbilder {

// The width every tutorial picture is scaled to, so it fits the tutorial window.
inline constexpr int Breite = 820;

// The options dialog with each of its tabs in front, in tab order, with the tab's object name.
// The dialog shows a typical classroom setup (one receiver, a master handset, two class sets,
// phones on the usual port).
QList<QPair<QString, QImage>> optionenTabs();

// The main window with one of its menus open.
QImage mitMenue(QMainWindow &fenster, const QString &menueName);

// The question editor on `frageDatei`: first as it opens (the first question with its answers),
// then on the first question whose answers have pictures. The stored "FrageFile" is put back.
// Empty when the file cannot be shown.
QList<QImage> frageneditor(const QString &frageDatei, Dialoge &dialoge);

QImage verkleinert(const QImage &bild, int breite = Breite);

} // namespace Tutorialbilder
