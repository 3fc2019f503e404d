#pragma once

#include "comtyp.h"
#include "empfangsfilter.h"
#include "rahmendecoder.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QThread>

class Empfangsleser;
class PortSystem;
class Uhr;
class Zeitgeber;

// The link to the USB receiver: finds it among the serial ports, tells its family by its reply to
// "#INFO$", notices when it goes, and passes on the handsets' presses. The port itself is read by
// an Empfangsleser on a thread of its own; this object decides what to search and when, and runs
// on the window's thread.
class comPort final : public QObject, public comTyp
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(comPort)

public:
    comPort(PortSystem &ports, Uhr &uhr, QObject *eltern = nullptr);
    ~comPort() override;

    void verbindungStarten() override;
    void connectSerial();
    void SerialPortSchliessen();

    // Presses dropped because one handset pressed more than EmpfangsFilter::HoechstensJeSekunde
    // times in a second, since the program started.
    quint64 gedrosselteDruecke() const { return m_gedrosselt; }
    // A search pass is running.
    bool suchtGerade() const { return m_suche; }

    static constexpr int ProbeAbstand = 200;
    static constexpr int PortAnzahlAbstand = 1800;
    static constexpr int EmpfaengerPruefenAbstand = 3000;

signals:
    void serialport_eventEmpfaengerGefunden();
    void iconEmpfaengerVerbundenAusblenden();
    void signalOptionWindowProtokollAktualisieren(uint klassensatz, uint buzzerNo, uint buttonNo);
    void signalGereateIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo);
    void masterTerminate();
    void masterPageDown();
    void masterPause();
    void masterPageUp();
    void gedrosselteDrueckeGeaendert(quint64 anzahl);

public slots:
    // Takes the class sets and the master handset from the settings store; to be called whenever
    // the options change them.
    void einstellungenNeuLesen();
    bool aufGueltigeKlassensaetzePruefen(uint klassensatz);
    void timerScanPorts();
    void checkCOMPorts();
    void checkObEmpfaengerAngeschlossen();

private:
    void portScanStarten();
    void passStarten();
    void naechstenPortPruefen();
    void portListeNeuFuellen();
    void passBeenden();
    void antwortAuswerten(quint64 auftrag, const QByteArray &antwort);
    void stromGeoeffnet(quint64 auftrag, bool ok);
    void verloren(quint64 auftrag);
    void alsVerlorenMelden();
    void druckeVerteilen(const QVector<Druck> &druecke);
    void gedrosseltGemeldet(quint64 anzahl);
    template<typename F>
    void imLeser(F &&auftrag);

    PortSystem &m_ports;
    Uhr &m_uhr;
    QThread m_faden;
    Empfangsleser *m_leser = nullptr;
    QStringList m_portListe;
    QString m_probeName;
    Zeitgeber *m_timerPortAnzahl = nullptr;
    Zeitgeber *m_timerEmpfaengerPruefen = nullptr;
    Zeitgeber *m_timerProbe = nullptr;
    int m_anzahlPorts = 0;
    int m_scanIndex = 0;
    // Every pass, every opening for the stream and every close is a new job; answers of older
    // jobs are ignored, so two searches can never work on one port.
    quint64 m_auftrag = 0;
    bool m_suche = false;
    // The receiver's port is open (identified, or opened for the stream).
    bool m_empfaengerOffen = false;
    EmpfangsEinstellungen m_einstellungen;
    quint64 m_gedrosselt = 0;
};
