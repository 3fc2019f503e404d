#include "uhr.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

namespace {

class QtZeitgeber final : public Zeitgeber
{
public:
    explicit QtZeitgeber(QObject *eltern)
        : Zeitgeber(eltern)
    {
        // Coarse timers may drift by 5 % — too much for a countdown shown to a class.
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &Zeitgeber::timeout);
    }

    void start(int ms) override { m_timer.start(ms); }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    void setInterval(int ms) override { m_timer.setInterval(ms); }
    int interval() const override { return m_timer.interval(); }
    void setSingleShot(bool einmal) override { m_timer.setSingleShot(einmal); }
    bool isSingleShot() const override { return m_timer.isSingleShot(); }

private:
    // A child, so that it moves along when its owner goes to another thread.
    QTimer m_timer{this};
};

class SystemUhr final : public Uhr
{
public:
    SystemUhr() { m_start.start(); }

    Zeitgeber *neuerZeitgeber(QObject *eltern) override { return new QtZeitgeber(eltern); }
    qint64 monotonMs() const override { return m_start.elapsed(); }
    qint64 epochMs() const override { return QDateTime::currentMSecsSinceEpoch(); }

private:
    QElapsedTimer m_start;
};

} // namespace

void Uhr::einmal(int ms, QObject *kontext, std::function<void()> aktion)
{
    Zeitgeber *zeitgeber = neuerZeitgeber(kontext);
    zeitgeber->setSingleShot(true);
    QObject::connect(zeitgeber, &Zeitgeber::timeout, zeitgeber, [zeitgeber, aktion = std::move(aktion)]() {
        zeitgeber->deleteLater();
        aktion();
    });
    zeitgeber->start(ms);
}

Uhr &Uhr::system()
{
    static SystemUhr uhr;
    return uhr;
}
