// Prints how fast the receiver link decodes and filters frames, how fast it hands them to the
// engine, and how long a press takes from the receiver simulator to the engine.
//   build/bin/bench_empfaenger
#include "comport.h"
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "empfangsfilter.h"
#include "fakeports.h"
#include "qtseriellerport.h"
#include "rahmendecoder.h"
#include "schluessel.h"
#include "simulatorports.h"
#include "simulatorportsystem.h"
#include "spiel.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "webwarten.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false"));
    QTextStream aus(stdout);
    QTemporaryDir laufzeit;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(laufzeit.path()));
    TestEinstellungen einstellungen;
    DialogRekorder dialoge;

    {
        // The decoder and the filter alone, as the reading thread runs them: 200 handsets, torn
        // reads of 3 bytes.
        QByteArray strom;
        for (int i = 0; i < 200'000; ++i) {
            const char rahmen[4] = {0, char(1 + i % 2), char(1 + i % 200), char(i % 4)};
            strom.append(rahmen, 4);
        }
        RahmenDecoder decoder;
        EmpfangsFilter filter;
        filter.setzen(EmpfangsEinstellungen::lesen());
        QVector<Druck> druecke;
        qsizetype angenommen = 0;
        QElapsedTimer messung;
        messung.start();
        for (qsizetype i = 0; i < strom.size(); i += 3) {
            druecke.clear();
            const qint64 zeit = i / 400; // 100 frames per millisecond
            decoder.lesen(strom.constData() + i, std::min<qsizetype>(3, strom.size() - i), zeit, druecke);
            for (Druck &d : druecke)
                angenommen += filter.pruefen(d, zeit) == EmpfangsFilter::Urteil::Angenommen ? 1 : 0;
        }
        const double sekunden = messung.nsecsElapsed() / 1e9;
        aus << "decode and filter " << strom.size() / 4
            << " frames in reads of 3 bytes: " << QString::number(strom.size() / 4 / sekunden, 'f', 0)
            << " frames/s (" << angenommen << " within the flood limit)\n";
    }

    {
        FakePortSystem ports;
        ports.namen = {"ttyEMPF"};
        ports.geraete["ttyEMPF"] = {"#PLENARO$"};
        TestUhr uhr;
        comPort link(ports, uhr);
        spiel engine(uhr, dialoge);
        QObject::connect(&link, &comPort::signalGereateIDAnzeigen, &engine, &spiel::antwortErfassen);
        link.verbindungStarten();
        uhr.vorspulen(comPort::ProbeAbstand);
        link.connectSerial();
        engine.qountdownStarten();

        constexpr int Bloecke = 100;
        constexpr int RahmenJeBlock = 500;
        QByteArray block;
        for (int i = 0; i < RahmenJeBlock; ++i) {
            const uint geraet = 1 + uint(i) % 250;
            const char rahmen[4] = {0, char(1 + i / 250), char(geraet), char(i % 4)};
            block.append(rahmen, 4);
        }
        QElapsedTimer messung;
        messung.start();
        // 50 ms apart: each handset presses 20 times a second, just within the flood limit.
        for (int i = 0; i < Bloecke; ++i) {
            ports.letzterPort->liefern(block);
            uhr.vorspulen(50);
        }
        const double sekunden = messung.nsecsElapsed() / 1e9;
        aus << "decode and route " << Bloecke * RahmenJeBlock << " frames in blocks of " << RahmenJeBlock
            << ": " << QString::number(Bloecke * RahmenJeBlock / sekunden, 'f', 0) << " frames/s ("
            << engine.getPersonen().size() << " participants)\n";
    }

    {
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("false"));
        QProcess simulator;
        simulator.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/plenaro-simulator"));
        simulator.setArguments({QStringLiteral("--family"), QStringLiteral("morvane"),
                                QStringLiteral("--interactive"), QStringLiteral("--quiet")});
        simulator.start();
        if (!simulator.waitForStarted(5000)) {
            aus << "simulator not found next to this program\n";
            return 1;
        }
        wartenBis([&]() { return simulator.canReadLine(); }, 10000);
        SimulatorPortSystem ports;
        comPort link(ports, Uhr::system());
        spiel engine(Uhr::system(), dialoge);
        QObject::connect(&link, &comPort::serialport_eventEmpfaengerGefunden, &link, &comPort::connectSerial);
        QElapsedTimer uhr;
        qint64 angekommen = -1;
        QObject::connect(&link, &comPort::signalGereateIDAnzeigen, &engine,
                         [&](uint klassensatz, uint geraet, uint knopf) {
                             engine.antwortErfassen(klassensatz, geraet, knopf);
                             angekommen = uhr.nsecsElapsed();
                         });
        link.verbindungStarten();
        if (!wartenBis([&]() { return Einstellungen::ist(Schluessel::EmpfaengerVerbunden); })) {
            aus << "simulator not identified\n";
            return 1;
        }
        wartenBis([]() { return false; }, 300); // the port is reopened once found
        QList<double> zeiten;
        for (int i = 1; i <= 50; ++i) {
            angekommen = -1;
            uhr.start();
            simulator.write(QByteArray("b ") + QByteArray::number(i) + '\n');
            if (wartenBis([&]() { return angekommen >= 0; }, 2000))
                zeiten.append(angekommen / 1e6);
        }
        std::sort(zeiten.begin(), zeiten.end());
        if (zeiten.isEmpty()) {
            aus << "no press arrived\n";
        } else {
            aus << "press typed into the simulator to antwortErfassen, " << zeiten.size()
                << " presses: median " << QString::number(zeiten.at(zeiten.size() / 2), 'f', 2)
                << " ms, slowest " << QString::number(zeiten.last(), 'f', 2) << " ms\n";
        }
        simulator.write("quit\n");
        simulator.waitForFinished(3000);
    }
    return 0;
}
