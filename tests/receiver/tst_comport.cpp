#include "comport.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "schluessel.h"
#include "testeinstellungen.h"
#include "testuhr.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

using Ereignis = QList<uint>;

QByteArray rahmen(uint klassensatz, uint geraet, uint knopfByte)
{
    const char bytes[4] = {char(klassensatz >> 8), char(klassensatz & 0xff), char(geraet), char(knopfByte)};
    return QByteArray(bytes, 4);
}

QList<Ereignis> druecke(const QSignalSpy &spy)
{
    QList<Ereignis> liste;
    for (const QList<QVariant> &s : spy)
        liste.append({s.at(0).toUInt(), s.at(1).toUInt(), s.at(2).toUInt()});
    return liste;
}

} // namespace

class TestComPort final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    std::unique_ptr<TestUhr> m_uhr;
    std::unique_ptr<FakePortSystem> m_ports;
    std::unique_ptr<comPort> m_link;

    void link() { m_link = std::make_unique<comPort>(*m_ports, *m_uhr); }
    FakePort &port() { return *m_ports->letzterPort; }
    // A link identified on port "ttyEMPF" and opened for the press stream.
    void verbunden()
    {
        m_ports->namen = {"ttyEMPF"};
        m_ports->geraete["ttyEMPF"] = {"#PLENARO_TANDRIVELLE$"};
        link();
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("true"));
        m_link->connectSerial();
    }

