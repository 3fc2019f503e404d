#pragma once

#include <QStringList>

// The IPv4 addresses under which other devices in the local network can reach this computer:
// those of every interface that is up, loopback excepted, sorted.
QStringList lokaleAdressen();
