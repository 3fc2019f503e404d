#include "beendensignale.h"
#include "befehlszeile.h"
#include "einstellungen.h"
#include "fremdformat.h"
#include "mainwindow.h"
#include "meldungsdialoge.h"
#include "produkt.h"
#include "schluessel.h"
#include "spielablauf.h"
#include "sprachkataloge.h"
#include "startregeln.h"
#include "webbruecke.h"
#include "zeichenweg.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFontDatabase>
#include <QLockFile>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <thread>

// What the start found (the catalogue in use); read by the installation test and by people
// wondering why the windows stay German.
namespace {
Q_LOGGING_CATEGORY(lcProgramm, "plenaro.main")
}

int main(int argc, char *argv[])
{
    // Help and version need no screen: they are answered before the application of the windows
    // looks for one, by a core application, which knows the name the program was started by.
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente.append(QString::fromLocal8Bit(argv[i]));
    const Befehlszeile::Auswertung zeile = Befehlszeile::auswerten(argumente);
    const Befehlszeile::Art auskunft = zeile.art;
    if (auskunft == Befehlszeile::Art::Fehler && zeile.ohneFenster) {
        std::fprintf(stderr, "plenaro: %s\nTry 'plenaro --help'.\n", qPrintable(zeile.fehler));
        return 2;
    }
    if (auskunft == Befehlszeile::Art::Importieren) {
        // A whole folder is converted from a terminal: no screen, the report on the output.
        const QCoreApplication kern(argc, argv);
        QString bericht;
        const bool geschrieben =
            Fremdformat::umwandeln(zeile.quelle, zeile.datei, Einstellungen::istEnglisch(), &bericht);
        std::fputs(qPrintable(bericht + QLatin1Char('\n')), geschrieben ? stdout : stderr);
        return std::fflush(stdout) == 0 && geschrieben ? 0 : 1;
    }
    if (auskunft == Befehlszeile::Art::Hilfe || auskunft == Befehlszeile::Art::Version) {
        const QCoreApplication kern(argc, argv);
        const QString text =
            auskunft == Befehlszeile::Art::Hilfe ? Befehlszeile::hilfe() : Befehlszeile::versionsText();
        std::fputs(qPrintable(text), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    // A normal run writes warnings only; QT_LOGGING_RULES or a logging configuration turns more on.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    Startregeln::dateigrenzeAlsSchreibfehler();
    Startregeln::dateienGrenzeAnheben();
    // Pages come from the resources and show pictures from the question file's folder; only a
    // local scheme may load file: pictures. This must happen before the application exists.
    WebBruecke::qrcSchemaAnmelden();

    QApplication anwendung(argc, argv);
    // Qt has taken its own options off the line now; whatever is left must be ours.
    const Befehlszeile::Auswertung befehl = Befehlszeile::auswerten(QCoreApplication::arguments());
    if (befehl.art == Befehlszeile::Art::Fehler) {
        std::fprintf(stderr, "plenaro: %s\nTry 'plenaro --help'.\n", qPrintable(befehl.fehler));
        return 2;
    }
    // A shutdown, a logout or Ctrl+C ends the program in order, without the questions of the
    // window: a game under way stays restorable in its journal, a journal without a game goes.
    BeendenSignale beendenSignale;
    QObject::connect(&beendenSignale, &BeendenSignale::beendenVerlangt, &anwendung, [](int signal) {
        qCInfo(lcProgramm) << "Beenden verlangt, Signal" << signal;
        QCoreApplication::exit(0);
    });
    // Before the first web view: it decides how every page is drawn.
    const QString zeichenweg = Zeichenweg::waehlen();
    // Lets a page that is put out of sight collect its garbage at once (see einpassen.js), unless
    // the engine's script options were set from outside. Only the program's own pages run here.
    const QByteArray schalter = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!schalter.contains("--js-flags"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (schalter + " --js-flags=--expose-gc").trimmed());
    // The window's menus and labels need the list of the system's fonts; reading it takes the
    // window's thread about 10 ms while the web engine waits for that thread to load the start
    // page. Read beside it instead: the font database may be used from any thread.
    std::thread schriftenLesen([]() { QFontDatabase::families(); });
    const auto abwarten = qScopeGuard([&schriftenLesen]() { schriftenLesen.join(); });
    // Lets the desktop match the window with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.plenaro.Plenaro"));

    qDebug() << "InstallLanguage Wert :" << Einstellungen::text(Schluessel::InstallerLanguage);
    // Before any window exists, so every form is built in the language of the interface.
    qCInfo(lcProgramm).noquote() << "Zeichenweg:" << zeichenweg;
    for (const QString &katalog : Sprachkataloge::installieren(anwendung, Einstellungen::istEnglisch()))
        qCInfo(lcProgramm).noquote() << "Uebersetzung geladen:" << katalog;

    // One program per user: a second one would share the press journal and the settings with the
    // first, and find no receiver, since the first holds its port. Held until the program ends; a
    // lock left by a crashed program is taken over (its process is gone), however old.
    Produkt::anwendungBenennen();
    const QString datenOrdner = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(datenOrdner);
    QLockFile einzig(datenOrdner + QStringLiteral("/plenaro.lock"));
    einzig.setStaleLockTime(0);
    // A program that was just quit may still be on its way out.
    if (!einzig.tryLock(3000) && einzig.error() == QLockFile::LockFailedError) {
        std::fputs("plenaro: Plenaro is already running.\n", stderr);
        MeldungsDialoge(nullptr).hinweis(
            {Einstellungen::meldung(QStringLiteral("Plenaro läuft schon."),
                                    QStringLiteral("Plenaro is already running.")),
             Einstellungen::meldung(
                 QStringLiteral("Bitte das geöffnete Plenaro-Fenster verwenden: zwei Programme teilten "
                                "sich den Empfänger und die gesicherten Antworten."),
                 QStringLiteral("Please use the Plenaro window that is open: two programs would share "
                                "the receiver and the saved answers.")),
             {},
             true});
        return 1;
    }
    if (einzig.error() != QLockFile::NoError)
        qCWarning(lcProgramm) << "Ohne Sperre gegen ein zweites Plenaro:" << einzig.fileName()
                              << einzig.error();

    // The window loads the start file: a file named on the command line becomes it first.
    std::optional<Meldung> startMeldung;
    if (!befehl.datei.isEmpty())
        startMeldung = Spielablauf::startDateiVorgeben(befehl.datei);

    MainWindow fenster;
    // The start-up benchmark reads this line to time the start to the start screen on the screen.
    if (qEnvironmentVariableIsSet("PLENARO_ERSTES_BILD_MELDEN")) {
        QObject::connect(&fenster, &MainWindow::startscreenGezeichnet, []() {
            std::fputs("erstes Bild\n", stdout);
            std::fflush(stdout);
        });
    }
    fenster.show();
    // Said over the window, as Open says it.
    if (startMeldung) {
        QTimer::singleShot(0, &fenster, [&fenster, meldung = *startMeldung]() {
            MeldungsDialoge(&fenster).hinweis(meldung);
        });
    }
    return anwendung.exec();
}
