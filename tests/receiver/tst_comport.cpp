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

} // namespace

class TestComPort final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    std::unique_ptr<TestUhr> m_uhr;
    std::unique_ptr<FakePortSystem> m_ports;
    std::unique_ptr<comPort> m_link;

    std::unique_ptr<QSignalSpy> m_gefunden, m_geraete, m_protokoll, m_verloren;

    // The spies go before the link they watch, the link before its ports.
    void abbauen()
    {
        m_gefunden.reset();
        m_geraete.reset();
        m_protokoll.reset();
        m_verloren.reset();
        m_link.reset();
    }

    // The link on the ports set up so far; a receiver it finds is opened for the presses.
    void link()
    {
        m_link = std::make_unique<comPort>(*m_ports, *m_uhr);
        connect(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden, m_link.get(),
                &comPort::connectSerial);
        m_gefunden = std::make_unique<QSignalSpy>(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden);
        m_geraete = std::make_unique<QSignalSpy>(m_link.get(), &comPort::signalGereateIDAnzeigen);
        m_protokoll =
            std::make_unique<QSignalSpy>(m_link.get(), &comPort::signalOptionWindowProtokollAktualisieren);
        m_verloren = std::make_unique<QSignalSpy>(m_link.get(), &comPort::iconEmpfaengerVerbundenAusblenden);
    }
    QList<Ereignis> druecke() const
    {
        QList<Ereignis> liste;
        for (const QList<QVariant> &s : std::as_const(*m_geraete))
            liste.append({s.at(0).toUInt(), s.at(1).toUInt(), s.at(2).toUInt()});
        return liste;
    }
    FakePort &port() { return *m_ports->letzterPort; }
    // Devices plugged in, in the order the system lists their ports.
    void geraete(const QList<QPair<QString, FakeGeraet>> &liste)
    {
        for (const auto &[name, geraet] : liste) {
            m_ports->namen.append(name);
            m_ports->geraete[name] = geraet;
        }
    }
    // A link that found its receiver on port "ttyEMPF" and opened it for the presses.
    void verbunden()
    {
        geraete({{"ttyEMPF", {"#PLENARO_TANDRIVELLE$"}}});
        link();
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("true"));
        QVERIFY(port().isOpen());
    }

