#pragma once

#include "seriellerport.h"

#include <QSerialPort>

class QtSeriellerPort final : public SeriellerPort
{
public:
    QtSeriellerPort();

    void leitungEinstellen() override;
    void setPortName(const QString &name) override
    {
        m_name = name;
        m_port.setPortName(name);
    }
    // The name as given: the toolkit shortens a path ("/dev/pts/3" becomes "pts/3"), and the link
    // compares it with the one it stored.
    QString portName() const override { return m_name; }
    bool oeffnen() override { return m_port.open(QIODevice::ReadWrite); }
    void schliessen() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    void puffernLeeren() override { m_port.clear(QSerialPort::AllDirections); }
    qint64 schreiben(const QByteArray &daten) override { return m_port.write(daten); }
    QByteArray allesLesen() override { return m_port.readAll(); }
    bool bytesDa() const override;

private:
    // A child, so that it moves with the wrapper to the reading thread.
    QSerialPort m_port{this};
    QString m_name;
};
