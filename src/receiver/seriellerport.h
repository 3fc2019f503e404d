#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <memory>

// The serial port as the receiver link uses it. The program uses QSerialPort; tests put in a port
// they feed by hand.
class SeriellerPort : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SeriellerPort)

public:
    using QObject::QObject;

    // 115200 baud, 8 data bits, no parity, one stop bit, no flow control; kept for every open.
    virtual void leitungEinstellen() = 0;
    virtual void setPortName(const QString &name) = 0;
    virtual QString portName() const = 0;
    // Opens for reading and writing.
    virtual bool oeffnen() = 0;
    virtual void schliessen() = 0;
    virtual bool isOpen() const = 0;
    // Discards what waits in both directions.
    virtual void puffernLeeren() = 0;
    virtual qint64 schreiben(const QByteArray &daten) = 0;
    virtual QByteArray allesLesen() = 0;
    // Bytes wait to be read, here or still in the system's buffer.
    virtual bool bytesDa() const = 0;

signals:
    void readyRead();
    // The device has gone or failed for good (unplugged); the port is closed already.
    void verloren();
};

// Where ports come from: the names to probe and a port object to probe them with.
class PortSystem
{
public:
    PortSystem() = default;
    PortSystem(const PortSystem &) = delete;
    PortSystem &operator=(const PortSystem &) = delete;
    virtual ~PortSystem() = default;

    // The names of the serial ports now present, in the order the system reports them.
    virtual QStringList portNamen() const = 0;
    virtual std::unique_ptr<SeriellerPort> neuerPort() = 0;
    // Whether the link reads its port on a thread of its own. Real ports are; ports fed by hand in
    // a test are read on the test's thread, so the test stays in step with them.
    virtual bool eigenerLeseFaden() const { return true; }

    // The system's serial ports plus the pseudo terminals of running receiver simulators.
    static PortSystem &system();
};
