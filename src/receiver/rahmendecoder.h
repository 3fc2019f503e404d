#pragma once

#include <QByteArray>
#include <QList>
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

// Turns the receiver's byte stream into presses. Frames carry no delimiter and no checksum, but
// they have structure: the class set (bytes 0-1) is the same for every handset of a class and
// changes rarely, the handset (byte 2) is 1-127. So the decoder keeps the alignment whose frames
// belong to class sets it knows (seen recently, or set as the filter); a frame that does not fit
// makes it try the other three alignments on the bytes at hand and the next frames, and it locks
// again as soon as two frames in a row fit one of them.
//
// Time is only a hint. A busy reading thread sees a pause where the receiver made none, so a pause
// never throws bytes away by itself: it only says where a frame probably starts (after it) and
// ends (before it). Bytes that need more to be told apart wait for the next read, or for
// stille() when nothing more came.
class RahmenDecoder final
{
public:
    // A pause this long between two arrivals falls between frames, unless the reader was held up.
    static constexpr qint64 Luecke = 100;
    // Class sets remembered besides the filter's: more than a room holds.
    static constexpr int Gedaechtnis = 16;

    // The bytes of one read and when they arrived; the frames they complete are appended to
    // `druecke` in stream order.
    void lesen(const char *daten, qsizetype laenge, qint64 ankunftMs, QVector<Druck> &druecke);
    // Nothing has come for at least Luecke: the bytes at hand end with a frame. Decides what
    // waited for more.
    void stille(QVector<Druck> &druecke);
    // Bytes wait that only more bytes or stille() can decide.
    bool wartet() const { return m_puffer.size() >= RahmenLaenge; }
    // Forgets the bytes at hand, as when the port is opened afresh. The class sets stay known:
    // they belong to the room, not to the port.
    void vergessen();
    // The class sets of the filter: known from the first frame on.
    void klassensaetzeVorgeben(const QList<quint32> &klassensaetze);

    int offeneBytes() const { return int(m_puffer.size()); }
    // Bytes that belonged to no frame (stray bytes, torn frames), since the start.
    quint64 verworfeneBytes() const { return m_verworfen; }

    static Druck entschluesseln(const unsigned char *rahmen);
    static bool handsenderPlausibel(unsigned char byte) { return byte >= 1 && byte <= 127; }

private:
    static constexpr int RahmenLaenge = 4;
    // Frames looked at when no class set is known yet.
    static constexpr int Fenster = 8;
    // Frames of one class set in a row that settle the alignment before the window is full.
    static constexpr int Eindeutig = 3;

    void auswerten(bool stilleFolgt, QVector<Druck> &druecke);
    void annehmen(qsizetype pos, QVector<Druck> &druecke);
    void verwerfen(qsizetype &pos, qsizetype bis);
    bool plausibel(qsizetype pos) const;
    bool passt(qsizetype pos) const;
    bool ganzeRahmenAb(qsizetype anfang) const;
    // Some frame from `anfang` (to `bis`, or the end) looks like a stream read out of step.
    bool verschobenGelesen(qsizetype anfang, qsizetype bis = -1) const;
    quint32 klassensatzBei(qsizetype pos) const;
    int verschoben(qsizetype pos) const;
    int ersteBekanntschaft(qsizetype pos, int mindestens = 2) const;
    bool bekannt(quint32 klassensatz) const;
    void merken(quint32 klassensatz);

    struct Gemerkt
    {
        quint32 klassensatz = 0;
        quint64 zuletzt = 0;
    };

    QByteArray m_puffer;
    // Where in m_puffer the bytes after the latest pause begin; -1 when no pause lies inside.
    qsizetype m_lueckeBei = -1;
    qint64 m_letzteAnkunft = 0;
    bool m_schonGelesen = false;
    // The bytes at hand begin right after an accepted frame.
    bool m_imTakt = false;
    std::array<Gemerkt, Gedaechtnis> m_gemerkt{};
    int m_anzahlGemerkt = 0;
    quint64 m_folge = 0;
    QList<quint32> m_vorgegeben;
    quint64 m_verworfen = 0;
};
