// Prints how quickly the pages follow the game: refilling the ranking with 1,000 participants, the
// way of a press from the main window's press handler into the question page at the pace of a
// class (20 presses a second), a question page after a navigation, the start of the program until
// its start screen is drawn, against a bare web view showing one line started the same way, and a
// hall: 1,000 handsets of eight class sets and 200 phones pressing within two seconds of a
// question's start, through the receiver simulator's serial line and the phones' server.
//   QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen build/bin/bench_anzeige
//   [--halle|--start|--navigation] [--gegen FOLDER]
// --halle measures the hall alone, --start the start alone, --navigation the navigation alone (quick
// to repeat when comparing two builds). --gegen starts the program and this benchmark found in
// FOLDER (a copy of an earlier build's bin folder) in turn with these, so that two builds' starts
// are compared under the same load.
//
// Each figure runs until the page holds the result: the program sends its statements as it does
// in a game, and a read sent after the end of that turn of the event loop comes back once the page
// has run them.
#include "comport.h"
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "erstesbild.h"
#include "fakeports.h"
#include "handyabstimmung.h"
#include "mainwindow.h"
#include "messhilfen.h"
#include "rangliste.h"
#include "schluessel.h"
#include "simulatorportsystem.h"
#include "spiel.h"
#include "telefone.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "uhr.h"
#include "webbruecke.h"
#include "webwarten.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Messhilfen::anteil;
using Messhilfen::median;

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

