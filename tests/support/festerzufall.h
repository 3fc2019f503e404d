#pragma once

#include "zufall.h"

#include <QList>

// Hands out a fixed sequence of numbers, then a plain running sequence (never a constant one, which
// could keep a rejection loop drawing forever); `gezogen` counts the draws.
class FesterZufall final : public Zufall
{
public:
    explicit FesterZufall(QList<int> zahlen = {})
        : m_zahlen(std::move(zahlen))
    {
    }
    int naechste() override
    {
        ++gezogen;
        return m_zahlen.isEmpty() ? (gezogen * 7919) % 100003 : m_zahlen.takeFirst();
    }
    void nachlegen(const QList<int> &zahlen) { m_zahlen += zahlen; }
    int gezogen = 0;

private:
    QList<int> m_zahlen;
};
