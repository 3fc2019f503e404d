#include "qtseriellerport.h"

#include "simulatorports.h"

#include <QSerialPortInfo>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#endif

QtSeriellerPort::QtSeriellerPort()
{
    connect(&m_port, &QSerialPort::readyRead, this, &SeriellerPort::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError fehler) {
        // An unplugged device reports its error again and again until the port is closed.
        if ((fehler == QSerialPort::ResourceError || fehler == QSerialPort::ReadError) && m_port.isOpen()) {
            m_port.close();
            emit verloren();
        }
    });
}

void QtSeriellerPort::leitungEinstellen()
{
    m_port.setBaudRate(QSerialPort::Baud115200, QSerialPort::AllDirections);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
}

bool QtSeriellerPort::bytesDa() const
{
    if (!m_port.isOpen())
        return false;
    if (m_port.bytesAvailable() > 0)
        return true;
#ifdef Q_OS_UNIX
    // Bytes the port object has not fetched yet: its notification may come after the timer.
    int imSystem = 0;
    return ::ioctl(int(m_port.handle()), FIONREAD, &imSystem) == 0 && imSystem > 0;
#else
    return false;
#endif
}

namespace {

class QtPortSystem final : public PortSystem
{
public:
    QStringList portNamen() const override
    {
        QStringList namen;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            namen.append(info.portName());
        return namen + SimulatorPorts::laufende();
    }
    std::unique_ptr<SeriellerPort> neuerPort() override { return std::make_unique<QtSeriellerPort>(); }
};

} // namespace

PortSystem &PortSystem::system()
{
    static QtPortSystem ports;
    return ports;
}
