#include "einstellungen.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "sprachkataloge.h"
#include "webbruecke.h"

#include <QApplication>
#include <QDebug>

int main(int argc, char *argv[])
{
    // Pages come from the resources and show pictures from the question file's folder; only a
    // local scheme may load file: pictures. This must happen before the application exists.
    WebBruecke::qrcSchemaAnmelden();

    QApplication anwendung(argc, argv);

    qDebug() << "InstallLanguage Wert :" << Einstellungen::text(Schluessel::InstallerLanguage);
    // Before any window exists, so every form is built in the language of the interface.
    Sprachkataloge::installieren(anwendung, Einstellungen::istEnglisch());

    MainWindow fenster;
    fenster.show();
    return anwendung.exec();
}
