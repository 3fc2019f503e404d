#pragma once

#include <QString>
#include <QStringList>

// The program's command line: help, version and the question file to start with. It is read
// twice: before any application object exists, where help and version are answered without a
// screen, and after the application has taken its own options (-platform, -style, -reverse ...),
// where whatever is left and unknown is refused.
namespace Befehlszeile {

enum class Art { Starten, Hilfe, Version, Fehler };

struct Auswertung
{
    Art art = Art::Starten;
    QString datei;  // the question file named, as an absolute path; empty when none was named
    QString fehler; // why the arguments were refused
};

// `argumente` as the program got them, its own name first. Help and version win over anything
// else on the line, so they work before Qt's options are taken off it. Arguments from
// "--webEngineArgs" on belong to the web engine and are not read.
Auswertung auswerten(const QStringList &argumente);

// The help text. Its usage line names the program as it was started, which only an application
// object knows; a core application is enough.
QString hilfe();

// "plenaro <version>" and a line end.
QString versionsText();

} // namespace Befehlszeile
