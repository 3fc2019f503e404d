#pragma once

#include <QObject>

#include <functional>

// A timer as the game sees it. The program uses toolkit timers; tests put in a clock they
// advance by hand, so a 15-second countdown is checked without waiting 15 seconds.
class Zeitgeber : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Zeitgeber)

public:
    using QObject::QObject;

    virtual void start(int ms) = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setSingleShot(bool einmal) = 0;
    virtual bool isSingleShot() const = 0;

signals:
    void timeout();
};

class Uhr
{
    Q_DISABLE_COPY_MOVE(Uhr)

public:
    Uhr() = default;
    virtual ~Uhr() = default;

    // The timer belongs to `eltern` like any QObject child.
    virtual Zeitgeber *neuerZeitgeber(QObject *eltern) = 0;
    // Milliseconds of a monotonic clock, for measuring running times.
    virtual qint64 monotonMs() const = 0;
    // Milliseconds since the epoch, for time stamps.
    virtual qint64 epochMs() const = 0;

    // Calls `aktion` once after `ms`, unless `kontext` is gone by then.
    void einmal(int ms, QObject *kontext, std::function<void()> aktion);

    // The toolkit's clock.
    static Uhr &system();
};

// A stopwatch on an Uhr, like QElapsedTimer.
class Stoppuhr final
{
public:
    explicit Stoppuhr(const Uhr &uhr)
        : m_uhr(&uhr)
    {
    }

    void restart() { m_start = m_uhr->monotonMs(); }
    bool isValid() const { return m_start >= 0; }
    qint64 elapsed() const { return isValid() ? m_uhr->monotonMs() - m_start : 0; }

private:
    const Uhr *m_uhr;
    qint64 m_start = -1;
};