// A hall: eight class sets of 125 handsets, each pressing once through the receiver simulator, and
// 200 phones, each pressing once through the phones' server, all within two seconds of the
// question's start. A press counts as shown when the page's vote count has reached it.
void halle(QTextStream &aus, const QString &ordner)
{
    constexpr int Klassensaetze = 8;
    constexpr int JeKlassensatz = 125; // handsets 1-127 in a class set
    constexpr int Handsender = Klassensaetze * JeKlassensatz;
    constexpr int Handys = 200;
    constexpr int Alle = Handsender + Handys;
    constexpr qint64 SalveNs = 2'000'000'000;

    const QString fragen = ordner + QStringLiteral("/halle.xml");
    QFile xml(fragen);
    if (!xml.open(QIODevice::WriteOnly))
        return;
    xml.write(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ArrayOfQuestion><Question>"
        "<QuestionText>Eine Frage an den Saal</QuestionText><Answer1>A</Answer1><Answer2>B</Answer2>"
        "<Answer3>C</Answer3><Answer4>D</Answer4><AnswerDelay>0</AnswerDelay>"
        "<Solution>Answer2</Solution><Time>600</Time><Points>1</Points></Question></ArrayOfQuestion>\n");
    xml.close();
    Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
    Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("true"));
    Einstellungen::setzen(Schluessel::HandyPort, QStringLiteral("0"));

    // The simulator reads its presses from a pipe that a thread of this benchmark writes at the
    // hall's pace, so a busy window thread does not hold the handsets back. Like the phones, the
    // simulator and that thread give way to the program.
    // The simulator announces its line where the program looks for it.
    const QString laufzeit = ordner + QStringLiteral("/laufzeit");
    QDir().mkpath(laufzeit);
    QFile::setPermissions(laufzeit, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(laufzeit));
    const QString rohr = ordner + QStringLiteral("/presses");
    if (::mkfifo(QFile::encodeName(rohr).constData(), 0600) != 0) {
        aus << "hall: no pipe for the simulator\n";
        return;
    }
    QMutex sperre;
    QHash<quint32, qint64> gesendetUm; // class set << 16 | handset -> send time
    QElapsedTimer uhr;
    uhr.start();
    std::atomic<bool> salveLos{false};
    std::atomic<qint64> salveGesendetNach{0};
    std::thread schreiber([&]() {
        ::setpriority(PRIO_PROCESS, id_t(::gettid()), bench::Telefone::Nice);
        const int fd = ::open(QFile::encodeName(rohr).constData(), O_WRONLY);
        if (fd < 0)
            return;
        while (!salveLos)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        QElapsedTimer lauf;
        lauf.start();
        for (int i = 0; i < Handsender;) {
            const qint64 faellig = std::min<qint64>(Handsender, lauf.nsecsElapsed() * Handsender / SalveNs);
            for (; i < faellig; ++i) {
                const uint klassensatz = 1 + uint(i % Klassensaetze);
                const uint nummer = 1 + uint(i / Klassensaetze);
                const QByteArray zeile = QByteArray(1, char('a' + i % 4)) + ' ' + QByteArray::number(nummer) +
                                         ' ' + QByteArray::number(klassensatz) + '\n';
                {
                    const QMutexLocker sperren(&sperre);
                    gesendetUm.insert(klassensatz << 16 | nummer, uhr.nsecsElapsed());
                }
                if (::write(fd, zeile.constData(), std::size_t(zeile.size())) != zeile.size())
                    break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        salveGesendetNach = lauf.nsecsElapsed();
        ::close(fd);
    });
    QProcess simulator;
    simulator.setStandardInputFile(rohr);
    simulator.setStandardErrorFile(QProcess::nullDevice());
    simulator.start(QStringLiteral("nice"),
                    {QStringLiteral("-n"), QString::number(bench::Telefone::Nice),
                     QCoreApplication::applicationDirPath() + QStringLiteral("/plenaro-simulator"),
                     QStringLiteral("--family"), QStringLiteral("morvane"), QStringLiteral("--interactive"),
                     QStringLiteral("--quiet")});
    const auto aufraeumen = [&]() {
        salveLos = true;
        simulator.terminate();
        simulator.waitForFinished(3000);
        if (schreiber.joinable()) {
            // A writer still waiting for its reader is let go by opening the pipe's other end.
            const int fd = ::open(QFile::encodeName(rohr).constData(), O_RDONLY | O_NONBLOCK);
            schreiber.join();
            if (fd >= 0)
                ::close(fd);
        }
    };
    if (!simulator.waitForStarted(5000) || !wartenBis([&]() { return simulator.canReadLine(); }, 10000)) {
        aus << "hall: simulator not found next to this program\n";
        aufraeumen();
        return;
    }

    Messhilfen::StillerKlang klang;
    DialogRekorder dialoge;
    SimulatorPortSystem ports;
    MainWindow fenster(Umgebung{&Uhr::system(), &dialoge, &klang, nullptr, &ports, ordner});
    fenster.resize(1920, 1080);
    fenster.show();
    const bool bereit =
        wartenBis([&]() { return fenster.istEingerichtet(); }, 60000) &&
        wartenBis([&]() { return Einstellungen::ist(Schluessel::EmpfaengerVerbunden); }, 60000) &&
        wartenBis([&]() { return fenster.handys()->laeuft(); }, 60000);
    auto *frage = dynamic_cast<WebBruecke *>(fenster.frageBruecke());
    if (!bereit || !frage) {
        aus << "hall: receiver or phones' server not ready\n";
        aufraeumen();
        return;
    }
    // Set once the window has written the settings of its first start.
    Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("true"));
    fenster.frageDateiOeffnen(fragen);
    // Every phone here comes from the loopback address.
    fenster.handys()->nummernJeAdresseSetzen(Handys);
    bench::Sendezeiten telefonZeiten;
    bench::Telefone telefone(telefonZeiten, uhr, Handys, 1, SalveNs);
    telefone.oeffnen(fenster.handys()->port(), fenster.handys()->code(), true);
    if (!wartenBis([&]() { return telefone.beigetreten() == Handys; }, 60000)) {
        aus << "hall: only " << telefone.beigetreten() << " phones joined\n";
        aufraeumen();
        return;
    }
    // The question is shown, and while the answer delay runs the page settles; then the countdown
    // starts and the hall presses. (Presses that come while the page still draws the question wait
    // for that drawing, a few hundred milliseconds on a busy machine.)
    fenster.goToFrage(1);
    QElapsedTimer zeichnen;
    zeichnen.start();
    const auto ruhig = [&]() {
        return wertLesen([&](std::function<void(const QVariant &)> antwort) {
                   frage->rohAuswerten(QStringLiteral("window.benchRuhig === true && Einpassen.fertig()"),
                                       antwort);
               })
            .toBool();
    };
    frage->roh(QStringLiteral("window.benchRuhig = false; requestAnimationFrame(function () { "
                              "requestAnimationFrame(function () { window.benchRuhig = true; }); });"));
    wartenBis(ruhig, 30000);
    const double gezeichnetNach = zeichnen.nsecsElapsed() / 1e6;
    fenster.on_actionN_chste_Frage_triggered(); // the answer delay is over: the countdown runs
    wartenBis([&]() { return fenster.getSpiel().istCountdownAktiv(); }, 10000);

    // Presses as they reach the window, after its own handler, with their send times; the page's
    // vote count tells how many of them it shows.
    struct Ankunft
    {
        qint64 gesendet = -1;
        qint64 angekommen = 0;
        bool handy = false;
    };
    QList<Ankunft> angekommen;
    int unbekannt = 0;
    const auto ankunft = [&](qint64 gesendet, bool handy) {
        if (gesendet < 0)
            ++unbekannt;
        angekommen.append({gesendet, uhr.nsecsElapsed(), handy});
    };
    QObject::connect(fenster.getComPort(), &comPort::signalGereateIDAnzeigen, &fenster,
                     [&](uint klassensatz, uint nummer, uint) {
                         const QMutexLocker sperren(&sperre);
                         ankunft(gesendetUm.value(klassensatz << 16 | nummer, -1), false);
                     });
    QObject::connect(fenster.handys(), &HandyAbstimmung::druck, &fenster,
                     [&](uint, uint nummer, uint) { ankunft(telefonZeiten.nehmen(nummer), true); });
    QList<double> bisGezeigt;
    QList<double> bisZumFenster[2]; // handsets, phones
    QList<double> imFenster;
    int gezeigt = 0;
    bool lesend = false;
    std::function<void()> lesen = [&]() {
        if (lesend || gezeigt >= angekommen.size())
            return;
        lesend = true;
        nachDemZug(*frage, QStringLiteral("qt.jQuery('.konferenzmodus').text()"), [&](const QVariant &wert) {
            lesend = false;
            const qint64 jetzt = uhr.nsecsElapsed();
            const int stimmen =
                std::min<int>(wert.toString().section(QLatin1Char(' '), 1).toInt(), angekommen.size());
            for (; gezeigt < stimmen; ++gezeigt) {
                const Ankunft &a = angekommen.at(gezeigt);
                imFenster.append((jetzt - a.angekommen) / 1e6);
                if (a.gesendet < 0)
                    continue;
                bisGezeigt.append((jetzt - a.gesendet) / 1e6);
                bisZumFenster[a.handy ? 1 : 0].append((a.angekommen - a.gesendet) / 1e6);
            }
            lesen();
        });
    };
    // The window thread's longest stall: the largest gap between ticks of a 1 ms timer.
    QTimer puls;
    puls.setTimerType(Qt::PreciseTimer);
    qint64 letzterPuls = -1;
    qint64 laengsterStau = 0;
    QObject::connect(&puls, &QTimer::timeout, &fenster, [&]() {
        const qint64 jetzt = uhr.nsecsElapsed();
        if (letzterPuls >= 0)
            laengsterStau = std::max(laengsterStau, jetzt - letzterPuls);
        letzterPuls = jetzt;
        lesen();
    });
    puls.start(1);

    QElapsedTimer dauer;
    dauer.start();
    salveLos = true;
    telefone.druecken();
    wartenBis([&]() { return gezeigt >= Alle; }, 60000);
    const double sekunden = dauer.nsecsElapsed() / 1e9;
    wartenBis([&]() { return salveGesendetNach > 0; }, 10000);
    puls.stop();
    int imSpiel = 0;
    for (const Person &p : fenster.getSpiel().getPersonen())
        imSpiel += p.findeAntwort(1) ? 1 : 0;
    aus << "hall, " << Handsender << " handsets in " << Klassensaetze << " class sets and " << Handys
        << " phones pressing within 2 s (handsets sent in "
        << QString::number(salveGesendetNach / 1e9, 'f', 2) << " s, phones in "
        << QString::number(telefone.druckDauer(), 'f', 2) << " s): " << angekommen.size()
        << " reached the window, " << gezeigt << " shown on the page, " << Alle - imSpiel << " lost, "
        << unbekannt << " unknown, after " << QString::number(sekunden, 'f', 1) << " s"
        << "\n  press to question page: median " << ms(median(bisGezeigt)) << ", p99 "
        << ms(anteil(bisGezeigt, 0.99)) << ", slowest "
        << ms(bisGezeigt.isEmpty() ? 0 : *std::max_element(bisGezeigt.begin(), bisGezeigt.end()))
        << "; longest stall of the window's thread " << ms(laengsterStau / 1e6)
        << "\n  of which until the window has the press: handsets (through the simulator) p99 "
        << ms(anteil(bisZumFenster[0], 0.99)) << ", phones p99 " << ms(anteil(bisZumFenster[1], 0.99))
        << "; from the window to the page p99 " << ms(anteil(imFenster, 0.99))
        << "\n  the question page was drawn and fitted " << ms(gezeichnetNach)
        << " after the question was asked for, before the countdown\n";
    aus.flush();
    dialoge.antwortJa = true;
    aufraeumen();
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
    const QStringList argumente = QCoreApplication::arguments();
    if (argumente.contains(QStringLiteral("--halle"))) {
        TestEinstellungen einstellungen;
        halle(aus, einstellungen.ordner());
        return 0;
    }
    const bool nurStart = argumente.contains(QStringLiteral("--start"));
    const bool nurNavigation = argumente.contains(QStringLiteral("--navigation"));

    if (!nurNavigation) {
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
        const qsizetype gegenStelle = argumente.indexOf(QStringLiteral("--gegen"));
        const QString gegen = gegenStelle > 0 ? argumente.value(gegenStelle + 1) : QString();
        QList<double> gegenPlenaro;
        QList<double> gegenStartseite;
        // Starts vary by a fifth from one to the next on a shared machine: the medians of thirty-one
        // each, taken in turn, keep the ratio steady.
        for (int lauf = 0; lauf < 32; ++lauf) {
            const double p = startMessen(programm, {}, umgebung);
            const double n = startMessen(selbst, {QStringLiteral("--nackt")}, umgebung);
            const double s = startMessen(selbst, {QStringLiteral("--nackt")}, mitStartseite);
            double gp = 0;
            double gs = 0;
            if (!gegen.isEmpty()) {
                gp = startMessen(gegen + QStringLiteral("/plenaro"), {}, umgebung);
                gs = startMessen(gegen + QStringLiteral("/bench_anzeige"), {QStringLiteral("--nackt")},
                                 mitStartseite);
            }
            if (lauf == 0)
                continue; // the first start of each fills the disk cache
            if (p < 0 || n < 0 || s < 0 || gp < 0 || gs < 0) {
                aus << "a start did not report its first frame\n";
                continue;
            }
            plenaro.append(p);
            nackt.append(n);
            startseite.append(s);
            gegenPlenaro.append(gp);
            gegenStartseite.append(gs);
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
        if (!gegen.isEmpty() && median(nackt) > 0) {
            QList<double> gegenPaare;
            for (qsizetype i = 0; i < gegenPlenaro.size(); ++i)
                gegenPaare.append(gegenPlenaro.at(i) / nackt.at(i));
            aus << "  the build in " << gegen << ", started in turn with these: median "
                << ms(median(gegenPlenaro)) << ", ratio "
                << QString::number(median(gegenPlenaro) / median(nackt), 'f', 2) << " (median of the ratios "
                << QString::number(median(gegenPaare), 'f', 2) << "); its start screen's page alone: median "
                << ms(median(gegenStartseite)) << "\n";
        }
        aus.flush();
    }
    if (nurStart)
        return 0;

    TestEinstellungen einstellungen;

    if (!nurNavigation) {
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
        Messhilfen::StillerKlang klang;
        FakePortSystem ports;
        MainWindow fenster(Umgebung{&uhr, &dialoge, &klang, nullptr, &ports, einstellungen.ordner()});
        fenster.resize(1920, 1080);
        fenster.show();
        wartenBis([&]() { return fenster.istEingerichtet(); });
        wartenBis([&]() {
            return fenster.frageAnsicht()->url().toString().endsWith(QLatin1String("morvane.html"));
        });
        auto *frage = dynamic_cast<WebBruecke *>(fenster.frageBruecke());
        if (!frage) {
            aus << "no question view\n";
            return 1;
        }
        // Once the page has its jQuery, the hand-driven clock keeps pace with the real one for a
        // while, as the window's timers would: what the window does a moment after a page has
        // loaded is done by then, however long the load took on a busy machine.
        wartenBis(
            [&]() {
                return wertLesen([&](std::function<void(const QVariant &)> antwort) {
                           frage->rohAuswerten(QStringLiteral("typeof qt === 'object'"), antwort);
                       })
                    .toBool();
            },
            60000);
        QElapsedTimer pause;
        pause.start();
        wartenBis([&]() {
            uhr.vorspulen(pause.elapsed() - uhr.jetzt());
            return pause.elapsed() > 1500;
        });

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
        aus.flush();
        if (nurNavigation) {
            dialoge.antwortJa = true;
            return 0;
        }

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
    halle(aus, einstellungen.ordner());
    return 0;
}
