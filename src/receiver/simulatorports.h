#pragma once

#include <QString>
#include <QStringList>

// Receiver simulators announce their pseudo terminal in the user's runtime folder, one file
// "<pid>.pty" each, holding the terminal's path. Only these terminals are ever probed.
namespace SimulatorPorts {

QString ankuendigungsOrdner();
// The terminals of simulators that are still running; announcements of ended ones are ignored.
QStringList laufende();

} // namespace SimulatorPorts
