#pragma once

#include "seriellerport.h"

#include <QHash>
#include <QList>

// Serial devices for tests: each port name can be present, refuse to open, and answer "#INFO$"
// with a given reply. The link's one port object is a FakePort that reads what the test feeds.
struct FakeGeraet
{
    QByteArray antwort; // reply to "#INFO$"
    bool oeffenbar = true;
};

class FakePort final : public SeriellerPort
{
public:
    explicit FakePort(QHash<QString, FakeGeraet> &geraete)
        : m_geraete(geraete)
    {
    }

    void leitungEinstellen() override { eingestellt = true; }
    void setPortName(const QString &name) override { m_name = name; }
    QString portName() const override { return m_name; }
    bool oeffnen() override
    {
        geoeffnet.append(m_name);
        m_offen = m_geraete.contains(m_name) && m_geraete.value(m_name).oeffenbar;
        return m_offen;
    }
    void schliessen() override
    {
        m_offen = false;
        m_puffer.clear();
    }
    bool isOpen() const override { return m_offen; }
    void puffernLeeren() override { m_puffer.clear(); }
    qint64 schreiben(const QByteArray &daten) override
    {
        if (!m_offen)
            return -1;
        geschrieben.append({m_name, daten});
        if (daten == "#INFO$")
            m_puffer += m_geraete.value(m_name).antwort;
        return daten.size();
    }
    QByteArray allesLesen() override { return std::exchange(m_puffer, {}); }

    // Bytes from the device; the link hears of them as from a real port.
    void liefern(const QByteArray &daten)
    {
        m_puffer += daten;
        emit readyRead();
    }
    QByteArray ungelesen() const { return m_puffer; }

    bool eingestellt = false;
    QStringList geoeffnet;
    QList<QPair<QString, QByteArray>> geschrieben;

private:
    QHash<QString, FakeGeraet> &m_geraete;
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
        auto port = std::make_unique<FakePort>(geraete);
        letzterPort = port.get();
        return port;
    }

    QStringList namen;
    QHash<QString, FakeGeraet> geraete;
    FakePort *letzterPort = nullptr;
};
