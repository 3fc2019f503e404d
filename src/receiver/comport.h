#pragma once

#include "comtyp.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStringList>

class PortSystem;
class SeriellerPort;
class Uhr;
class Zeitgeber;

// The link to the USB receiver: finds it among the serial ports, tells its family by its reply to
// "#INFO$", notices when it goes, and decodes the button frames of the handsets.
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

    static constexpr int ProbeAbstand = 200;
    static constexpr int PortAnzahlAbstand = 1800;
    static constexpr int EmpfaengerPruefenAbstand = 3000;
    // A frame whose rest takes longer than this is given up, so a lost byte cannot shift the
    // stream for long.
    static constexpr int RestFrist = 100;

    static const QByteArray Anfrage;
    static const QByteArray AntwortMorvane;
    static const QByteArray AntwortTandrivelle;

    SeriellerPort &port() const { return *m_serialPort; }

signals:
    void serialport_eventEmpfaengerGefunden();
    void iconEmpfaengerVerbundenAusblenden();
    void signalOptionWindowProtokollAktualisieren(uint klassensatz, uint buzzerNo, uint buttonNo);
    void signalGereateIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo);
    void masterTerminate();
    void masterPageDown();
    void masterPause();
    void masterPageUp();

public slots:
    void readData();
    bool aufGueltigeKlassensaetzePruefen(uint klassensatz);
    void timerScanPorts();
    void checkCOMPorts();
    void checkObEmpfaengerAngeschlossen();

private:
    void portScanStarten();
    void naechstenPortPruefen();
    void portListeNeuFuellen();
    void rahmenVerarbeiten(const char *rahmen);

    PortSystem &m_ports;
    Uhr &m_uhr;
    std::unique_ptr<SeriellerPort> m_serialPort;
    QStringList m_portListe;
    QString m_probeName;
    Zeitgeber *m_timerPortAnzahl = nullptr;
    Zeitgeber *m_timerEmpfaengerPruefen = nullptr;
    int m_anzahlPorts = 0;
    int m_scanIndex = 0;
    bool m_datenVerbunden = false;
    // The start of a frame whose rest has not come yet, and when its last byte came.
    QByteArray m_rest;
    qint64 m_restZeit = 0;
};
