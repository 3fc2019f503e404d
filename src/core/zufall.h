#pragma once

#include <QRandomGenerator>

// Random numbers as the templates draw them (0 … 2147483647). Tests put in a fixed sequence so
// falling leaves land where the test expects.
class Zufall
{
public:
    Zufall() = default;
    Zufall(const Zufall &) = delete;
    Zufall &operator=(const Zufall &) = delete;
    virtual ~Zufall() = default;

    virtual int naechste() = 0;

    static Zufall &system()
    {
        class SystemZufall final : public Zufall
        {
        public:
            int naechste() override { return int(QRandomGenerator::global()->bounded(2147483647u)); }
        };
        static SystemZufall zufall;
        return zufall;
    }
};