private slots:
    void init()
    {
        abbauen();
        m_einstellungen = std::make_unique<TestEinstellungen>();
        m_uhr = std::make_unique<TestUhr>();
        m_ports = std::make_unique<FakePortSystem>();
    }
    void cleanup() { abbauen(); }

    // Bytes the receiver sent before anyone asked (a press half sent, noise on the line) wait in
    // the port when the search opens it, and again when the game reopens it for the presses:
    // they neither hide the reply nor turn into presses. Frames that come after its answer, before
    // the link has read it or opened the stream (a teacher pressing at once after plugging it in),
    // are presses.
    void wartendeBytesImPort_data()
    {
        QTest::addColumn<QByteArray>("wartend");
        QTest::newRow("half a frame") << rahmen(1, 5, 0).left(2);
        QTest::newRow("a whole frame") << rahmen(1, 5, 0);
        QTest::newRow("stray bytes, a frame and a half")
            << QByteArray("\xff\x00", 2) + rahmen(1, 6, 1) + rahmen(1, 7, 2).left(3);
    }
    void wartendeBytesImPort()
    {
        QFETCH(QByteArray, wartend);
        geraete({{"ttyEMPF", {"#PLENARO$", true, wartend}}});
        link();
        disconnect(m_link.get(), &comPort::serialport_eventEmpfaengerGefunden, m_link.get(),
                   &comPort::connectSerial);
        m_link->verbindungStarten();
        port().liefern(rahmen(1, 1, 0));
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(m_gefunden->count(), 1);
        m_ports->senden("ttyEMPF", rahmen(1, 3, 1));
        m_link->connectSerial();
        m_uhr->vorspulen(3 * RahmenDecoder::Luecke);
        QCOMPARE(druecke(), (QList<Ereignis>{{1, 1, 1}, {1, 3, 2}}));
        m_geraete->clear();

        // Closed while the game restarts; the receiver goes on sending meanwhile.
        m_link->SerialPortSchliessen();
        m_ports->senden("ttyEMPF", wartend);
        m_link->connectSerial();
        m_uhr->vorspulen(3 * RahmenDecoder::Luecke);
        port().liefern(rahmen(2, 9, 3));
        m_uhr->vorspulen(3 * RahmenDecoder::Luecke);
        QCOMPARE(druecke(), (QList<Ereignis>{{2, 9, 4}}));
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
        port().liefern(rahmen(klassensatz, 1, 0));
        QCOMPARE(m_protokoll->count(), angenommen ? 1 : 0);
    }

    void masterHandsender()
    {
        Einstellungen::setzen({{Schluessel::SteuerungUeberMaster, "true"},
                               {Schluessel::MasterBuzzer, "7"},
                               {Schluessel::MasterKlassensatz, "258"}});
        verbunden();
        QStringList signale;
        connect(m_link.get(), &comPort::masterTerminate, this, [&]() { signale << "terminate"; });
        connect(m_link.get(), &comPort::masterPageDown, this, [&]() { signale << "pageDown"; });
        connect(m_link.get(), &comPort::masterPause, this, [&]() { signale << "pause"; });
        connect(m_link.get(), &comPort::masterPageUp, this, [&]() { signale << "pageUp"; });

        port().liefern(rahmen(258, 7, 1) + rahmen(258, 7, 0) + rahmen(258, 7, 2) + rahmen(258, 7, 3));
        QCOMPARE(signale, (QStringList{"pageDown", "terminate", "pause", "pageUp"}));
        QCOMPARE(m_protokoll->count(), 4);
        QCOMPARE(m_geraete->count(), 0);

        port().liefern(rahmen(259, 7, 1) + rahmen(258, 8, 1));
        QCOMPARE(m_geraete->count(), 2);

        // The master's class set filtered out: its presses do nothing at all.
        Einstellungen::setzen(Schluessel::aktiverKlassensatz(1), QString("1"));
        m_link->einstellungenNeuLesen();
        signale.clear();
        port().liefern(rahmen(258, 7, 1));
        QVERIFY(signale.isEmpty());
        QCOMPARE(m_protokoll->count(), 6);

        // Master control switched off: an ordinary handset.
        Einstellungen::setzen(Schluessel::aktiverKlassensatz(1), QString());
        Einstellungen::setzen(Schluessel::SteuerungUeberMaster, QString("false"));
        port().liefern(rahmen(258, 7, 1));
        QCOMPARE(m_geraete->count(), 2); // still the filter of before: settings are taken when told
        m_link->einstellungenNeuLesen();
        port().liefern(rahmen(258, 7, 1));
        QVERIFY(signale.isEmpty());
        QCOMPARE(m_geraete->count(), 3);
    }

    // A dozen ports, some silent, some busy elsewhere (they do not open), some answering other
    // text; a search by hand and the port-count watch come in the middle of the pass. The pass
    // goes from the last port listed to the first and opens each once, the first receiver it
    // meets is reported once, and its port stays open for the presses.
    void vielePortsEineSuche_data()
    {
        QTest::addColumn<QList<int>>("empfaenger"); // their places in the list
        QTest::newRow("listed first, probed last") << QList<int>{0};
        QTest::newRow("in the middle") << QList<int>{6};
        QTest::newRow("listed last, probed first") << QList<int>{11};
        QTest::newRow("two receivers") << QList<int>{3, 8};
        QTest::newRow("none") << QList<int>{};
    }
    void vielePortsEineSuche()
    {
        QFETCH(QList<int>, empfaenger);
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QString("true"));
        for (int i = 0; i < 12; ++i)
            geraete({{QString("tty%1").arg(i), empfaenger.contains(i) ? FakeGeraet{"#PLENARO$"}
                                               : i % 3 == 0           ? FakeGeraet{"", false}
                                                            : FakeGeraet{i % 3 == 1 ? "" : "OK\r\n"}}});
        link();
        m_link->verbindungStarten();
        QVERIFY(port().eingestellt);
        const int erster =
            empfaenger.isEmpty() ? 0 : *std::max_element(empfaenger.cbegin(), empfaenger.cend());
        const qint64 passEnde = (12 - erster) * comPort::ProbeAbstand;
        m_uhr->vorspulen(passEnde / 2);
        m_link->checkObEmpfaengerAngeschlossen();
        m_link->checkCOMPorts();
        m_uhr->vorspulen(passEnde - 1 - m_uhr->jetzt());
        QCOMPARE(m_gefunden->count(), 0);
        m_uhr->vorspulen(1);
        QStringList probiert;
        for (int i = 11; i >= erster; --i)
            probiert << QString("tty%1").arg(i);
        QCOMPARE(port().geoeffnet, probiert);
        // Nothing but the question is written (a closed port takes nothing, as a real one).
        for (const auto &[name, daten] : std::as_const(port().geschrieben))
            QCOMPARE(daten, QByteArray("#INFO$"));
        QCOMPARE(m_gefunden->count(), empfaenger.isEmpty() ? 0 : 1);
        QCOMPARE(Einstellungen::ist(Schluessel::EmpfaengerVerbunden), !empfaenger.isEmpty());
        if (empfaenger.isEmpty())
            return;
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), QString("tty%1").arg(erster));

        // Found is found: no watch searches again, and each press arrives once.
        m_uhr->vorspulen(10'000);
        QCOMPARE(port().geoeffnet, probiert);
        QCOMPARE(m_gefunden->count(), 1);
        port().liefern(rahmen(1, 3, 0));
        QCOMPARE(druecke(), (QList<Ereignis>{{1, 3, 1}}));
    }

    void antwortErkennen_data()
    {
        QTest::addColumn<QByteArray>("antwort");
        QTest::addColumn<QString>("automatisch");
        QTest::addColumn<bool>("empfaenger");
        QTest::addColumn<QString>("gewaehlt");
        QTest::newRow("older family") << QByteArray("#PLENARO$") << "true" << true << "Morvane";
        QTest::newRow("battery-free family")
            << QByteArray("#PLENARO_TANDRIVELLE$") << "true" << true << "Tandrivelle";
        QTest::newRow("noise around it") << QByteArray("\x01xx#PLENARO$\r\n") << "true" << true << "Morvane";
        QTest::newRow("after a zero byte it does not count")
            << QByteArray("ab\0#PLENARO$", 12) << "true" << false << "Kahoot";
        QTest::newRow("something else") << QByteArray("#PLENARO") << "true" << false << "Kahoot";
        // Only "true" lets the receiver choose the template.
        QTest::newRow("choice by hand") << QByteArray("#PLENARO_TANDRIVELLE$") << "True" << true << "Kahoot";
    }
    void antwortErkennen()
    {
        QFETCH(QByteArray, antwort);
        QFETCH(QString, automatisch);
        QFETCH(bool, empfaenger);
        Einstellungen::setzen(Schluessel::TemplateAutomatischErkennen, automatisch);
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, QString("Kahoot"));
        geraete({{"ttyX", {antwort}}});
        link();
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(m_gefunden->count(), empfaenger ? 1 : 0);
        QTEST(Einstellungen::text(Schluessel::GewaehltesTemplate), "gewaehlt");
    }

    // Unplugged and plugged in again 0.4 s later (the port fails at once) or 4 s later (only
    // the list of ports tells): with automatic search it is found again and its presses arrive
    // once; without, the link stays quiet after the loss, as after its first pass.
    void aussteckenUndWiederfinden_data()
    {
        QTest::addColumn<bool>("automatisch");
        QTest::addColumn<bool>("portFehler");
        QTest::newRow("port fails") << true << true;
        QTest::newRow("port list changes") << true << false;
        QTest::newRow("port fails, no automatic search") << false << true;
        QTest::newRow("port list changes, no automatic search") << false << false;
    }
    void aussteckenUndWiederfinden()
    {
        QFETCH(bool, automatisch);
        QFETCH(bool, portFehler);
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, automatisch ? "true" : "false");
        geraete({{"ttyS0", {}}, {"ttyEMPF", {"#PLENARO$"}}});
        link();
        m_link->verbindungStarten();
        m_uhr->vorspulen(comPort::ProbeAbstand);
        QCOMPARE(m_gefunden->count(), 1);
        // Nothing changes: the watches leave the connection alone.
        m_uhr->vorspulen(10'000);
        QCOMPARE(m_verloren->count(), 0);
        const qsizetype oeffnungen = port().geoeffnet.size();

        if (portFehler)
            m_ports->ausstecken("ttyEMPF");
        else
            m_ports->namen.removeAll("ttyEMPF");
        m_uhr->vorspulen(portFehler ? 400 : 4000);
        const bool bemerkt = automatisch || portFehler;
        QCOMPARE(m_verloren->count() > 0, bemerkt);
        QCOMPARE(Einstellungen::ist(Schluessel::EmpfaengerVerbunden), !bemerkt);
        QCOMPARE(port().geoeffnet.size() > oeffnungen, automatisch);
        m_ports->namen.append("ttyEMPF");
        m_uhr->vorspulen(2 * comPort::EmpfaengerPruefenAbstand);
        if (!automatisch) {
            QCOMPARE(port().geoeffnet.size(), oeffnungen);
            QCOMPARE(m_uhr->aktiveZeitgeber(), 0);
            return;
        }
        QCOMPARE(m_gefunden->count(), 2);
        QVERIFY(Einstellungen::ist(Schluessel::EmpfaengerVerbunden));
        port().liefern(rahmen(1, 2, 0));
        QCOMPARE(druecke(), (QList<Ereignis>{{1, 2, 1}}));
    }

    // The options dialog marks a port as connected without a handshake. It is opened for the
    // presses, once however often asked; one that does not open is no connection, and the search
    // takes over. A port chosen but not marked is not opened.
    void portVonHandGewaehlt_data()
    {
        QTest::addColumn<bool>("oeffenbar");
        QTest::addColumn<bool>("markiert");
        QTest::newRow("opens") << true << true;
        QTest::newRow("does not open") << false << true;
        QTest::newRow("not marked") << true << false;
    }
    void portVonHandGewaehlt()
    {
        QFETCH(bool, oeffenbar);
        QFETCH(bool, markiert);
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QString(markiert ? "true" : "false"));
        geraete({{"ttyHAND", {"", oeffenbar}}});
        link();
        m_link->verbindungStarten();
        m_uhr->vorspulen(1000);
        Einstellungen::setzen(Schluessel::SerialPort, QString("ttyHAND"));
        if (markiert)
            Einstellungen::setzen(Schluessel::EmpfaengerVerbunden, QString("true"));
        m_link->connectSerial();
        m_link->connectSerial();
        QCOMPARE(port().isOpen(), oeffenbar && markiert);
        QCOMPARE(m_verloren->count(), oeffenbar ? 0 : 1);
        QCOMPARE(Einstellungen::ist(Schluessel::EmpfaengerVerbunden), oeffenbar && markiert);
        QCOMPARE(m_link->suchtGerade(), !oeffenbar);
        port().liefern(rahmen(1, 9, 0));
        QCOMPARE(m_geraete->count(), oeffenbar && markiert ? 1 : 0);
        m_link->SerialPortSchliessen();
        QVERIFY(!port().isOpen());
    }

    void flutWirdGedrosselt()
    {
        verbunden();
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
            for (const Ereignis &d : druecke())
                n += d.at(0) == 1 && d.at(1) == geraet ? 1 : 0;
            return n;
        };
        QCOMPARE(von(9), EmpfangsFilter::HoechstensJeSekunde);
        QCOMPARE(von(4), 5);
        QCOMPARE(m_protokoll->count(), m_geraete->count());
        QCOMPARE(m_link->gedrosselteDruecke(), quint64(80));
        QCOMPARE(gedrosselt.last().at(0).toULongLong(), quint64(80));
        // The same number in another class set is another handset.
        port().liefern(rahmen(2, 9, 0));
        m_uhr->vorspulen(RahmenDecoder::Luecke); // a class set heard first waits for quiet
        QCOMPARE(druecke().last(), (Ereignis{2, 9, 1}));
        // A second later it is heard again.
        m_uhr->vorspulen(1000);
        port().liefern(rahmen(1, 9, 0));
        QCOMPARE(von(9), EmpfangsFilter::HoechstensJeSekunde + 1);
    }
};

QTEST_GUILESS_MAIN(TestComPort)
#include "tst_comport.moc"
