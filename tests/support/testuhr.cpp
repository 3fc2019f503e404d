#include "testuhr.h"

class TestZeitgeber final : public Zeitgeber
{
public:
    TestZeitgeber(TestUhr &uhr, QObject *eltern)
        : Zeitgeber(eltern)
        , m_uhr(uhr)
    {
    }

    void start(int ms) override
    {
        m_intervall = ms;
        start();
    }
    void start() override
    {
        m_aktiv = true;
        m_faellig = m_uhr.m_jetzt + m_intervall;
        m_folge = ++m_uhr.m_folge;
    }
    void stop() override { m_aktiv = false; }
    bool isActive() const override { return m_aktiv; }
    void setInterval(int ms) override
    {
        m_intervall = ms;
        if (m_aktiv)
            start();
    }
    int interval() const override { return m_intervall; }
    void setSingleShot(bool einmal) override { m_einmal = einmal; }
    bool isSingleShot() const override { return m_einmal; }

    void ausloesen()
    {
        if (m_einmal) {
            m_aktiv = false;
        } else {
            // Like a toolkit timer: the next period counts from this timeout.
            m_faellig += std::max(m_intervall, 1);
            m_folge = ++m_uhr.m_folge;
        }
        emit timeout();
    }

    TestUhr &m_uhr;
    int m_intervall = 0;
    bool m_aktiv = false;
    bool m_einmal = false;
    qint64 m_faellig = 0;
    quint64 m_folge = 0;
};

Zeitgeber *TestUhr::neuerZeitgeber(QObject *eltern)
{
    auto *zeitgeber = new TestZeitgeber(*this, eltern);
    m_zeitgeber.append(zeitgeber);
    return zeitgeber;
}

int TestUhr::aktiveZeitgeber() const
{
    return int(std::count_if(m_zeitgeber.cbegin(), m_zeitgeber.cend(),
                             [](const auto &z) { return z && z->m_aktiv; }));
}

void TestUhr::vorspulen(qint64 ms)
{
    const qint64 ziel = m_jetzt + ms;
    for (;;) {
        // The next timer due: the earliest, equal times in the order they were started.
        m_zeitgeber.removeAll(nullptr);
        TestZeitgeber *naechster = nullptr;
        for (TestZeitgeber *z : std::as_const(m_zeitgeber)) {
            if (z->m_aktiv && (!naechster || std::pair(z->m_faellig, z->m_folge) <
                                                 std::pair(naechster->m_faellig, naechster->m_folge)))
                naechster = z;
        }
        if (!naechster || naechster->m_faellig > ziel)
            break;
        m_jetzt = std::max(m_jetzt, naechster->m_faellig);
        naechster->ausloesen();
    }
    m_jetzt = ziel;
}