private slots:
    void init()
    {
        m_einstellungen = std::make_unique<TestEinstellungen>();
        m_uhr = std::make_unique<TestUhr>();
        m_ports = std::make_unique<FakePortSystem>();
    }
    void cleanup()
    {
        m_link.reset();
        m_ports.reset();
        m_uhr.reset();
        m_einstellungen.reset();
    }

    void fabrik()
    {
        comTypFabrik fabrik(*m_ports, *m_uhr);
        QCOMPARE(fabrik.erzeugeComTyp("usb"), nullptr);
        comTyp *erster = fabrik.erzeugeComTyp("rs-232");
        QVERIFY(dynamic_cast<comPort *>(erster));
        QCOMPARE(fabrik.erzeugeComTyp("RS-232"), erster);
    }

    void rahmenEntschluesseln_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Ereignis>("druck");
        QTest::newRow("class set 1, handset 5, A") << rahmen(1, 5, 0) << Ereignis{1, 5, 1};
        QTest::newRow("big-endian class set 258") << rahmen(258, 7, 3) << Ereignis{258, 7, 4};
        QTest::newRow("0x07 is D") << rahmen(1, 5, 0x07) << Ereignis{1, 5, 4};
        QTest::newRow("0x04 is A") << rahmen(1, 5, 0x04) << Ereignis{1, 5, 1};
        QTest::newRow("handset 127, class set 0") << rahmen(0, 127, 0xfe) << Ereignis{0, 127, 3};
    }
    void rahmenEntschluesseln()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Ereignis, druck);
        verbunden();
        QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
        QSignalSpy protokoll(m_link.get(), &comPort::signalOptionWindowProtokollAktualisieren);
        port().liefern(bytes);
        QCOMPARE(druecke(geraete), QList<Ereignis>{druck});
        QCOMPARE(druecke(protokoll), QList<Ereignis>{druck});
    }

    void bloeckeUndGeteilteRahmen()
    {
        verbunden();
        QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
        port().liefern(rahmen(1, 1, 0) + rahmen(1, 2, 1));
        QCOMPARE(druecke(geraete), (QList<Ereignis>{{1, 1, 1}, {1, 2, 2}}));

        // One frame and a half: the whole one now, the rest with the next read.
        geraete.clear();
        const QByteArray dritter = rahmen(2, 3, 2);
        port().liefern(rahmen(1, 4, 3) + dritter.left(2));
        QCOMPARE(druecke(geraete), (QList<Ereignis>{{1, 4, 4}}));
        m_uhr->vorspulen(RahmenDecoder::Luecke - 1);
        port().liefern(dritter.mid(2) + rahmen(1, 5, 0));
        QCOMPARE(druecke(geraete), (QList<Ereignis>{{1, 4, 4}, {2, 3, 3}, {1, 5, 1}}));

        // A rest that waits longer is given up, and the stream is in step again.
        geraete.clear();
        port().liefern(QByteArray("\x00\x01", 2));
        m_uhr->vorspulen(RahmenDecoder::Luecke);
        port().liefern(rahmen(1, 6, 1));
        QCOMPARE(druecke(geraete), (QList<Ereignis>{{1, 6, 2}}));
    }

    void waehrendDerSucheWirdNichtsEntschluesselt()
    {
        // The receiver's first bytes after "#INFO$" are its reply, not presses.
        m_ports->namen = {"ttyEMPF"};
        m_ports->geraete["ttyEMPF"] = {"#PLENARO$"};
        link();
        QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
        m_link->verbindungStarten();
        port().liefern(rahmen(1, 1, 0));
        QCOMPARE(geraete.count(), 0);
        QCOMPARE(port().ungelesen(), QByteArray("#PLENARO$") + rahmen(1, 1, 0));
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("true"));
        QCOMPARE(geraete.count(), 0);
    }

    void ohneEmpfaengerOeffnetConnectSerialNichts()
    {
        m_ports->namen = {"ttyS0"};
        m_ports->geraete["ttyS0"] = {};
        Einstellungen::setzen(Schluessel::SerialPort, QStringLiteral("ttyS0"));
        link();
        m_link->verbindungStarten();
        m_uhr->vorspulen(1000);
        m_link->connectSerial();
        QVERIFY(!port().isOpen());
    }

    void klassensatzFilter_data()
    {
        QTest::addColumn<QStringList>("aktiv");
        QTest::addColumn<uint>("klassensatz");
        QTest::addColumn<bool>("angenommen");
        QTest::newRow("no filter") << QStringList{} << 258u << true;
        QTest::newRow("set 3 holds 258") << QStringList{"", "", "258"} << 258u << true;
        QTest::newRow("259 dropped") << QStringList{"", "", "258"} << 259u << false;
        QTest::newRow("leading zero never matches") << QStringList{"0258"} << 258u << false;
        QTest::newRow("sixth slot counts") << QStringList{"", "", "", "", "", "7"} << 7u << true;
    }
    void klassensatzFilter()
    {
        QFETCH(QStringList, aktiv);
        QFETCH(uint, klassensatz);
        QFETCH(bool, angenommen);
        for (int i = 0; i < aktiv.size(); ++i)
            Einstellungen::setzen(Schluessel::aktiverKlassensatz(i + 1), aktiv.at(i));
        verbunden();
        QCOMPARE(m_link->aufGueltigeKlassensaetzePruefen(klassensatz), angenommen);
        QSignalSpy protokoll(m_link.get(), &comPort::signalOptionWindowProtokollAktualisieren);
        port().liefern(rahmen(klassensatz, 1, 0));
        QCOMPARE(protokoll.count(), angenommen ? 1 : 0);
    }

    void masterHandsender()
    {
        Einstellungen::setzen(Schluessel::SteuerungUeberMaster, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::MasterBuzzer, QStringLiteral("7"));
        Einstellungen::setzen(Schluessel::MasterKlassensatz, QStringLiteral("258"));
        verbunden();
        QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
        QSignalSpy protokoll(m_link.get(), &comPort::signalOptionWindowProtokollAktualisieren);
        QStringList signale;
        connect(m_link.get(), &comPort::masterTerminate, this, [&]() { signale << "terminate"; });
        connect(m_link.get(), &comPort::masterPageDown, this, [&]() { signale << "pageDown"; });
        connect(m_link.get(), &comPort::masterPause, this, [&]() { signale << "pause"; });
        connect(m_link.get(), &comPort::masterPageUp, this, [&]() { signale << "pageUp"; });

        port().liefern(rahmen(258, 7, 1) + rahmen(258, 7, 0) + rahmen(258, 7, 2) + rahmen(258, 7, 3));
        QCOMPARE(signale, (QStringList{"pageDown", "terminate", "pause", "pageUp"}));
        QCOMPARE(protokoll.count(), 4);
        QCOMPARE(geraete.count(), 0);

        port().liefern(rahmen(259, 7, 1) + rahmen(258, 8, 1));
        QCOMPARE(geraete.count(), 2);

        // The master's class set filtered out: its presses do nothing at all.
        Einstellungen::setzen(Schluessel::aktiverKlassensatz(1), QStringLiteral("1"));
        m_link->einstellungenNeuLesen();
        signale.clear();
        port().liefern(rahmen(258, 7, 1));
        QVERIFY(signale.isEmpty());
        QCOMPARE(protokoll.count(), 6);

        // Master control switched off: an ordinary handset.
        Einstellungen::setzen(Schluessel::aktiverKlassensatz(1), QString());
        Einstellungen::setzen(Schluessel::SteuerungUeberMaster, QStringLiteral("false"));
        port().liefern(rahmen(258, 7, 1));
        QCOMPARE(geraete.count(), 2); // still the filter of before: settings are taken when told
        m_link->einstellungenNeuLesen();
        port().liefern(rahmen(258, 7, 1));
        QVERIFY(signale.isEmpty());
        QCOMPARE(geraete.count(), 3);
    }

    void suchtVomLetztenZumErstenPort()
    {
        m_ports->namen = {"ttyA", "ttyB", "ttyC"};
        m_ports->geraete["ttyA"] = {"#PLENARO$"};
        m_ports->geraete["ttyB"] = {"", false}; // cannot be opened: nothing is written to it
        m_ports->geraete["ttyC"] = {"OK\r\n"};
        link();
        QSignalSpy gefunden(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden);
        m_link->verbindungStarten();
        QVERIFY(port().eingestellt);
        QCOMPARE(port().geoeffnet, QStringList{"ttyC"});
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(port().geoeffnet, (QStringList{"ttyC", "ttyB"}));
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(port().geoeffnet, (QStringList{"ttyC", "ttyB", "ttyA"}));
        QCOMPARE(gefunden.count(), 0);
        m_uhr->vorspulen(comPort::ProbeAbstand - 1);
        QCOMPARE(gefunden.count(), 0);
        m_uhr->vorspulen(1);
        QCOMPARE(gefunden.count(), 1);
        QCOMPARE(port().geschrieben.size(), 2);
        QCOMPARE(port().geschrieben.at(0).first, QString("ttyC"));
        QCOMPARE(port().geschrieben.at(1), qMakePair(QString("ttyA"), QByteArray("#INFO$")));
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), QString("ttyA"));
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("true"));
        QVERIFY(port().isOpen());
        // The pass is over: nothing more is probed.
        m_uhr->vorspulen(10'000);
        QCOMPARE(port().geoeffnet.size(), 3);
    }

    void antwortErkennen_data()
    {
        QTest::addColumn<QByteArray>("antwort");
        QTest::addColumn<QString>("vorlage");
        QTest::newRow("older family") << QByteArray("#PLENARO$") << "Morvane";
        QTest::newRow("battery-free family") << QByteArray("#PLENARO_TANDRIVELLE$") << "Tandrivelle";
        QTest::newRow("noise around it") << QByteArray("\x01xx#PLENARO$\r\n") << "Morvane";
        QTest::newRow("after a zero byte it does not count") << QByteArray("ab\0#PLENARO$", 12) << "";
        QTest::newRow("something else") << QByteArray("#PLENARO") << "";
    }
    void antwortErkennen()
    {
        QFETCH(QByteArray, antwort);
        QFETCH(QString, vorlage);
        Einstellungen::setzen(Schluessel::TemplateAutomatischErkennen, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, QStringLiteral("Kahoot"));
        m_ports->namen = {"ttyX"};
        m_ports->geraete["ttyX"] = {antwort};
        link();
        QSignalSpy gefunden(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden);
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(gefunden.count(), vorlage.isEmpty() ? 0 : 1);
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate),
                 vorlage.isEmpty() ? QString("Kahoot") : vorlage);
    }

    void vorlageNurMitAutomatischerWahl()
    {
        Einstellungen::setzen(Schluessel::TemplateAutomatischErkennen, QStringLiteral("True"));
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, QStringLiteral("Kahoot"));
        verbunden();
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate), QString("Kahoot"));
    }

    void ausstecken_und_wiederfinden()
    {
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        m_ports->namen = {"ttyS0", "ttyEMPF"};
        m_ports->geraete["ttyEMPF"] = {"#PLENARO$"};
        link();
        QSignalSpy gefunden(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden);
        QSignalSpy verloren(m_link.get(), &comPort::iconEmpfaengerVerbundenAusblenden);
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(gefunden.count(), 1);
        m_link->connectSerial();

        // Nothing changes: the watches leave the connection alone.
        m_uhr->vorspulen(10'000);
        QCOMPARE(verloren.count(), 0);
        QCOMPARE(gefunden.count(), 1);

        // Unplugged: the number of ports changes within 1800 ms.
        m_ports->namen = {"ttyS0"};
        m_uhr->vorspulen(comPort::PortAnzahlAbstand);
        QVERIFY(verloren.count() >= 1);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));
        // While it is away, the reconnect watch starts a pass every 3000 ms.
        const int vorher = int(port().geoeffnet.size());
        m_uhr->vorspulen(comPort::EmpfaengerPruefenAbstand);
        QVERIFY(port().geoeffnet.size() > vorher);
        QCOMPARE(gefunden.count(), 1);

        // Plugged in again: found in the next pass.
        m_ports->namen = {"ttyS0", "ttyEMPF"};
        m_uhr->vorspulen(comPort::EmpfaengerPruefenAbstand);
        QCOMPARE(gefunden.count(), 2);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("true"));
    }

    void ohneAutomatischeSucheBleibtAllesStehen()
    {
        m_ports->namen = {"ttyEMPF"};
        m_ports->geraete["ttyEMPF"] = {"#PLENARO$"};
        link();
        QSignalSpy verloren(m_link.get(), &comPort::iconEmpfaengerVerbundenAusblenden);
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        m_ports->namen.clear();
        m_uhr->vorspulen(30'000);
        QCOMPARE(verloren.count(), 0);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("true"));
        QCOMPARE(m_uhr->aktiveZeitgeber(), 0);
    }

    void ohnePortsWirdNichtsGeschrieben()
    {
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        link();
        m_link->verbindungStarten();
        m_uhr->vorspulen(10'000);
        QVERIFY(port().geschrieben.isEmpty());
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));
    }

    void portVonHandGewaehlt()
    {
        // The options dialog marks a port as connected without a handshake.
        m_ports->namen = {"ttyHAND"};
        m_ports->geraete["ttyHAND"] = {};
        link();
        m_link->verbindungStarten();
        m_uhr->vorspulen(1000);
        Einstellungen::setzen(Schluessel::SerialPort, QStringLiteral("ttyHAND"));
        Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QStringLiteral("true"));
        m_link->connectSerial();
        m_link->connectSerial(); // twice: still one delivery per frame
        QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
        port().liefern(rahmen(1, 9, 0));
        QCOMPARE(geraete.count(), 1);
        m_link->SerialPortSchliessen();
        QVERIFY(!port().isOpen());
    }
    // Both watches look at the same moment (9000 ms is a multiple of 1800 and of 3000) just after
    // the receiver was plugged in: there must still be one search, and the port it finds stays
    // open for the presses. The same for every other moment of plugging in.
    void einsteckenNachDemStart_data()
    {
        QTest::addColumn<int>("anderePorts");
        QTest::newRow("2 other ports") << 2;
        QTest::newRow("4 other ports") << 4;
    }
    void einsteckenNachDemStart()
    {
        QFETCH(int, anderePorts);
        // Every phase of the two watches repeats after 9000 ms.
        for (int moment = 8000; moment <= 17000; moment += 250) {
            cleanup();
            init();
            Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
            for (int i = 0; i < anderePorts; ++i) {
                m_ports->namen.append(QStringLiteral("ttyS%1").arg(i));
                m_ports->geraete[m_ports->namen.last()] = {"OK"};
            }
            link();
            connect(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden, m_link.get(),
                    &comPort::connectSerial);
            QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
            m_link->verbindungStarten();
            m_uhr->vorspulen(moment);
            m_ports->namen.insert(int(m_uhr->jetzt() / 250) % (anderePorts + 1), QStringLiteral("ttyUSB0"));
            m_ports->geraete["ttyUSB0"] = {"#PLENARO$"};
            m_uhr->vorspulen(3500);
            const QByteArray wo = QByteArray::number(moment);
            QVERIFY2(Einstellungen::ist(Schluessel::EmpfaengerVerbunden), wo);
            QVERIFY2(port().isOpen() && port().portName() == "ttyUSB0", wo);
            port().liefern(rahmen(1, 3, 0));
            QVERIFY2(geraete.count() == 1, wo);
            // And it stays so: no watch searches while the receiver delivers.
            m_uhr->vorspulen(10'000);
            port().liefern(rahmen(1, 4, 0));
            QVERIFY2(geraete.count() == 2, wo);
        }
    }

    void kurzesAussteckenWirdBemerkt()
    {
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        m_ports->namen = {"ttyS0", "ttyEMPF"};
        m_ports->geraete["ttyS0"] = {};
        m_ports->geraete["ttyEMPF"] = {"#PLENARO$"};
        link();
        connect(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden, m_link.get(),
                &comPort::connectSerial);
        QSignalSpy gefunden(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden);
        QSignalSpy verloren(m_link.get(), &comPort::iconEmpfaengerVerbundenAusblenden);
        QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(gefunden.count(), 1);

        // Out for 0.4 s, well inside one look of the port-count watch.
        m_uhr->vorspulen(700);
        m_ports->ausstecken("ttyEMPF");
        QCOMPARE(verloren.count(), 1);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));
        m_uhr->vorspulen(400);
        m_ports->namen.append("ttyEMPF");
        m_uhr->vorspulen(3500);
        QCOMPARE(gefunden.count(), 2);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("true"));
        port().liefern(rahmen(1, 2, 0));
        QCOMPARE(geraete.count(), 1);
    }

    void verlorenOhneAutomatischeSuche()
    {
        m_ports->namen = {"ttyEMPF"};
        m_ports->geraete["ttyEMPF"] = {"#PLENARO$"};
        link();
        QSignalSpy verloren(m_link.get(), &comPort::iconEmpfaengerVerbundenAusblenden);
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        m_link->connectSerial();
        const int oeffnungen = int(port().geoeffnet.size());
        m_ports->ausstecken("ttyEMPF");
        // The tick goes, as the port is gone; without automatic search nothing is probed.
        QCOMPARE(verloren.count(), 1);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));
        m_ports->namen.append("ttyEMPF");
        m_uhr->vorspulen(10'000);
        QCOMPARE(port().geoeffnet.size(), oeffnungen);
    }

    void geoeffnetMussDerPortAuchSein()
    {
        // A port picked by hand that cannot be opened is not a connection.
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        m_ports->namen = {"ttyA"};
        m_ports->geraete["ttyA"] = {"", false};
        link();
        QSignalSpy verloren(m_link.get(), &comPort::iconEmpfaengerVerbundenAusblenden);
        m_link->verbindungStarten();
        m_uhr->vorspulen(1000);
        Einstellungen::setzen(Schluessel::SerialPort, QStringLiteral("ttyA"));
        Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QStringLiteral("true"));
        m_link->connectSerial();
        QCOMPARE(verloren.count(), 1);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));
        QVERIFY(m_link->suchtGerade());
    }

    void streubyteUndSpaeterRest()
    {
        verbunden();
        QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
        // A stray byte, and the next frames a pause later: they start a frame again.
        port().liefern(QByteArray("\xff", 1));
        m_uhr->vorspulen(RahmenDecoder::Luecke);
        port().liefern(rahmen(1, 2, 1) + rahmen(1, 3, 2));
        QCOMPARE(druecke(geraete), (QList<Ereignis>{{1, 2, 2}, {1, 3, 3}}));
        // A frame whose tail comes late, as a held-up reader sees it: still one frame.
        geraete.clear();
        port().liefern(rahmen(1, 4, 0).left(2));
        m_uhr->vorspulen(150);
        port().liefern(rahmen(1, 4, 0).mid(2));
        QCOMPARE(druecke(geraete), (QList<Ereignis>{{1, 4, 1}}));
        // A stray byte before a lone press: the press waits for the line to fall quiet, no longer.
        geraete.clear();
        m_uhr->vorspulen(150);
        port().liefern(QByteArray("\xff", 1) + rahmen(1, 5, 3));
        QCOMPARE(geraete.count(), 0);
        m_uhr->vorspulen(RahmenDecoder::Luecke);
        QCOMPARE(druecke(geraete), (QList<Ereignis>{{1, 5, 4}}));
    }

    void flutWirdGedrosselt()
    {
        verbunden();
        QSignalSpy geraete(m_link.get(), &comPort::signalGereateIDAnzeigen);
        QSignalSpy protokoll(m_link.get(), &comPort::signalOptionWindowProtokollAktualisieren);
        QSignalSpy gedrosselt(m_link.get(), &comPort::gedrosselteDrueckeGeaendert);
        // Handset 9 presses a hundred times in a second; handset 4 now and then in between.
        for (int i = 0; i < 100; ++i) {
            port().liefern(rahmen(1, 9, uint(i % 4)));
            if (i % 20 == 0)
                port().liefern(rahmen(1, 4, 0));
            m_uhr->vorspulen(10);
        }
        const auto von = [&](uint geraet) {
            int n = 0;
            for (const Ereignis &d : druecke(geraete))
                n += d.at(1) == geraet ? 1 : 0;
            return n;
        };
        QCOMPARE(von(9), EmpfangsFilter::HoechstensJeSekunde);
        QCOMPARE(von(4), 5);
        QCOMPARE(protokoll.count(), geraete.count());
        QCOMPARE(m_link->gedrosselteDruecke(), quint64(80));
        QCOMPARE(gedrosselt.last().at(0).toULongLong(), quint64(80));
        // A second later it is heard again.
        m_uhr->vorspulen(1000);
        port().liefern(rahmen(1, 9, 0));
        QCOMPARE(von(9), EmpfangsFilter::HoechstensJeSekunde + 1);
    }
};

QTEST_GUILESS_MAIN(TestComPort)
#include "tst_comport.moc"
