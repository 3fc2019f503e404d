#pragma once

#include <QSize>
#include <QString>

// Start-up rules that do not need a window: which question file to load, where the samples are,
// and the settings written on the first start and on every start.
namespace Startregeln {

// The folder of the bundled sample questions: the program's folder with its last path component
// "debug" (a debug build tree) or else its last component "bin" replaced by "examples".
// Only whole components count, so "/home/robin/plenaro/bin" gives "/home/robin/plenaro/examples".
QString beispielVerzeichnis(const QString &anwendungsVerzeichnis);

// The program's shared data as an installation lays it out: "../share/plenaro" from the program's
// folder, so the installed tree can move to any prefix as a whole.
QString installierteDaten(const QString &anwendungsVerzeichnis);

// The example folder that exists: the build-tree rule above first, then the installed "examples"
// below the shared data. When neither exists the build-tree rule's folder is returned, so a
// message names the place where the samples were expected.
QString beispielVerzeichnisSuchen(const QString &anwendungsVerzeichnis);

// A file or folder the program carries beside itself (a picture folder, a catalogue): next to the
// program in a build tree, below the shared data when installed. Missing in both places, the path
// next to the program is returned.
QString begleitDatei(const QString &anwendungsVerzeichnis, const QString &name);

// The sample file of the interface language inside the example folder.
QString beispielDatei(const QString &beispielVerzeichnis, bool englisch);

struct StartDatei
{
    QString pfad;
    bool ersterStart = false;
};

// The question file to load at start: "FrageFile" on later starts, the sample of the interface
// language on the first start. Writes nothing.
StartDatei startDatei(const QString &anwendungsVerzeichnis);

// Completes the first start: remembers the sample file and writes the first-start values, the
// "already started" flag first.
void ersterStartAbschliessen(const QString &frageDatei);

// Values written on every start (but "SerialPort", which the main window writes later).
void jederStart(const QSize &bildschirm);

// Whether the pages are better drawn in software: no OpenGL at all (`renderer` empty), or OpenGL
// emulated on the processor (Mesa's llvmpipe, softpipe or swrast, SwiftShader), where compositing
// every frame through it costs far more than drawing in software.
bool softwareZeichnen(const QString &renderer);

// Ignores SIGXFSZ, first thing in main: a write beyond the file-size limit (ulimit -f) then fails
// with EFBIG and the save reports it as it reports a full disk, where the signal would end the
// program and take every unsaved edit with it.
void dateigrenzeAlsSchreibfehler();

// Raises the soft limit of open files to the hard one (Debian starts programs with 1,024 of
// usually 524,288): a room of phones holds a connection each, and the program must still open its
// journal, exports and settings. Returns the soft limit now in force, 0 where there is none.
quint64 dateienGrenzeAnheben();

// The program's own catalogues, without their language and suffix: "_en" for the English interface,
// "_de" for the German one (the German forms of texts that count something).
inline constexpr char Uebersetzungskatalog[] = "plenarotandrivelle";

} // namespace Startregeln
