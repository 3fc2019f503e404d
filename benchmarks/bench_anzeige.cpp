// Prints how quickly the pages follow the game: refilling the ranking with 1,000 participants, the
// way of a press from the main window's press handler into the question page at the pace of a
// class (20 presses a second), a question page after a navigation, and the start of the program
// until its start screen is drawn, against a bare web view showing one line started the same way.
//   QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen build/bin/bench_anzeige
//
// Each figure runs until the page holds the result: the program sends its statements as it does
// in a game, and a read sent after the end of that turn of the event loop comes back once the page
// has run them.
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "erstesbild.h"
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
#include <QProcess>
#include <QTemporaryDir>
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

// The yardstick for the start: a bare view with a one-line page (or the page BENCH_SEITE names), run
// as a child of this benchmark.
int nackteAnsicht(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWebEngineView ansicht;
    ansicht.resize(1920, 1080);
    nachErstemBild(&ansicht, []() {
        std::fputs("erstes Bild\n", stdout);
        std::fflush(stdout);
    });
    if (qEnvironmentVariableIsSet("BENCH_SEITE"))
        ansicht.load(QUrl(qEnvironmentVariable("BENCH_SEITE")));
    else
        ansicht.setHtml(QStringLiteral("<!DOCTYPE html><p>Plenaro</p>"));
    ansicht.show();
    return app.exec();
}

