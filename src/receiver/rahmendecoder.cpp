#include "rahmendecoder.h"

#include "empfaengerprotokoll.h"

namespace P = EmpfaengerProtokoll;

static_assert(P::RahmenLaenge == 4, "the frame buffer holds four bytes");

Druck RahmenDecoder::entschluesseln(const unsigned char *rahmen)
{
    Druck druck;
    druck.klassensatz = (quint32(rahmen[P::KlassensatzHochByte]) << 8) | rahmen[P::KlassensatzTiefByte];
    // Handset numbers are taken as 0-255: every part that stores a handset can hold that.
    druck.buzzerNo = rahmen[P::HandsenderByte];
    druck.buttonNo = (rahmen[P::KnopfByte] & P::KnopfMaske) + 1;
    return druck;
}

void RahmenDecoder::lesen(const char *daten, qsizetype laenge, qint64 ankunftMs, QVector<Druck> &druecke)
{
    if (laenge <= 0)
        return;
    // After a pause the next byte starts a frame: whatever was left over was a stray byte or the
    // head of a frame whose tail is not coming.
    if (!m_schonGelesen || ankunftMs - m_letzteAnkunft >= Luecke)
        m_restLaenge = 0;
    m_schonGelesen = true;
    m_letzteAnkunft = ankunftMs;

    const auto *bytes = reinterpret_cast<const unsigned char *>(daten);
    qsizetype i = 0;
    if (m_restLaenge > 0) {
        while (m_restLaenge < P::RahmenLaenge && i < laenge)
            m_rest[std::size_t(m_restLaenge++)] = bytes[i++];
        if (m_restLaenge < P::RahmenLaenge)
            return;
        druecke.append(entschluesseln(m_rest.data()));
        m_restLaenge = 0;
    }
    for (; i + P::RahmenLaenge <= laenge; i += P::RahmenLaenge)
        druecke.append(entschluesseln(bytes + i));
    while (i < laenge)
        m_rest[std::size_t(m_restLaenge++)] = bytes[i++];
}

void RahmenDecoder::vergessen()
{
    m_restLaenge = 0;
    m_schonGelesen = false;
}
