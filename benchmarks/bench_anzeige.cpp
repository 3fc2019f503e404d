// Prints how quickly the pages follow the game: refilling the ranking with 1,000 participants, the
// way of a press from the main window's press handler into the question page at the pace of a
// class (20 presses a second), and a question page after a navigation.
//   QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen build/bin/bench_anzeige
//
// Each figure runs until the page holds the result: the program sends its statements as it does
// in a game, and a read sent after the end of that turn of the event loop comes back once the page
// has run them.
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
#include <cmath>
#include <memory>

namespace {

class StillerKlang final : public Klang
{
public:
    void abspielen(const QString &) override {}
};

double anteil(QList<double> werte, double p)
{
    if (werte.isEmpty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const auto index = qsizetype(std::ceil(p * double(werte.size()))) - 1;
    return werte.at(std::clamp<qsizetype>(index, 0, werte.size() - 1));
}

double median(const QList<double> &werte)
{
    return anteil(werte, 0.5);
}

QString ms(double wert)
{
    return QString::number(wert, 'f', 2) + QLatin1String(" ms");
}

// Reads `ausdruck` once the statements of the current turn have gone out, as they do in the program.
void nachDemZug(WebBruecke &bruecke, const QString &ausdruck, std::function<void(const QVariant &)> antwort)
{
    QTimer::singleShot(0, &bruecke, [&bruecke, ausdruck, antwort = std::move(antwort)]() {
        bruecke.rohAuswerten(ausdruck, antwort);
    });
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
        WebBruecke bruecke(&ansicht, WebBruecke::injektionsSkript());
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
        for (int lauf = 0; lauf < 7; ++lauf) {
            const int vorher = bruecke.aufrufe();
            QElapsedTimer uhr;
            uhr.start();
            liste.ranglisteAnzeigen(personen, 20, 20);
            int zeilen = -1;
            nachDemZug(bruecke, QStringLiteral("qt.jQuery('.tabelleReiheRangliste').length"),
                       [&](const QVariant &wert) {
                           zeilen = wert.toInt();
                           zeiten.append(uhr.nsecsElapsed() / 1e6);
                       });
            wartenBis([&]() { return zeilen >= 0; }, 60000);
            if (zeilen != 1000)
                aus << "unexpected row count " << zeilen << "\n";
            if (lauf == 0)
                aus << "ranking refresh: " << bruecke.aufrufe() - vorher - 1 << " calls into the page\n";
        }
        aus << "ranking refresh, 1000 participants, until the page holds all rows: median "
            << ms(median(zeiten)) << " (runs:";
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
        auto *frage = dynamic_cast<WebBruecke *>(fenster.frageBruecke());
        if (!frage) {
            aus << "no question view\n";
            return 1;
        }

        // A question page after a navigation: the last statement of a question empties the vote
        // count, so once a marker put there is gone, the page shows the whole question.
        QList<double> navigation;
        for (int lauf = 0; lauf < 60; ++lauf) {
            QString marke;
            frage->rohAuswerten(QStringLiteral("qt.jQuery('.konferenzmodus').html('x').html()"),
                                [&](const QVariant &wert) { marke = wert.toString(); });
            wartenBis([&]() { return !marke.isEmpty(); });
            QElapsedTimer messung;
            messung.start();
            fenster.goToFrage(1 + lauf % 9);
            QString danach = QStringLiteral("?");
            nachDemZug(*frage, QStringLiteral("qt.jQuery('.konferenzmodus').html()"),
                       [&](const QVariant &wert) {
                           danach = wert.toString();
                           navigation.append(messung.nsecsElapsed() / 1e6);
                       });
            wartenBis([&]() { return danach != QLatin1String("?"); });
            if (!danach.isEmpty())
                aus << "question " << 1 + lauf % 9 << " not shown\n";
        }
        aus << "question page fully shown after a navigation, 60 navigations: median "
            << ms(median(navigation)) << ", p99 " << ms(anteil(navigation, 0.99)) << "\n";

        // Presses at the pace of a class: one every 50 ms, each a new handset, so the vote count
        // the page shows tells which press has arrived.
        Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("true"));
        fenster.goToFrage(1);
        fenster.on_actionN_chste_Frage_triggered(); // answer delay over: the countdown runs
        constexpr int Druecke = 240;
        QList<double> druecke;
        int gedrueckt = 0;
        int falsch = 0;
        QTimer takt;
        takt.setTimerType(Qt::PreciseTimer);
        QObject::connect(&takt, &QTimer::timeout, &app, [&]() {
            if (gedrueckt == Druecke) {
                takt.stop();
                return;
            }
            const uint nummer = uint(gedrueckt++);
            auto messung = std::make_shared<QElapsedTimer>();
            messung->start();
            fenster.druckEmpfangen(1 + nummer / 60, 1 + nummer % 60, 1 + nummer % 4);
            const QString erwartet = QStringLiteral("#votes: %1").arg(nummer + 1);
            nachDemZug(*frage, QStringLiteral("qt.jQuery('.konferenzmodus').text()"),
                       [&, messung, erwartet](const QVariant &wert) {
                           druecke.append(messung->nsecsElapsed() / 1e6);
                           if (wert.toString() != erwartet)
                               ++falsch;
                       });
        });
        takt.start(50);
        wartenBis([&]() { return druecke.size() == Druecke; }, 60000);
        if (falsch > 0)
            aus << falsch << " presses not shown as expected\n";
        aus << "press to question page, " << druecke.size() << " presses at 20/s: median "
            << ms(median(druecke)) << ", p99 " << ms(anteil(druecke, 0.99)) << ", slowest "
            << ms(druecke.isEmpty() ? 0 : *std::max_element(druecke.begin(), druecke.end())) << "\n";
        dialoge.antwortJa = true;
    }
    return 0;
}
