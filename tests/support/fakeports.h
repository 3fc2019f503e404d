#pragma once

#include "seriellerport.h"

#include <QHash>
#include <QList>

// Serial devices for tests: each port name can be present, refuse to open, and answer "#INFO$"
// with a given reply. The link's one port object is a FakePort that reads what the test feeds.
// As strict as a real port: nothing is read or written while it is closed, a device that is not
// plugged in cannot be opened, and unplugging the open device closes the port with an error.
// What a device sends while its port is closed waits in the system's buffer for the next open.
struct FakeGeraet
{
    QByteArray antwort{}; // reply to "#INFO$"
    bool oeffenbar = true;
    QByteArray wartend{}; // in the buffer when the port is next opened
};

class FakePortSystem;

class FakePort final : public SeriellerPort
{
public:
    explicit FakePort(FakePortSystem &system)
        : m_system(system)
    {
    }

    void leitungEinstellen() override { eingestellt = true; }
    void setPortName(const QString &name) override { m_name = name; }
    QString portName() const override { return m_name; }
    bool oeffnen() override;
    void schliessen() override
    {
        m_offen = false;
        m_puffer.clear();
    }
    bool isOpen() const override { return m_offen; }
    void puffernLeeren() override { m_puffer.clear(); }
    qint64 schreiben(const QByteArray &daten) override;
    QByteArray allesLesen() override { return m_offen ? std::exchange(m_puffer, {}) : QByteArray(); }
    bool bytesDa() const override { return m_offen && !m_puffer.isEmpty(); }

    // Bytes from the device; the link hears of them as from a real port. A closed port loses them.
    void liefern(const QByteArray &daten)
    {
        if (!m_offen)
            return;
        m_puffer += daten;
        emit readyRead();
    }

    bool eingestellt = false;
    QStringList geoeffnet;
    QList<QPair<QString, QByteArray>> geschrieben;

private:
    FakePortSystem &m_system;
    QString m_name;
    bool m_offen = false;
    QByteArray m_puffer;
};

class FakePortSystem final : public PortSystem
{
public:
    QStringList portNamen() const override { return namen; }
    std::unique_ptr<SeriellerPort> neuerPort() override
    {
        auto port = std::make_unique<FakePort>(*this);
        letzterPort = port.get();
        return port;
    }
    // The test drives the port on its own thread, in step with the hand-driven clock, unless it
    // gives the reader a thread of its own as the program does: then the reader's answers wait
    // until the test's thread takes them, as they wait while the window is busy, and the test
    // touches ports and devices only while the reader has nothing left to do.
    bool eigenerLeseFaden() const override { return eigenerFaden; }

    // Unplugs a device: it leaves the list, and a port that has it open fails.
    void ausstecken(const QString &name)
    {
        namen.removeAll(name);
        if (letzterPort && letzterPort->isOpen() && letzterPort->portName() == name) {
            letzterPort->schliessen();
            emit letzterPort->verloren();
        }
    }
    bool vorhanden(const QString &name) const { return namen.contains(name) && geraete.contains(name); }
    // The device `name` sends: to the port that has it open, else into the system's buffer.
    void senden(const QString &name, const QByteArray &daten)
    {
        if (letzterPort && letzterPort->isOpen() && letzterPort->portName() == name)
            letzterPort->liefern(daten);
        else
            geraete[name].wartend += daten;
    }

    QStringList namen;
    QHash<QString, FakeGeraet> geraete;
    FakePort *letzterPort = nullptr;
    bool eigenerFaden = false;
};

inline bool FakePort::oeffnen()
{
    geoeffnet.append(m_name);
    if (m_offen)
        return false; // like a real port: opening an open port fails
    m_offen = m_system.vorhanden(m_name) && m_system.geraete.value(m_name).oeffenbar;
    if (m_offen)
        m_puffer = std::exchange(m_system.geraete[m_name].wartend, {});
    return m_offen;
}

inline qint64 FakePort::schreiben(const QByteArray &daten)
{
    if (!m_offen)
        return -1;
    geschrieben.append({m_name, daten});
    if (daten == "#INFO$")
        m_puffer += m_system.geraete.value(m_name).antwort;
    return daten.size();
}
