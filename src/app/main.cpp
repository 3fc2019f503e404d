#include "einstellungen.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "startregeln.h"

#include <QApplication>
#include <QDebug>
#include <QTranslator>
#include <QWebEngineUrlScheme>

int main(int argc, char *argv[])
{
    // Pages come from the resources and show pictures from the question file's folder; only a
    // local scheme may load file: pictures. This must happen before the application exists.
    QWebEngineUrlScheme qrc("qrc");
    qrc.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                 QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(qrc);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

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
