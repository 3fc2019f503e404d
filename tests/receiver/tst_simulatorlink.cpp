// The real link with QSerialPort against the receiver simulator's pseudo terminal.
#include "comport.h"
#include "core/randompresses.h"
#include "einstellungen.h"
#include "qtseriellerport.h"
#include "schluessel.h"
#include "simulatorports.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "uhr.h"
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
    QList<QProcess *> m_simulatoren;

    // Starts a simulator and returns the path of its terminal.
    QString simulator(const QString &argumente)
    {
        auto *prozess = new QProcess(this);
        m_simulatoren.append(prozess);
        prozess->start(QCoreApplication::applicationDirPath() + "/plenaro-simulator",
                       argumente.split(' ') + QStringList{"--quiet"});
        QByteArray zeile;
        const auto gemeldet = [&]() {
            return (zeile += prozess->readAllStandardOutput()).endsWith('\n');
        };
        return QTest::qWaitFor(gemeldet, 10000) && zeile.startsWith("PTY ")
                   ? QString::fromLocal8Bit(zeile.mid(4).trimmed())
                   : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_laufzeit.isValid());
        // Simulators started by the test announce themselves here, not to the user's session.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_laufzeit.path()));
        QVERIFY(QFile::exists(QCoreApplication::applicationDirPath() + "/plenaro-simulator"));
    }
    void cleanup()
    {
        for (QProcess *prozess : std::as_const(m_simulatoren)) {
            prozess->terminate();
            prozess->waitForFinished(5000);
        }
        qDeleteAll(std::exchange(m_simulatoren, {}));
    }

    // Among two other serial ports, the first time after the program started: 6,000 presses of 200
    // handsets, a quarter of the frames torn in two, junk in the unused bits, now and then a stray
    // byte, while the window stalls for 80 ms four times a second: every press arrives once, in
    // order, and nothing else. The simulator's end is the unplugging, which the link hears of from
    // the port at once, not from a watch; a receiver of the other family plugged in then is found
    // again and told apart, and its presses arrive. A simulator is known by its announcement alone.
    void dauerlaufUndWiederfinden()
    {
        constexpr int Anzahl = 6000;
        constexpr quint64 Saat = 4711;
        TestEinstellungen testeinstellungen;
        Einstellungen::setzen({{Schluessel::EmpfaengerAutomatischFinden, "true"},
                               {Schluessel::TemplateAutomatischErkennen, "true"}});
        PortsMitAnderen ports;
        QVERIFY(ports.andereAnlegen(2));
        comPort link(ports, Uhr::system());
        connect(&link, &comPort::serialport_eventEmpfaengerGefunden, &link, &comPort::connectSerial);
        QList<Ereignis> empfangen;
        connect(&link, &comPort::signalGereateIDAnzeigen, this, [&empfangen](uint k, uint b, uint t) {
            empfangen.append({k, b, t});
        });
        QTimer beschaeftigt;
        int stockungen = 0;
        connect(&beschaeftigt, &QTimer::timeout, this, [&stockungen]() {
            QThread::msleep(80);
            ++stockungen;
        });
        beschaeftigt.start(250);

        const QString pfad =
            simulator(QString("--family morvane --random --handsets 200 --class-sets 1,2 --count %1 "
                              "--rate 600 --seed %2 --split-frames --split-gap 1 --split-share 0.25 "
                              "--junk-bits --stray-bytes 0.005 --start-delay 500 --linger 5000")
                          .arg(Anzahl)
                          .arg(Saat));
        QVERIFY(pfad.startsWith("/dev/pts/"));
        // A dead simulator's announcement and one that is no pseudo terminal are ignored.
        const QString ordner = SimulatorPorts::ankuendigungsOrdner();
        QCOMPARE(ordner, m_laufzeit.path() + "/plenaro-simulator");
        QVERIFY(Testdaten::schreiben(ordner + "/999999999.pty", QFile::encodeName(pfad) + '\n'));
        QVERIFY(Testdaten::schreiben(ordner + QString("/%1.pty").arg(::getpid()), "/dev/null\n"));
        QTRY_COMPARE(SimulatorPorts::laufende(), QStringList{pfad});
        link.verbindungStarten();
        // Everything sent is read once the link hears the simulator go, whose announcement goes
        // with it.
        QTRY_VERIFY_WITH_TIMEOUT(m_simulatoren.first()->state() == QProcess::NotRunning, 60'000);
        QVERIFY(SimulatorPorts::laufende().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"),
                                  10'000);
        beschaeftigt.stop();
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate), QString("Morvane"));

        // What the simulator played: the same audience from the same seed.
        simulator::RandomSettings zufall;
        zufall.handsets = 200;
        zufall.classSets = {1, 2};
        zufall.ratePerSecond = 600;
        simulator::RandomPresses publikum(zufall, Saat);
        QList<Ereignis> gesendet;
        for (int i = 0; i < Anzahl; ++i) {
            const simulator::Press p = publikum.next().press;
            gesendet.append({p.handset.classSet, p.handset.number, uint(p.button) + 1});
        }
        const auto [verloren, erfunden] = verlorenErfunden(gesendet, empfangen);
        QVERIFY2(empfangen == gesendet,
                 qPrintable(QString("%1 lost, %2 phantom").arg(verloren).arg(erfunden)));
        QVERIFY(stockungen > 10);

        empfangen.clear();
        const QString zweiter =
            simulator("--family tandrivelle --press 7,1,B --press 7,1,C,20 --start-delay 400");
        QVERIFY(!zweiter.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(empfangen, (QList<Ereignis>{{1, 7, 2}, {1, 7, 3}}), 10'000);
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), zweiter);
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate), QString("Tandrivelle"));
        link.SerialPortSchliessen();
    }
};

QTEST_GUILESS_MAIN(TestSimulatorLink)
#include "tst_simulatorlink.moc"
