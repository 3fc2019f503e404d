#pragma once

#include "person.h"

#include <QList>

// The one ranking order shared by the ranking page and the exports.
namespace Rangfolge {

// Totals computed and sorted: points highest first, then answer time smallest first, then order
// of first press.
QList<Person> sortiert(QList<Person> personen);

// Whether handsets are named with their class set: in conference mode, and whenever handsets of
// more than one class set took part (handset 21 of two classes are two participants). Phones do
// not count; they are named as phones.
bool klassensatzZeigen(const QList<Person> &personen, bool konferenzmodus);

} // namespace Rangfolge
