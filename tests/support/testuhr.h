#pragma once

#include "uhr.h"

#include <QList>
#include <QPointer>

// A clock the test advances by hand. Timers fire in the order of their due times (equal times in
// the order they were started), each at exactly its due time.
class TestUhr final : public Uhr
{
public:
    TestUhr() = default;

    Zeitgeber *neuerZeitgeber(QObject *eltern) override;
    qint64 monotonMs() const override { return m_jetzt; }
    qint64 epochMs() const override { return m_epochBasis + m_jetzt; }

    // Advances the clock by `ms`, firing every timer that comes due on the way. vorspulen(0)
    // fires the timers due now (zero-length single shots).
    void vorspulen(qint64 ms);
    qint64 jetzt() const { return m_jetzt; }
    int aktiveZeitgeber() const;

private:
    friend class TestZeitgeber;
    qint64 m_jetzt = 0;
    qint64 m_epochBasis = 1'700'000'000'000;
    quint64 m_folge = 0;
    QList<QPointer<class TestZeitgeber>> m_zeitgeber;
};
