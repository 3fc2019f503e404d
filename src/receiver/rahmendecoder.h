#pragma once

#include <QMetaType>
#include <QVector>

#include <array>

// One button press as the receiver reports it.
struct Druck
{
    quint32 klassensatz = 0;
    quint32 buzzerNo = 0;
    quint32 buttonNo = 0; // 1 = A ... 4 = D
    bool master = false;  // set by the filter: the presenter's master handset

    friend bool operator==(const Druck &a, const Druck &b)
    {
        return a.klassensatz == b.klassensatz && a.buzzerNo == b.buzzerNo && a.buttonNo == b.buttonNo &&
               a.master == b.master;
    }
    friend bool operator!=(const Druck &a, const Druck &b) { return !(a == b); }
};
Q_DECLARE_METATYPE(Druck)

// Turns the receiver's byte stream into presses. Frames carry no delimiter, so the only way back
// into step after a stray byte or a torn frame is time: the receiver sends a frame in one go, and a
// pause of `Luecke` between two arrivals always falls between frames. Bytes must therefore be
// handed in with the time they arrived at the port, not the time someone got round to reading them.
class RahmenDecoder final
{
public:
    static constexpr qint64 Luecke = 100;

    // The bytes of one read and when they arrived; the whole frames they complete are appended to
    // `druecke` in stream order.
    void lesen(const char *daten, qsizetype laenge, qint64 ankunftMs, QVector<Druck> &druecke);
    // Forgets a started frame, as when the port is opened afresh.
    void vergessen();
    int offeneBytes() const { return m_restLaenge; }

    static Druck entschluesseln(const unsigned char *rahmen);

private:
    std::array<unsigned char, 4> m_rest{};
    int m_restLaenge = 0;
    qint64 m_letzteAnkunft = 0;
    bool m_schonGelesen = false;
};
