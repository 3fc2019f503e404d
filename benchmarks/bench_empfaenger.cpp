// Prints how many presses the receiver link loses or invents when the stream is disturbed (stray
// bytes, a held-up reader, torn frames; the former rule beside the present one), the same through
// the simulator on a machine with every core busy, how fast the link decodes and filters frames,
// how fast it hands them to the engine, and how long a press takes from the simulator to the engine.
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
#include "verlorenerfunden.h"
#include "webwarten.h"

#include "core/randompresses.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// The former rule, kept as the yardstick: a pause of RahmenDecoder::Luecke between two reads starts
// a frame, and nothing else brings the stream back into step.
class NachZeit final
{
public:
    void lesen(const char *daten, qsizetype laenge, qint64 ankunftMs, QVector<Druck> &druecke)
    {
        if (!m_schonGelesen || ankunftMs - m_letzte >= RahmenDecoder::Luecke)
            m_rest.clear();
        m_schonGelesen = true;
        m_letzte = ankunftMs;
        m_rest.append(daten, laenge);
        qsizetype i = 0;
        for (; i + 4 <= m_rest.size(); i += 4)
            druecke.append(
                RahmenDecoder::entschluesseln(reinterpret_cast<const uchar *>(m_rest.constData() + i)));
        m_rest.remove(0, i);
    }
    void stille(QVector<Druck> &) {}

private:
    QByteArray m_rest;
    qint64 m_letzte = 0;
    bool m_schonGelesen = false;
};

// What a read hands the decoder; no bytes stand for the reader's silence timer.
struct Lieferung
{
    QByteArray bytes;
    qint64 zeit = 0;
};

// The line from the receiver to the reading thread: bytes leave at line speed with their send
// times; the reader wakes every millisecond and takes what has arrived, unless it is held up.
class Leitung final
{
public:
    static constexpr double ByteMs = 10.0 / 115.2; // 115200 baud, 10 bits a byte

    void rahmen(uint klassensatz, uint handsender, uint knopf, double rissMs = 0, int schnitt = 2)
    {
        const char r[4] = {char(klassensatz >> 8), char(klassensatz), char(handsender), char(knopf)};
        for (int i = 0; i < 4; ++i) {
            if (i == schnitt)
                m_zeit += rissMs;
            senden(r[i]);
        }
        gesendet.append(RahmenDecoder::entschluesseln(reinterpret_cast<const uchar *>(r)));
    }
    void senden(char byte)
    {
        m_bytes.append({m_zeit, byte});
        m_zeit += ByteMs;
    }
    void pause(double ms) { m_zeit += ms; }
    double zeit() const { return m_zeit; }
    // The reader is held up from `ab` for `ms`.
    void halten(double ab, double ms) { m_halte.append({ab, ab + ms}); }

    QList<Lieferung> lesen() const
    {
        QList<Lieferung> lieferungen;
        qsizetype naechstes = 0;
        double letzte = 0;
        bool stilleGemeldet = true;
        qsizetype h = 0;
        for (double w = 1; naechstes < m_bytes.size() || !stilleGemeldet; w += 1) {
            while (h < m_halte.size() && m_halte.at(h).second <= w)
                ++h;
            if (h < m_halte.size() && m_halte.at(h).first <= w)
                continue;
            Lieferung l{{}, qint64(w)};
            while (naechstes < m_bytes.size() && m_bytes.at(naechstes).first <= w)
                l.bytes.append(m_bytes.at(naechstes++).second);
            if (!l.bytes.isEmpty()) {
                lieferungen.append(l);
                letzte = w;
                stilleGemeldet = false;
            } else if (!stilleGemeldet && w - letzte >= RahmenDecoder::Luecke) {
                lieferungen.append(l);
                stilleGemeldet = true;
            }
        }
        return lieferungen;
    }
    QVector<Druck> gesendet;

private:
    QVector<QPair<double, char>> m_bytes;
    QList<QPair<double, double>> m_halte;
    double m_zeit = 0;
};

template<typename Decoder>
QVector<Druck> entschluesseln(const QList<Lieferung> &lieferungen)
{
    Decoder decoder;
    QVector<Druck> druecke;
    for (const Lieferung &l : lieferungen) {
        if (l.bytes.isEmpty())
            decoder.stille(druecke);
        else
            decoder.lesen(l.bytes.constData(), l.bytes.size(), l.zeit, druecke);
    }
    return druecke;
}

