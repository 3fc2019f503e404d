#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include "empfaengerprotokoll.h"

namespace simulator {

enum class Family { Morvane, Tandrivelle };

inline constexpr const char (&identificationRequest)[sizeof EmpfaengerProtokoll::Anfrage] =
    EmpfaengerProtokoll::Anfrage;

QByteArray identificationReply(Family family);
const char *familyName(Family family);

// Finds "#INFO$" in the bytes the PC writes, however the serial reads cut them up; anything around
// the request is noise and ignored.
class IdentificationMatcher final
{
public:
    // Returns how many requests were completed by these bytes: each one gets its own answer.
    int feed(QByteArrayView bytes);
    void reset() { m_matched = 0; }

private:
    int m_matched = 0; // length of the request prefix seen at the end of the stream so far
};

} // namespace simulator
