#include "qtseriellerport.h"

#include "simulatorports.h"

#include <QSerialPortInfo>

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