void fallDrucken(QTextStream &aus, const QString &name, const Leitung &leitung, int stoerungen)
{
    const QList<Lieferung> lieferungen = leitung.lesen();
    const auto vorher = verlorenErfunden(leitung.gesendet, entschluesseln<NachZeit>(lieferungen));
    const auto jetzt = verlorenErfunden(leitung.gesendet, entschluesseln<RahmenDecoder>(lieferungen));
    aus << QStringLiteral("  %1 %2 presses %3 | %4 lost %5 phantom | %6 lost %7 phantom\n")
               .arg(name, -44)
               .arg(leitung.gesendet.size(), 6)
               .arg(stoerungen, 4)
               .arg(vorher.first, 6)
               .arg(vorher.second, 6)
               .arg(jetzt.first, 6)
               .arg(jetzt.second, 6);
}

// A burst of a class: every handset once, back to back, junk in the unused bits of the button byte.
void salve(Leitung &leitung, QRandomGenerator &zufall, uint klassensatz, uint handsender,
           qsizetype streuNach = -1)
{
    for (uint h = 1; h <= handsender; ++h) {
        if (qsizetype(h) == streuNach)
            leitung.senden(char(0xff));
        leitung.rahmen(klassensatz, h, zufall.bounded(256));
    }
}

void rahmenFaelle(QTextStream &aus)
{
    QRandomGenerator zufall(2027);
    aus << "frames found in a disturbed stream (reader wakes every ms; former rule: a 100 ms pause "
           "re-aligns | by content)\n"
        << QStringLiteral("  %1 %2 %3\n")
               .arg(QString(), -44)
               .arg(QStringLiteral("sent"), 14)
               .arg(QStringLiteral("disturbances"));
    {
        Leitung l;
        for (int i = 0; i < 20; ++i) {
            l.pause(2000);
            l.senden(char(0xff));
            salve(l, zufall, 1, 45);
        }
        fallDrucken(aus, QStringLiteral("stray byte before each burst"), l, 20);
    }
    {
        Leitung l;
        for (int i = 0; i < 20; ++i) {
            l.pause(2000);
            salve(l, zufall, 1, 45, 2 + zufall.bounded(43));
        }
        fallDrucken(aus, QStringLiteral("stray byte inside each burst"), l, 20);
    }
    for (int halt : {100, 200, 500}) {
        // 1,500 presses with never a pause of 100 ms; the reader is held up 20 times, each time
        // while a frame is on its way.
        Leitung l;
        for (int i = 0; i < 1500; ++i) {
            l.pause(zufall.bounded(40));
            if (i % 75 == 37)
                l.halten(l.zeit() + 2 * Leitung::ByteMs, halt);
            l.rahmen(1 + uint(i % 2), 1 + uint(i / 2 % 100), zufall.bounded(256));
        }
        fallDrucken(aus, QStringLiteral("reader held up %1 ms, gapless stream").arg(halt), l, 20);
    }
    {
        Leitung l;
        for (int i = 0; i < 1000; ++i) {
            l.pause(zufall.bounded(40));
            l.rahmen(1, 1 + uint(i % 60), zufall.bounded(256), 5 + zufall.bounded(56), 1 + zufall.bounded(3));
        }
        fallDrucken(aus, QStringLiteral("every frame torn, 5-60 ms inside"), l, 1000);
    }
    for (const bool streu : {false, true}) {
        // A hall: eight class sets of 125 handsets interleaved, every handset once within two
        // seconds, none of them heard before; buttons in turn, so a stream read three bytes late
        // shows four "class sets" that come back more often than the real ones.
        Leitung l;
        for (int i = 0; i < 1000; ++i) {
            l.pause(2);
            if (streu && i % 100 == 50)
                l.senden(char(0xff));
            l.rahmen(1 + uint(i % 8), 1 + uint(i / 8), uint(i % 4));
        }
        fallDrucken(aus,
                    streu ? QStringLiteral("hall, 8 class sets, a stray byte every 100")
                          : QStringLiteral("hall, 8 class sets interleaved, unknown"),
                    l, streu ? 10 : 0);
    }
    {
        // The soak: 6,000 presses of 200 handsets in two class sets, a quarter of the frames torn,
        // junk in the unused bits, and the reader held up 80-500 ms once a second.
        Leitung l;
        for (int i = 0; i < 6000; ++i) {
            l.pause(zufall.bounded(10));
            if (i % 300 == 150)
                l.halten(l.zeit() + Leitung::ByteMs, 80 + zufall.bounded(421));
            const bool riss = zufall.bounded(4) == 0;
            l.rahmen(1 + uint(i % 2), 1 + uint(zufall.bounded(100)), zufall.bounded(256), riss ? 1 : 0,
                     1 + zufall.bounded(3));
        }
        fallDrucken(aus, QStringLiteral("soak: 200 handsets, torn frames, held up"), l, 20);
    }
}

