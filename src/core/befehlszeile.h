#pragma once

#include <QString>
#include <QStringList>

// The program's command line: help, version, the question file to start with, and the conversion
// of a question bank into a question file without a window. It is read
// twice: before any application object exists, where help and version are answered without a
// screen, and after the application has taken its own options (-platform, -style, -reverse ...),
// where whatever is left and unknown is refused.
namespace Befehlszeile {

enum class Art { Starten, Hilfe, Version, Importieren, Fehler };

struct Auswertung
{
    Art art = Art::Starten;
    QString datei;  // the question file named, as an absolute path; empty when none was named
    QString quelle; // with Importieren: the file to convert into `datei`, as an absolute path
    QString fehler; // why the arguments were refused
    // The line asks for no window (a conversion): a refusal is final at the first reading, since
    // none of Qt's window options can be what is missing.
    bool ohneFenster = false;
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
