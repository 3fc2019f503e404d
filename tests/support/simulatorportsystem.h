#pragma once

#include "qtseriellerport.h"
#include "simulatorports.h"

// Real serial ports, but only the terminals of running receiver simulators: tests and benchmarks
// never write to a real serial port of the machine.
class SimulatorPortSystem final : public PortSystem
{
public:
    QStringList portNamen() const override { return SimulatorPorts::laufende(); }
    std::unique_ptr<SeriellerPort> neuerPort() override { return std::make_unique<QtSeriellerPort>(); }
};
