#include "einstellungen.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "sprachkataloge.h"
#include "webbruecke.h"

#include <QApplication>
#include <QDebug>
#include <QLoggingCategory>

#include <cstdio>

// What the start found (the catalogue in use); read by the installation test and by people
// wondering why the windows stay German.
namespace {
Q_LOGGING_CATEGORY(lcProgramm, "plenaro.main")
}

int main(int argc, char *argv[])
{
    // Pages come from the resources and show pictures from the question file's folder; only a
    // local scheme may load file: pictures. This must happen before the application exists.
    WebBruecke::qrcSchemaAnmelden();

    QApplication anwendung(argc, argv);
    // Lets the desktop match the window with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.plenaro.Plenaro"));

    qDebug() << "InstallLanguage Wert :" << Einstellungen::text(Schluessel::InstallerLanguage);
    // Before any window exists, so every form is built in the language of the interface.
    for (const QString &katalog : Sprachkataloge::installieren(anwendung, Einstellungen::istEnglisch()))
        qCInfo(lcProgramm).noquote() << "Uebersetzung geladen:" << katalog;

    MainWindow fenster;
    // The start-up benchmark reads this line to time the start to the start screen on the screen.
    if (qEnvironmentVariableIsSet("PLENARO_ERSTES_BILD_MELDEN")) {
        QObject::connect(&fenster, &MainWindow::startscreenGezeichnet, []() {
            std::fputs("erstes Bild\n", stdout);
            std::fflush(stdout);
        });
    }
    fenster.show();
    return anwendung.exec();
}