// The reading thread of the real link held up from outside: the port object lives there.
class HaltbarePorts final : public PortSystem
{
public:
    QStringList portNamen() const override { return SimulatorPorts::laufende(); }
    std::unique_ptr<SeriellerPort> neuerPort() override
    {
        auto port = std::make_unique<QtSeriellerPort>();
        m_port = port.get();
        return port;
    }
    void halten(int ms)
    {
        QMetaObject::invokeMethod(
            m_port, [ms]() { QThread::msleep(ulong(ms)); }, Qt::QueuedConnection);
    }

private:
    SeriellerPort *m_port = nullptr;
};

// The simulator streams presses with stray bytes while every core is busy and the reading thread
// is held up 100, 200 or 500 ms once a second.
void unterLast(QTextStream &aus)
{
    constexpr int Anzahl = 6000;
    constexpr quint64 Saat = 99;
    std::atomic<bool> laufen{true};
    std::vector<std::thread> last;
    for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
        last.emplace_back([&laufen]() {
            volatile quint64 x = 0;
            while (laufen.load(std::memory_order_relaxed))
                x = x + 1;
        });
    HaltbarePorts ports;
    comPort link(ports, Uhr::system());
    QObject::connect(&link, &comPort::serialport_eventEmpfaengerGefunden, &link, &comPort::connectSerial);
    QVector<QVector<uint>> empfangen;
    QObject::connect(&link, &comPort::signalGereateIDAnzeigen, &link, [&empfangen](uint k, uint b, uint t) {
        empfangen.append({k, b, t});
    });
    QProcess simulator;
    simulator.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/plenaro-simulator"));
    simulator.setArguments({"--family",
                            "morvane",
                            "--random",
                            "--handsets",
                            "200",
                            "--class-sets",
                            "1,2",
                            "--count",
                            QString::number(Anzahl),
                            "--rate",
                            "300",
                            "--seed",
                            QString::number(Saat),
                            "--split-frames",
                            "--split-gap",
                            "1",
                            "--split-share",
                            "0.25",
                            "--junk-bits",
                            "--stray-bytes",
                            "0.01",
                            "--start-delay",
                            "500",
                            "--linger",
                            "5000",
                            "--quiet"});
    simulator.start();
    if (!simulator.waitForStarted(5000) || !wartenBis([&]() { return simulator.canReadLine(); }, 10000)) {
        aus << "  simulator not found next to this program\n";
    } else {
        link.verbindungStarten();
        QTimer halter;
        int runde = 0;
        QObject::connect(&halter, &QTimer::timeout, [&]() {
            ports.halten(QList<int>{100, 200, 500}.at(runde++ % 3));
        });
        halter.start(1000);
        QElapsedTimer dauer;
        dauer.start();
        wartenBis([&]() { return empfangen.size() >= Anzahl || simulator.state() == QProcess::NotRunning; },
                  120000);
        wartenBis([]() { return false; }, 1000);
        halter.stop();
        simulator::RandomSettings einstellungen;
        einstellungen.handsets = 200;
        einstellungen.classSets = {1, 2};
        einstellungen.ratePerSecond = 300;
        simulator::RandomPresses publikum(einstellungen, Saat);
        QVector<QVector<uint>> gesendet;
        for (int i = 0; i < Anzahl; ++i) {
            const simulator::Press p = publikum.next().press;
            gesendet.append({p.handset.classSet, p.handset.number, uint(p.button) + 1});
        }
        const auto ergebnis = verlorenErfunden(gesendet, empfangen);
        aus << QStringLiteral(
                   "through the simulator, every core busy, reader held up %1 times (100/200/500 ms), "
                   "1 press in 100 followed by a stray byte: %2 sent, %3 received, %4 lost, %5 phantom "
                   "(%6 s)\n")
                   .arg(runde)
                   .arg(Anzahl)
                   .arg(empfangen.size())
                   .arg(ergebnis.first)
                   .arg(ergebnis.second)
                   .arg(dauer.elapsed() / 1000.0, 0, 'f', 1);
        link.SerialPortSchliessen();
    }
    simulator.terminate();
    simulator.waitForFinished(3000);
    laufen = false;
    for (std::thread &t : last)
        t.join();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false"));
    QTextStream aus(stdout);
    QTemporaryDir laufzeit;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(laufzeit.path()));
    TestEinstellungen einstellungen;
    DialogRekorder dialoge;

    rahmenFaelle(aus);
    aus.flush();
    Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("false"));
    unterLast(aus);
    aus.flush();

    {
        // The decoder and the filter alone, as the reading thread runs them: 200 handsets, torn
        // reads of 3 bytes.
        QByteArray strom;
        for (int i = 0; i < 200'000; ++i) {
            const char rahmen[4] = {0, char(1 + i % 2), char(1 + i / 2 % 100), char(i % 4)};
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
            const uint geraet = 1 + uint(i) % 125;
            const char rahmen[4] = {0, char(1 + i / 125), char(geraet), char(i % 4)};
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
