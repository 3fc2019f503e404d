// The real link with QSerialPort against the receiver simulator's pseudo terminal: discovery by
// announcement, both families, a burst of presses into the engine, unplug and replug, a long run
// of torn frames and stray bytes while the window is busy, and a receiver plugged in among other
// serial ports.
#include "comport.h"
#include "core/randompresses.h"
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "qtseriellerport.h"
#include "schluessel.h"
#include "simulatorports.h"
#include "simulatorportsystem.h"
#include "spiel.h"
#include "testeinstellungen.h"
#include "verlorenerfunden.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <pty.h>
#include <unistd.h>

namespace {

using Ereignis = std::array<uint, 3>;

// The simulators' terminals and, before them, terminals that are serial ports of other devices:
// they take "#INFO$" and never answer.
class PortsMitAnderen final : public PortSystem
{
public:
    ~PortsMitAnderen() override
    {
        for (int fd : std::as_const(m_master))
            ::close(fd);
    }
    bool andereAnlegen(int anzahl)
    {
        for (int i = 0; i < anzahl; ++i) {
            int master = -1;
            int slave = -1;
            char name[256] = {};
            if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
                return false;
            ::close(slave);
            m_master.append(master);
            m_andere.append(QString::fromLocal8Bit(name));
        }
        return true;
    }
    QStringList portNamen() const override { return m_andere + SimulatorPorts::laufende(); }
    std::unique_ptr<SeriellerPort> neuerPort() override { return std::make_unique<QtSeriellerPort>(); }

private:
    QList<int> m_master;
    QStringList m_andere;
};

} // namespace

