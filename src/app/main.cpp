#include "einstellungen.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "startregeln.h"
#include "webbruecke.h"

#include <QApplication>
#include <QDebug>
#include <QTranslator>

int main(int argc, char *argv[])
{
    // Pages come from the resources and show pictures from the question file's folder; only a
    // local scheme may load file: pictures. This must happen before the application exists.
    WebBruecke::qrcSchemaAnmelden();

    QApplication anwendung(argc, argv);

    qDebug() << "InstallLanguage Wert :" << Einstellungen::text(Schluessel::InstallerLanguage);
    QTranslator uebersetzung;
    if (Einstellungen::istEnglisch() &&
        uebersetzung.load(QString::fromLatin1(Startregeln::Uebersetzungskatalog),
                          QCoreApplication::applicationDirPath()))
        anwendung.installTranslator(&uebersetzung);

    MainWindow fenster;
    fenster.show();
    return anwendung.exec();
}