// Milliseconds from starting `programm` until it says its first frame is drawn, or -1.
double startMessen(const QString &programm, const QStringList &argumente, const QProcessEnvironment &umgebung)
{
    QProcess prozess;
    prozess.setProcessEnvironment(umgebung);
    prozess.setProcessChannelMode(QProcess::SeparateChannels);
    prozess.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer uhr;
    uhr.start();
    prozess.start(programm, argumente);
    QByteArray gelesen;
    double zeit = -1;
    wartenBis(
        [&]() {
            gelesen += prozess.readAllStandardOutput();
            if (gelesen.contains("erstes Bild"))
                zeit = uhr.nsecsElapsed() / 1e6;
            return zeit >= 0 || prozess.state() == QProcess::NotRunning;
        },
        60000);
    prozess.kill();
    prozess.waitForFinished(10000);
    // The engine's helper processes of a killed start end a moment later; the next start must not
    // share the processor with them.
    QElapsedTimer ruhe;
    ruhe.start();
    wartenBis([&]() { return ruhe.elapsed() >= 300; });
    return zeit;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--nackt") == 0) {
        WebBruecke::qrcSchemaAnmelden();
        return nackteAnsicht(argc, argv);
    }
    WebBruecke::qrcSchemaAnmelden();
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false\njs.warning=false"));
    QTextStream aus(stdout);

    {
        // Both children start with empty settings of their own, one after the other, so neither
        // finds the other's files in the disk cache alone.
        QTemporaryDir ordner;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QStringLiteral("XDG_CONFIG_HOME"), ordner.filePath(QStringLiteral("config")));
        umgebung.insert(QStringLiteral("XDG_DATA_HOME"), ordner.filePath(QStringLiteral("data")));
        umgebung.insert(QStringLiteral("XDG_CACHE_HOME"), ordner.filePath(QStringLiteral("cache")));
        umgebung.insert(QStringLiteral("PLENARO_ERSTES_BILD_MELDEN"), QStringLiteral("1"));
        const QString programm = QCoreApplication::applicationDirPath() + QStringLiteral("/plenaro");
        QList<double> plenaro;
        QList<double> nackt;
        QList<double> startseite;
        QProcessEnvironment mitStartseite = umgebung;
        mitStartseite.insert(QStringLiteral("BENCH_SEITE"), QStringLiteral("qrc:/template/startscreen.html"));
        const QString selbst = QCoreApplication::applicationFilePath();
        // Starts vary by a fifth from one to the next on a shared machine: the medians of thirty-one
        // each, taken in turn, keep the ratio steady.
        for (int lauf = 0; lauf < 32; ++lauf) {
            const double p = startMessen(programm, {}, umgebung);
            const double n = startMessen(selbst, {QStringLiteral("--nackt")}, umgebung);
            const double s = startMessen(selbst, {QStringLiteral("--nackt")}, mitStartseite);
            if (lauf == 0)
                continue; // the first start of each fills the disk cache
            if (p < 0 || n < 0 || s < 0) {
                aus << "a start did not report its first frame\n";
                continue;
            }
            plenaro.append(p);
            nackt.append(n);
            startseite.append(s);
        }
        const double verhaeltnis = median(nackt) > 0 ? median(plenaro) / median(nackt) : 0;
        // Neighbouring starts share the machine's load of the moment; their ratios say the same as
        // the ratio of the medians with less of that load in it.
        QList<double> paare;
        for (qsizetype i = 0; i < plenaro.size(); ++i)
            paare.append(plenaro.at(i) / nackt.at(i));
        aus << "start until the first frame of the start screen: median " << ms(median(plenaro))
            << "; bare web view with one line: median " << ms(median(nackt)) << "; ratio "
            << QString::number(verhaeltnis, 'f', 2) << " (median of the ratios of neighbouring starts "
            << QString::number(median(paare), 'f', 2) << ")"
            << "\n  the start screen's page alone in a bare view: median " << ms(median(startseite)) << "\n";
        aus.flush();
    }

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
        QList<double> imFenster; // as the page's own clock sees it, from before the call
        QList<double> bisGemalt; // until the frame with the new rows, by the page's clock
        for (int lauf = 0; lauf < 15; ++lauf) {
            // A teacher asks for the ranking of a page at rest: the frame drawn for the last
            // refresh must not be counted against this one.
            bruecke.rohAuswerten(
                QStringLiteral("window.benchRuhig = false; requestAnimationFrame(function () { "
                               "requestAnimationFrame(function () { window.benchRuhig = true; }); "
                               "}); true"),
                [](const QVariant &) {});
            for (int versuch = 0; versuch < 2000; ++versuch) {
                const QVariant ruhig = wertLesen([&](std::function<void(const QVariant &)> antwort) {
                    bruecke.rohAuswerten(QStringLiteral("window.benchRuhig && Einpassen.fertig()"), antwort);
                });
                if (ruhig.toBool())
                    break;
            }
            bool bereit = false;
            bruecke.rohAuswerten(QStringLiteral("window.benchBeginn = performance.now(); true"),
                                 [&](const QVariant &) { bereit = true; });
            wartenBis([&]() { return bereit; });
            const int vorher = bruecke.aufrufe();
            QElapsedTimer uhr;
            uhr.start();
            liste.ranglisteAnzeigen(personen, 20, 20);
            int zeilen = -1;
            int aufrufe = 0;
            nachDemZug(bruecke,
                       QStringLiteral("window.benchGemalt = 0; requestAnimationFrame(function () { "
                                      "window.benchGemalt = performance.now() - window.benchBeginn; }); "
                                      "[qt.jQuery('.tabelleReiheRangliste').length, performance.now() - "
                                      "window.benchBeginn]"),
                       [&](const QVariant &wert) {
                           zeilen = wert.toList().value(0).toInt();
                           aufrufe = bruecke.aufrufe() - vorher - 1;
                           zeiten.append(uhr.nsecsElapsed() / 1e6);
                           imFenster.append(wert.toList().value(1).toDouble());
                       });
            wartenBis([&]() { return zeilen >= 0; }, 60000);
            for (int versuch = 0; versuch < 2000; ++versuch) {
                const double gemalt = wertLesen([&](std::function<void(const QVariant &)> antwort) {
                                          bruecke.rohAuswerten(QStringLiteral("window.benchGemalt"), antwort);
                                      }).toDouble();
                if (gemalt > 0) {
                    bisGemalt.append(gemalt);
                    break;
                }
            }
            if (zeilen != 1000)
                aus << "unexpected row count " << zeilen << "\n";
            if (lauf == 0)
                aus << "ranking refresh: " << aufrufe << " calls into the page\n";
        }
        aus << "ranking refresh, 1000 participants, until the page holds all rows: median "
            << ms(median(zeiten)) << " (runs:";
        for (double z : zeiten)
            aus << ' ' << QString::number(z, 'f', 1);
        aus << ")\n  by the page's own clock: rows in place after a median of " << ms(median(imFenster))
            << ", the frame showing them begins after " << ms(median(bisGemalt)) << " (p90 "
            << ms(anteil(bisGemalt, 0.9)) << ")\n";
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
        wartenBis([&]() { return fenster.istEingerichtet(); });
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
        // count, so once a marker put there is gone, the page shows the whole question. Apart: the
        // program's own part (until the statements are queued) and the page's, by its own clock
        // from just before the statements to the read. The first navigation also shows the question
        // view for the first time; it is told apart from the others.
        QList<double> navigation;
        QList<double> imProgramm;
        QList<double> aufDerSeite;
        for (int lauf = 0; lauf < 60; ++lauf) {
            QString marke;
            frage->rohAuswerten(QStringLiteral("qt.jQuery('.konferenzmodus').html('x').html()"),
                                [&](const QVariant &wert) { marke = wert.toString(); });
            wartenBis([&]() { return !marke.isEmpty(); });
            frage->roh(QStringLiteral("window.benchVorher = performance.now();"));
            QElapsedTimer messung;
            messung.start();
            fenster.goToFrage(1 + lauf % 9);
            imProgramm.append(messung.nsecsElapsed() / 1e6);
            QString danach = QStringLiteral("?");
            nachDemZug(*frage,
                       QStringLiteral(
                           "[qt.jQuery('.konferenzmodus').html(), performance.now() - window.benchVorher]"),
                       [&](const QVariant &wert) {
                           danach = wert.toList().value(0).toString();
                           navigation.append(messung.nsecsElapsed() / 1e6);
                           aufDerSeite.append(wert.toList().value(1).toDouble());
                       });
            wartenBis([&]() { return danach != QLatin1String("?"); });
            if (!danach.isEmpty())
                aus << "question " << 1 + lauf % 9 << " not shown\n";
        }
        const QList<double> weitere = navigation.mid(1);
        aus << "question page fully shown after a navigation, 60 navigations: median "
            << ms(median(navigation)) << ", p99 " << ms(anteil(navigation, 0.99))
            << "\n  the first, which shows the question view: " << ms(navigation.value(0)) << " (program "
            << ms(imProgramm.value(0)) << ", page " << ms(aufDerSeite.value(0)) << "); the other 59: median "
            << ms(median(weitere)) << ", p99 " << ms(anteil(weitere, 0.99)) << " (program: median "
            << ms(median(imProgramm.mid(1))) << "; page: median " << ms(median(aufDerSeite.mid(1)))
            << ", p99 " << ms(anteil(aufDerSeite.mid(1), 0.99)) << ")\n";

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
