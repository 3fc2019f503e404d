#pragma once

#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "klangrekorder.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "webbruecke.h"
#include "webtestmain.h"
#include "webwarten.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

// Evaluates `ausdruck` in the page of `ansicht` and waits for the value.
inline QVariant js(QWebEngineView *ansicht, const QString &ausdruck)
{
    return wertLesen([&](auto antwort) { ansicht->page()->runJavaScript(ausdruck, antwort); });
}

// The main window as the window tests drive it: settings in a folder of their own, the hand-driven
// clock, dialogs answered by the recorder, sounds recorded, fake serial ports. One per test
// function; the window goes first, then the world it was given.
class Hauptfenster final
{
public:
    Hauptfenster() = default;
    ~Hauptfenster()
    {
        if (fenster) {
            dialoge.antworten.clear();
            dialoge.antwortJa = true; // quitting may ask
            fenster->close();
        }
    }
    Q_DISABLE_COPY_MOVE(Hauptfenster)

    // Builds and shows the window with `vorlage` chosen, at `groesse` unless that is invalid.
    MainWindow &erzeugen(const QString &vorlage = QStringLiteral("Morvane"), QSize groesse = {1600, 1000})
    {
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, vorlage);
        fenster = std::make_unique<MainWindow>(
            Umgebung{&uhr, &dialoge, &klang, nullptr, &ports, einstellungen.ordner()});
        if (groesse.isValid())
            fenster->resize(groesse);
        fenster->show();
        return *fenster;
    }
    // Gives it the keyboard: shortcuts reach only the active window.
    bool aktivieren()
    {
        fenster->activateWindow();
        return QTest::qWaitForWindowActive(fenster.get());
    }
    // Builds it, gives it the keyboard and waits until it is set up.
    bool starten(const QString &vorlage = QStringLiteral("Morvane"))
    {
        erzeugen(vorlage);
        // Set up once the start screen is drawn: on a busy machine its first frame takes a while.
        return aktivieren() && QTest::qWaitFor([this]() { return fenster->istEingerichtet(); }, 40000);
    }
    // Waits until `ansicht` shows `seite` with the bridge's jQuery in it; on a machine busy with
    // other web engines a page may take a minute.
    static bool geladen(QWebEngineView *ansicht, const QString &seite)
    {
        return wartenBis(
            [&]() {
                return ansicht->url().toString().endsWith(seite) &&
                       js(ansicht, QStringLiteral("typeof qt")).toString() == QLatin1String("object");
            },
            90000);
    }
    void taste(Qt::Key taste) { QTest::keyClick(fenster.get(), taste); }
    // The texts of the status bar's fields, joined by '|'.
    QString statusTexte() const
    {
        QStringList texte;
        for (const QLabel *l : fenster->statusBar()->findChildren<QLabel *>())
            texte.append(l->text());
        return texte.join(QLatin1Char('|'));
    }
    void sekunden(int s) { uhr.vorspulen(qint64(s) * 1000); }
    // A question file below the settings folder, chosen as the file of a later start.
    QString fragen(const QList<Testdaten::Frage> &fragen, const QString &name = QStringLiteral("eigene.xml"))
    {
        const QString pfad = einstellungen.ordner() + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(pfad).absolutePath());
        Testdaten::schreiben(pfad, fragen);
        Einstellungen::setzen(Schluessel::BereitsGestartet, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
        return pfad;
    }

    TestEinstellungen einstellungen;
    TestUhr uhr;
    DialogRekorder dialoge;
    KlangRekorder klang;
    FakePortSystem ports;
    std::unique_ptr<MainWindow> fenster;
};
