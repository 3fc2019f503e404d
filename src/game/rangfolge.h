#pragma once

#include "person.h"

#include <QList>

// The one ranking order shared by the ranking page and the exports.
namespace Rangfolge {

// Totals computed and sorted: points highest first, then answer time smallest first, then order
// of first press.
QList<Person> sortiert(QList<Person> personen);

} // namespace Rangfolge
