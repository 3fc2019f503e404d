#include "identification.h"

#include <cstring>

namespace simulator {

namespace {
constexpr int requestLength = int(sizeof(identificationRequest)) - 1;
}

QByteArray identificationReply(Family family)
{
    return QByteArray(family == Family::Morvane ? EmpfaengerProtokoll::AntwortMorvane
                                                : EmpfaengerProtokoll::AntwortTandrivelle);
}

const char *familyName(Family family)
{
    return family == Family::Morvane ? "morvane" : "tandrivelle";
}

int IdentificationMatcher::feed(QByteArrayView bytes)
{
    int completed = 0;
    for (const char c : bytes) {
        // The request starts with '#' and contains no other '#', so after a mismatch the only
        // prefix that can still be under way is a fresh '#'.
        if (c == identificationRequest[m_matched])
            ++m_matched;
        else
            m_matched = c == identificationRequest[0] ? 1 : 0;
        if (m_matched == requestLength) {
            ++completed;
            m_matched = 0;
        }
    }
    return completed;
}

} // namespace simulator
