// The real link with QSerialPort against the receiver simulator's pseudo terminal: discovery by
// announcement, both families, a burst of presses into the engine, unplug and replug.
#include "comport.h"
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "qtseriellerport.h"
#include "schluessel.h"
#include "simulatorportsystem.h"
#include "simulatorports.h"
#include "spiel.h"
#include "testeinstellungen.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

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
        return zeile.startsWith("PTY ") ? QString::fromLocal8Bit(zeile.mid(4).trimmed()) : QString();
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
            QVERIFY(person.getBuzzerNo() >= 1 && person.getBuzzerNo() <= 200);
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
};

QTEST_GUILESS_MAIN(TestSimulatorLink)
#include "tst_simulatorlink.moc"