class TestSimulatorLink final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_laufzeit;
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    QList<QProcess *> m_simulatoren;

    // Starts a simulator and returns the path of its terminal.
    QString simulator(const QStringList &argumente)
    {
        QElapsedTimer start;
        start.start();
        auto *prozess = new QProcess(this);
        prozess->setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/plenaro-simulator"));
        prozess->setArguments(argumente + QStringList{QStringLiteral("--quiet")});
        prozess->start();
        m_simulatoren.append(prozess);
        if (!prozess->waitForStarted(5000))
            return {};
        QByteArray zeile;
        QElapsedTimer uhr;
        uhr.start();
        while (!zeile.endsWith('\n') && uhr.elapsed() < 10000) {
            prozess->waitForReadyRead(200);
            zeile += prozess->readAllStandardOutput();
        }
        m_eingestecktNach = start.elapsed();
        return zeile.startsWith("PTY ") ? QString::fromLocal8Bit(zeile.mid(4).trimmed()) : QString();
    }
    qint64 m_eingestecktNach = 0;

    static void sammeln(comPort &link, QList<Ereignis> &ziel)
    {
        QObject::connect(&link, &comPort::signalGereateIDAnzeigen, &link, [&ziel](uint k, uint b, uint t) {
            ziel.append({k, b, t});
        });
    }
    static void wartenBisNichts(int ms)
    {
        QElapsedTimer uhr;
        uhr.start();
        while (uhr.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    void beenden(QProcess *prozess)
    {
        prozess->terminate();
        prozess->waitForFinished(5000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_laufzeit.isValid());
        // Simulators started by the test announce themselves here, not to the user's session.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_laufzeit.path()));
        QVERIFY(QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/plenaro-simulator")));
    }
    void init()
    {
        m_einstellungen = std::make_unique<TestEinstellungen>();
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::TemplateAutomatischErkennen, QStringLiteral("true"));
    }
    void cleanup()
    {
        for (QProcess *prozess : std::as_const(m_simulatoren)) {
            beenden(prozess);
            delete prozess;
        }
        m_simulatoren.clear();
        m_einstellungen.reset();
    }

    void ankuendigungen()
    {
        const QString ordner = SimulatorPorts::ankuendigungsOrdner();
        QCOMPARE(ordner, m_laufzeit.path() + QStringLiteral("/plenaro-simulator"));
        const QString pfad = simulator({QStringLiteral("--family"), QStringLiteral("morvane")});
        QVERIFY(pfad.startsWith("/dev/pts/"));
        QTRY_COMPARE(SimulatorPorts::laufende(), QStringList{pfad});

        // A dead simulator's file and anything that is not a pseudo terminal are ignored.
        QVERIFY(QDir().mkpath(ordner));
        QFile tot(ordner + QStringLiteral("/999999999.pty"));
        QVERIFY(tot.open(QIODevice::WriteOnly));
        tot.write(QFile::encodeName(pfad) + '\n');
        tot.close();
        QFile fremd(ordner + QStringLiteral("/%1.pty").arg(::getpid()));
        QVERIFY(fremd.open(QIODevice::WriteOnly));
        fremd.write("/dev/null\n");
        fremd.close();
        QCOMPARE(SimulatorPorts::laufende(), QStringList{pfad});
        QFile::remove(tot.fileName());
        QFile::remove(fremd.fileName());

        // The announcement goes with the simulator.
        beenden(m_simulatoren.first());
        QVERIFY(SimulatorPorts::laufende().isEmpty());
    }

    void findenDrueckenAussteckenWiederfinden()
    {
        SimulatorPortSystem ports;
        DialogRekorder dialoge;
        spiel engine(Uhr::system(), dialoge);
        comPort link(ports, Uhr::system());
        QSignalSpy gefunden(&link, &comPort::serialport_eventEmpfaengerGefunden);
        QSignalSpy verloren(&link, &comPort::iconEmpfaengerVerbundenAusblenden);
        // As the main window does: open the found port for the presses.
        connect(&link, &comPort::serialport_eventEmpfaengerGefunden, &link, &comPort::connectSerial);
        connect(&link, &comPort::signalGereateIDAnzeigen, &engine, &spiel::antwortErfassen);

        const QString erster =
            simulator({QStringLiteral("--family"), QStringLiteral("morvane"), QStringLiteral("--burst"),
                       QStringLiteral("200"), QStringLiteral("--class-sets"), QStringLiteral("1,2"),
                       QStringLiteral("--start-delay"), QStringLiteral("600"),
                       QStringLiteral("--split-frames"), QStringLiteral("--junk-bits")});
        QVERIFY(!erster.isEmpty());
        link.verbindungStarten();
        QTRY_COMPARE_WITH_TIMEOUT(gefunden.count(), 1, 10000);
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), erster);
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate), QString("Morvane"));

        // 200 handsets in two class sets, frames torn in two and with junk in the high bits.
        QTRY_COMPARE_WITH_TIMEOUT(engine.getPersonen().size(), 200, 15000);
        int klassensatzZwei = 0;
        for (const Person &person : engine.getPersonen()) {
            QVERIFY(person.getBuzzerNo() >= 1 && person.getBuzzerNo() <= 100);
            klassensatzZwei += person.getKlassensatz() == 2 ? 1 : 0;
            const int knopf = person.getAntworten().at(0).getAntwort();
            QVERIFY(knopf >= 1 && knopf <= 4);
        }
        QCOMPARE(klassensatzZwei, 100);

        // Unplugged: noticed by the port-count watch.
        beenden(m_simulatoren.first());
        QTRY_VERIFY_WITH_TIMEOUT(verloren.count() >= 1, 10000);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));

        // Another receiver, of the other family: found and told apart.
        const QString zweiter = simulator({QStringLiteral("--family"), QStringLiteral("tandrivelle")});
        QVERIFY(!zweiter.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(gefunden.count(), 2, 15000);
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), zweiter);
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate), QString("Tandrivelle"));
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("true"));
        link.SerialPortSchliessen();
    }
    // 6,000 presses of 200 handsets, a quarter of the frames torn in two, junk in the unused bits,
    // now and then a stray byte, while the window stalls for 80 ms four times a second: every press
    // arrives once, in order, and nothing else.
    void dauerlauf()
    {
        constexpr int Anzahl = 6000;
        constexpr quint64 Saat = 4711;
        SimulatorPortSystem ports;
        comPort link(ports, Uhr::system());
        connect(&link, &comPort::serialport_eventEmpfaengerGefunden, &link, &comPort::connectSerial);
        QList<Ereignis> empfangen;
        sammeln(link, empfangen);
        QTimer beschaeftigt;
        int stockungen = 0;
        connect(&beschaeftigt, &QTimer::timeout, this, [&stockungen]() {
            QThread::msleep(80);
            ++stockungen;
        });
        beschaeftigt.start(250);

        const QString pfad = simulator({QStringLiteral("--family"),      QStringLiteral("morvane"),
                                        QStringLiteral("--random"),      QStringLiteral("--handsets"),
                                        QStringLiteral("200"),           QStringLiteral("--class-sets"),
                                        QStringLiteral("1,2"),           QStringLiteral("--count"),
                                        QString::number(Anzahl),         QStringLiteral("--rate"),
                                        QStringLiteral("600"),           QStringLiteral("--seed"),
                                        QString::number(Saat),           QStringLiteral("--split-frames"),
                                        QStringLiteral("--split-gap"),   QStringLiteral("1"),
                                        QStringLiteral("--split-share"), QStringLiteral("0.25"),
                                        QStringLiteral("--junk-bits"),   QStringLiteral("--stray-bytes"),
                                        QStringLiteral("0.005"),         QStringLiteral("--start-delay"),
                                        QStringLiteral("500"),           QStringLiteral("--linger"),
                                        QStringLiteral("5000")});
        QVERIFY(!pfad.isEmpty());
        link.verbindungStarten();
        QElapsedTimer dauer;
        dauer.start();
        QTRY_VERIFY_WITH_TIMEOUT(
            empfangen.size() >= Anzahl || m_simulatoren.first()->state() == QProcess::NotRunning, 60'000);
        wartenBisNichts(300);
        beschaeftigt.stop();

        // What the simulator played: the same audience from the same seed.
        simulator::RandomSettings einstellungen;
        einstellungen.handsets = 200;
        einstellungen.classSets = {1, 2};
        einstellungen.ratePerSecond = 600;
        simulator::RandomPresses publikum(einstellungen, Saat);
        QList<Ereignis> gesendet;
        for (int i = 0; i < Anzahl; ++i) {
            const simulator::Press p = publikum.next().press;
            gesendet.append({p.handset.classSet, p.handset.number, uint(p.button) + 1});
        }
        const auto [verloren, erfunden] = verlorenErfunden(gesendet, empfangen);
        qInfo("soak: %d presses sent, %d received, %d lost, %d phantom, %d stalls of 80 ms, %lld ms, %llu "
              "flood-dropped",
              int(gesendet.size()), int(empfangen.size()), verloren, erfunden, stockungen, dauer.elapsed(),
              link.gedrosselteDruecke());
        for (qsizetype i = 0; i < std::min(gesendet.size(), empfangen.size()); ++i) {
            if (gesendet.at(i) != empfangen.at(i)) {
                for (qsizetype j = std::max<qsizetype>(0, i - 3); j < i + 4 && j < empfangen.size(); ++j)
                    qInfo("%lld: sent %u %u %u got %u %u %u", j, gesendet.at(j)[0], gesendet.at(j)[1],
                          gesendet.at(j)[2], empfangen.at(j)[0], empfangen.at(j)[1], empfangen.at(j)[2]);
                break;
            }
        }
        QCOMPARE(verloren, 0);
        QCOMPARE(erfunden, 0);
        QCOMPARE(empfangen, gesendet);
        QVERIFY(stockungen > 10);
        link.SerialPortSchliessen();
    }

    // 20 times unplugged for 0.3 to 3 s (mostly short, once one second) and plugged in again,
    // with two other serial ports present: found again every time, and the presses sent after
    // it arrive.
    void aussteckenUndEinstecken()
    {
        const QList<int> ausgesteckt{300, 400, 300, 500, 350,  1000, 300, 450, 300, 3000,
                                     400, 300, 600, 300, 1500, 350,  300, 400, 300, 2000};
        PortsMitAnderen ports;
        QVERIFY(ports.andereAnlegen(2));
        comPort link(ports, Uhr::system());
        connect(&link, &comPort::serialport_eventEmpfaengerGefunden, &link, &comPort::connectSerial);
        QList<Ereignis> empfangen;
        sammeln(link, empfangen);
        QElapsedTimer seitEinstecken;
        QList<qint64> erkanntNach;
        connect(&link, &comPort::serialport_eventEmpfaengerGefunden, this,
                [&]() { erkanntNach.append(seitEinstecken.elapsed() - m_eingestecktNach); });
        link.verbindungStarten();

        QList<Ereignis> gesendet;
        QList<qint64> bemerktNach;
        for (int runde = 0; runde < ausgesteckt.size(); ++runde) {
            const uint geraet = uint(runde + 1);
            gesendet.append({1, geraet, 2});
            gesendet.append({1, geraet, 3});
            seitEinstecken.start();
            const QString pfad =
                simulator({QStringLiteral("--family"), QStringLiteral("morvane"), QStringLiteral("--press"),
                           QStringLiteral("%1,1,B").arg(geraet), QStringLiteral("--press"),
                           QStringLiteral("%1,1,C,20").arg(geraet), QStringLiteral("--start-delay"),
                           QStringLiteral("400")});
            QVERIFY(!pfad.isEmpty());
            QTRY_VERIFY_WITH_TIMEOUT(erkanntNach.size() == runde + 1, 10'000);
            QTRY_COMPARE_WITH_TIMEOUT(empfangen, gesendet, 5000);
            // The script is over: the simulator goes, which is the unplugging. The link hears of it
            // from the port at once, not from a watch.
            QVERIFY(m_simulatoren.last()->waitForFinished(5000));
            QElapsedTimer seitAusstecken;
            seitAusstecken.start();
            QTRY_COMPARE_WITH_TIMEOUT(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"),
                                      1000);
            bemerktNach.append(seitAusstecken.elapsed());
            wartenBisNichts(ausgesteckt.at(runde));
        }
        std::sort(erkanntNach.begin(), erkanntNach.end());
        std::sort(bemerktNach.begin(), bemerktNach.end());
        qInfo(
            "replug: %d cycles, unplugging noticed after median %lld ms, slowest %lld ms; found again after "
            "median %lld ms, slowest %lld ms",
            int(erkanntNach.size()), bemerktNach.at(bemerktNach.size() / 2), bemerktNach.last(),
            erkanntNach.at(erkanntNach.size() / 2), erkanntNach.last());
        link.SerialPortSchliessen();
    }

    // The teacher starts the program first and plugs the receiver in later, with other serial
    // ports on the machine.
    void einsteckenNachDemStart_data()
    {
        QTest::addColumn<int>("anderePorts");
        QTest::addColumn<int>("nach");
        QTest::newRow("2 other ports, after 1.1 s") << 2 << 1100;
        QTest::newRow("4 other ports, after 2.9 s") << 4 << 2900;
    }
    void einsteckenNachDemStart()
    {
        QFETCH(int, anderePorts);
        QFETCH(int, nach);
        PortsMitAnderen ports;
        QVERIFY(ports.andereAnlegen(anderePorts));
        comPort link(ports, Uhr::system());
        connect(&link, &comPort::serialport_eventEmpfaengerGefunden, &link, &comPort::connectSerial);
        QList<Ereignis> empfangen;
        sammeln(link, empfangen);
        link.verbindungStarten();
        wartenBisNichts(nach);
        QVERIFY(!simulator({QStringLiteral("--press"), QStringLiteral("5,3,D"),
                            QStringLiteral("--start-delay"), QStringLiteral("400")})
                     .isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(empfangen, (QList<Ereignis>{{3, 5, 4}}), 10'000);
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate), QString("Tandrivelle"));
        link.SerialPortSchliessen();
    }
};

QTEST_GUILESS_MAIN(TestSimulatorLink)
#include "tst_simulatorlink.moc"
