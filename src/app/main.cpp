#include "einstellungen.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "startregeln.h"
#include "webbruecke.h"

#include <QApplication>
#include <QDebug>
#include <QLoggingCategory>
#include <QTranslator>

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
    QTranslator uebersetzung;
    // Beside the program in a build tree, below the shared data when installed.
    if (Einstellungen::istEnglisch() &&
        uebersetzung.load(Startregeln::begleitDatei(QCoreApplication::applicationDirPath(),
                                                    QString::fromLatin1(Startregeln::Uebersetzungskatalog) +
                                                        QLatin1String(".qm")))) {
        anwendung.installTranslator(&uebersetzung);
        qCInfo(lcProgramm).noquote() << "Uebersetzung geladen:" << uebersetzung.filePath();
    }

    MainWindow fenster;
    fenster.show();
    return anwendung.exec();
}
