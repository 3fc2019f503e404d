// Prints how quickly the pages follow the game: refilling the ranking with 1,000 participants, and
// the way of one press from the main window's press handler into the question page.
//   QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen build/bin/bench_anzeige
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "klang.h"
#include "mainwindow.h"
#include "rangliste.h"
#include "schluessel.h"
#include "spiel.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "webbruecke.h"
#include "webwarten.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>

namespace {

class StillerKlang final : public Klang
{
public:
    void abspielen(const QString &) override {}
};

double median(QList<double> werte)
{
    std::sort(werte.begin(), werte.end());
    return werte.isEmpty() ? 0 : werte.at(werte.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    WebBruecke::qrcSchemaAnmelden();
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false\njs.warning=false"));
    QTextStream aus(stdout);
    TestEinstellungen einstellungen;

    {
        QWebEngineView ansicht;
        ansicht.resize(1920, 1080);
        ansicht.show();
        QFile jquery(QStringLiteral(":/jQuery/jQuery/jquery.min.js"));
        jquery.open(QIODevice::ReadOnly);
        WebBruecke bruecke(&ansicht, QString::fromUtf8(jquery.readAll()) +
                                         QStringLiteral("\nvar qt = { 'jQuery': jQuery.noConflict(true) };"));
        bool geladen = false;
        QObject::connect(&bruecke, &WebBruecke::geladen, &app, [&](bool) { geladen = true; });
        rangliste liste;
        liste.brueckeSetzen(&bruecke);
        liste.loadHTML();
        wartenBis([&]() { return geladen; });

        QList<Person> personen;
        for (uint i = 0; i < 1000; ++i) {
            Person person(1 + i % 250, 1 + i / 250);
            for (int frage = 1; frage <= 20; ++frage) {
                AntwortDerPerson &antwort = person.getAntwortDerFrage(frage);
                antwort.setPunkte(int((i * 7 + frage) % 4));
                antwort.setAntwortszeit(double((i * 13 + frage * 17) % 15000));
                antwort.setAusgewertet(true);
            }
            personen.append(person);
        }
        QList<double> zeiten;
        for (int lauf = 0; lauf < 5; ++lauf) {
            QElapsedTimer uhr;
            uhr.start();
            liste.ranglisteAnzeigen(personen, 20, 20);
            const int zeilen =
                lesen(bruecke, QStringLiteral("qt.jQuery('.tabelleReiheRangliste').length")).toInt();
            zeiten.append(uhr.nsecsElapsed() / 1e6);
            if (zeilen != 1000)
                aus << "unexpected row count " << zeilen << "\n";
        }
        aus << "ranking refresh, 1000 participants, until the page holds all rows: median "
            << QString::number(median(zeiten), 'f', 1) << " ms (runs:";
        for (double z : zeiten)
            aus << ' ' << QString::number(z, 'f', 1);
        aus << ")\n";
    }

    {
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, QStringLiteral("Morvane"));
        TestUhr uhr;
        DialogRekorder dialoge;
        StillerKlang klang;
        FakePortSystem ports;
        MainWindow fenster(Umgebung{&uhr, &dialoge, &klang, nullptr, &ports, einstellungen.ordner()});
        fenster.resize(1920, 1080);
        fenster.show();
        wartenBis([&]() {
            return fenster.frageAnsicht()->url().toString().endsWith(QLatin1String("morvane.html"));
        });
        QElapsedTimer pause;
        pause.start();
        wartenBis([&]() { return pause.elapsed() > 1500; });
        fenster.on_actionN_chste_Frage_triggered();
        fenster.on_actionN_chste_Frage_triggered(); // countdown runs: presses are routed
        SkriptBruecke *frage = fenster.frageBruecke();
        QList<double> zeiten;
        for (uint geraet = 1; geraet <= 40 && frage; ++geraet) {
            QElapsedTimer messung;
            messung.start();
            fenster.druckEmpfangen(1, geraet, 2);
            const QString sichtbar =
                lesen(*frage,
                      QStringLiteral("qt.jQuery('.imgGeraeteID%1Morvane').is(':visible') ? 'ja' : 'nein'")
                          .arg(geraet))
                    .toString();
            zeiten.append(messung.nsecsElapsed() / 1e6);
            if (sichtbar != QLatin1String("ja"))
                aus << "handset " << geraet << " not shown\n";
        }
        aus << "press to question page (icon shown), 40 presses: median "
            << QString::number(median(zeiten), 'f', 2) << " ms, slowest "
            << QString::number(*std::max_element(zeiten.begin(), zeiten.end()), 'f', 2) << " ms\n";
        dialoge.antwortJa = true;
    }
    return 0;
}
