#pragma once

// A class of phones for the benchmarks: WebSocket clients of the phones' server on a thread of
// their own, each joining with the code and pressing in turn at an even pace. On a machine with
// two cores they compete with the program for the processor, which real phones never do: their
// thread can run at a lower priority, so the figures measured are the program's.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QNetworkRequest>
#include <QQueue>
#include <QThread>
#include <QTimer>
#include <QWebSocket>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace bench {

// Wakes a main thread that sleeps in its event loop until a condition holds.
inline void aufwecken()
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), []() {}, Qt::QueuedConnection);
}

// The send times of each phone's presses, oldest first: written by the phones' thread around a
// press going out (see takt), read by the main thread when the program has it.
struct Sendezeiten
{
    QMutex sperre;
    QHash<uint, QQueue<qint64>> jeNummer;

    // The send time of the oldest press of `nummer` not yet taken, or -1.
    qint64 nehmen(uint nummer)
    {
        const QMutexLocker sperren(&sperre);
        QQueue<qint64> &offen = jeNummer[nummer];
        return offen.isEmpty() ? -1 : offen.dequeue();
    }
};

class Telefone final
{
public:
    static constexpr int Nice = 10;

    // `anzahl` phones press `druckeJe` times each; all presses go out evenly within `dauerNs`.
    Telefone(Sendezeiten &sendezeiten, const QElapsedTimer &uhr, int anzahl, int druckeJe, qint64 dauerNs)
        : m_sendezeiten(sendezeiten)
        , m_uhr(uhr)
        , m_anzahl(anzahl)
        , m_alle(qint64(anzahl) * druckeJe)
        , m_dauerNs(dauerNs)
    {
        m_faden.setObjectName(QStringLiteral("Telefone"));
        m_kontext.moveToThread(&m_faden);
        m_faden.start();
    }
    ~Telefone()
    {
        QMetaObject::invokeMethod(
            &m_kontext,
            [this]() {
                m_takt.reset();
                m_telefone.clear();
                m_kontext.moveToThread(QCoreApplication::instance()->thread());
            },
            Qt::BlockingQueuedConnection);
        m_faden.quit();
        m_faden.wait();
    }
    Q_DISABLE_COPY_MOVE(Telefone)

    // Returns whether the phones' thread runs at the lower priority.
    bool oeffnen(quint16 port, const QString &code, bool zurueckstellen)
    {
        bool zurueckgestellt = false;
        QMetaObject::invokeMethod(
            &m_kontext,
            [&]() {
                m_id = ::gettid();
                // On Linux a thread's nice value is its own.
                zurueckgestellt = zurueckstellen && ::setpriority(PRIO_PROCESS, id_t(m_id), Nice) == 0;
                for (int i = 0; i < m_anzahl; ++i)
                    oeffnen(port, code);
            },
            Qt::BlockingQueuedConnection);
        return zurueckgestellt;
    }

    void druecken()
    {
        QMetaObject::invokeMethod(&m_kontext, [this]() {
            m_lauf.start();
            m_takt = std::make_unique<QTimer>();
            m_takt->setTimerType(Qt::PreciseTimer);
            QObject::connect(m_takt.get(), &QTimer::timeout, m_takt.get(), [this]() { takt(); });
            m_takt->start(5);
        });
    }

    qint64 id() const { return m_id; }
    int beigetreten() const { return m_beigetreten; }
    int quittiert() const { return m_quittiert; }
    int aufgehalten() const { return m_aufgehalten; }
    qint64 alle() const { return m_alle; }
    // Pressing ran late when the phones did not get a core in time.
    double druckDauer() const { return double(m_gesendetNach) / 1e9; }

private:
    // A press whose sending took longer than this was held up in the phones' own thread.
    static constexpr qint64 AufgehaltenNs = 1'000'000;

    struct Telefon
    {
        std::unique_ptr<QWebSocket> socket = std::make_unique<QWebSocket>();
        uint nummer = 0;
        int gedrueckt = 0;
    };

    void oeffnen(quint16 port, const QString &code)
    {
        Telefon &t = *m_telefone.emplace_back(std::make_unique<Telefon>());
        QObject::connect(
            t.socket.get(), &QWebSocket::textMessageReceived, &m_kontext, [this, &t](const QString &text) {
                const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
                const QString typ = o.value(QStringLiteral("typ")).toString();
                if (typ == QLatin1String("willkommen")) {
                    t.nummer = uint(o.value(QStringLiteral("nummer")).toInt());
                    if (++m_beigetreten == m_anzahl)
                        aufwecken();
                } else if (typ == QLatin1String("quittung") && o.value(QStringLiteral("gezaehlt")).toBool()) {
                    if (++m_quittiert == m_alle)
                        aufwecken();
                }
            });
        QNetworkRequest anfrage(QUrl(QStringLiteral("ws://127.0.0.1:%1/ws?c=%2").arg(port).arg(code)));
        anfrage.setRawHeader("Origin", "http://127.0.0.1:" + QByteArray::number(port));
        t.socket->open(anfrage);
    }

    // Sends every press that is due by now, so a tick that comes late does not lower the rate.
    void takt()
    {
        const qint64 faellig =
            std::min(m_alle, m_lauf.nsecsElapsed() * m_alle / std::max<qint64>(1, m_dauerNs));
        for (; m_gesendet < faellig; ++m_gesendet) {
            Telefon &t = *m_telefone[std::size_t(m_gesendet % m_anzahl)];
            ++t.gedrueckt;
            const qint64 vorher = m_uhr.nsecsElapsed();
            {
                const QMutexLocker sperre(&m_sendezeiten.sperre);
                m_sendezeiten.jeNummer[t.nummer].enqueue(vorher);
            }
            t.socket->sendTextMessage(QStringLiteral("{\"typ\":\"druck\",\"knopf\":%1}")
                                          .arg(1 + (t.gedrueckt + int(t.nummer)) % 4));
            // Out now, not at the thread's next turn of its event loop.
            t.socket->flush();
            // The press counts from when it was handed to the system: a phones' thread that lost
            // its core while sending is the benchmark's wait, not the program's. The time had to
            // be queued before sending (the program may answer at once); it is moved on unless
            // the program has taken it already, when the wait stays counted against the program.
            const qint64 nachher = m_uhr.nsecsElapsed();
            {
                const QMutexLocker sperre(&m_sendezeiten.sperre);
                QQueue<qint64> &zeiten = m_sendezeiten.jeNummer[t.nummer];
                if (!zeiten.isEmpty() && zeiten.last() == vorher)
                    zeiten.last() = nachher;
            }
            if (nachher - vorher > AufgehaltenNs)
                ++m_aufgehalten;
        }
        if (m_gesendet == m_alle) {
            m_gesendetNach = m_lauf.nsecsElapsed();
            m_takt->stop();
        }
    }

    Sendezeiten &m_sendezeiten;
    const QElapsedTimer &m_uhr;
    const int m_anzahl;
    const qint64 m_alle;
    const qint64 m_dauerNs;
    QThread m_faden;
    QObject m_kontext;
    std::vector<std::unique_ptr<Telefon>> m_telefone;
    std::unique_ptr<QTimer> m_takt;
    QElapsedTimer m_lauf;
    qint64 m_gesendet = 0;
    std::atomic<qint64> m_id{0};
    std::atomic<qint64> m_gesendetNach{0};
    std::atomic<int> m_beigetreten{0};
    std::atomic<int> m_quittiert{0};
    std::atomic<int> m_aufgehalten{0};
};

} // namespace bench
