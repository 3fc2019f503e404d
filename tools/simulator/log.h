#pragma once

#include <QString>

namespace simulator {

// One line per event on stderr, prefixed so it stands out among the program's own output when both
// run in one terminal or one test log.
void logEvent(const QString &message);
// Presses and received bytes: left out with --quiet, since a burst or a long random run makes many.
void logDetail(const QString &message);
void setQuiet(bool quiet);

} // namespace simulator
