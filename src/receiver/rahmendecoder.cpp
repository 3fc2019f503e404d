#include "rahmendecoder.h"

#include "empfaengerprotokoll.h"

#include <algorithm>

namespace P = EmpfaengerProtokoll;

static_assert(P::RahmenLaenge == 4, "the decoder looks at frames of four bytes");

Druck RahmenDecoder::entschluesseln(const unsigned char *rahmen)
{
    Druck druck;
    druck.klassensatz = (quint32(rahmen[P::KlassensatzHochByte]) << 8) | rahmen[P::KlassensatzTiefByte];
    druck.buzzerNo = rahmen[P::HandsenderByte];
    druck.buttonNo = (rahmen[P::KnopfByte] & P::KnopfMaske) + 1;
    return druck;
}

void RahmenDecoder::lesen(const char *daten, qsizetype laenge, qint64 ankunftMs, QVector<Druck> &druecke)
{
    if (laenge <= 0)
        return;
    if (!m_schonGelesen || ankunftMs - m_letzteAnkunft >= Luecke)
        m_lueckeBei = m_puffer.size();
    m_schonGelesen = true;
    m_letzteAnkunft = ankunftMs;
    m_puffer.append(daten, laenge);
    auswerten(false, druecke);
}

void RahmenDecoder::stille(QVector<Druck> &druecke)
{
    auswerten(true, druecke);
}

void RahmenDecoder::vergessen()
{
    m_puffer.clear();
    m_imTakt = false;
    m_lueckeBei = -1;
    m_schonGelesen = false;
}

void RahmenDecoder::klassensaetzeVorgeben(const QList<quint32> &klassensaetze)
{
    m_vorgegeben = klassensaetze;
}

void RahmenDecoder::auswerten(bool stilleFolgt, QVector<Druck> &druecke)
{
    const qsizetype groesse = m_puffer.size();
    qsizetype pos = 0;
    while (groesse - pos >= RahmenLaenge) {
        const qsizetype rest = groesse - pos;
        const bool naechsterDa = rest >= 2 * RahmenLaenge;
        const bool ueberLuecke = m_lueckeBei > pos && m_lueckeBei < pos + RahmenLaenge;
        if (passt(pos)) {
            // A frame that spans a pause needs the next frame to back it; otherwise the frame
            // that starts after the pause wins.
            if (ueberLuecke && passt(m_lueckeBei) && !(naechsterDa && passt(pos + RahmenLaenge))) {
                verwerfen(pos, m_lueckeBei);
                continue;
            }
            // The next frame at hand does not fit while a shifted alignment has two that do: this
            // one fitted by chance in a stream knocked out of step.
            if (naechsterDa && !passt(pos + RahmenLaenge)) {
                if (const int k = verschoben(pos)) {
                    verwerfen(pos, pos + k);
                    continue;
                }
            }
            annehmen(pos, druecke);
            pos += RahmenLaenge;
            continue;
        }
        // The bytes before a pause were the head of a frame whose tail did not come.
        if (ueberLuecke && passt(m_lueckeBei)) {
            verwerfen(pos, m_lueckeBei);
            continue;
        }
        if (const int k = verschoben(pos)) {
            verwerfen(pos, pos + k);
            continue;
        }
        // A handset of a class set not heard yet, between frames of known ones.
        if (naechsterDa && plausibel(pos) && passt(pos + RahmenLaenge)) {
            merken(klassensatzBei(pos));
            annehmen(pos, druecke);
            pos += RahmenLaenge;
            continue;
        }
        // A hall's many class sets come interleaved, none twice in a row: a new one right after an
        // accepted frame is taken when the next frame is plausible too and no other alignment has
        // two known frames in a row. Waiting for it to come back would let a shifted alignment win,
        // whose "class sets" are the buttons times 256 and repeat more often; those never come in
        // this way.
        if (m_imTakt && !ueberLuecke && rest >= 3 * RahmenLaenge - 1 && plausibel(pos) &&
            plausibel(pos + RahmenLaenge) && !verschobenGelesen(pos, pos + RahmenLaenge)) {
            merken(klassensatzBei(pos));
            annehmen(pos, druecke);
            pos += RahmenLaenge;
            continue;
        }
        // Nothing known yet (the first presses after start-up): whole frames right after a
        // pause are taken as they are, so the first handset is heard at once.
        if (m_anzahlGemerkt == 0 && m_vorgegeben.isEmpty() && (m_lueckeBei == pos || ueberLuecke) &&
            ganzeRahmenAb(m_lueckeBei) && !verschobenGelesen(m_lueckeBei)) {
            verwerfen(pos, m_lueckeBei);
            for (; pos < groesse; pos += RahmenLaenge)
                annehmen(pos, druecke);
            continue;
        }
        if (rest >= RahmenLaenge - 1 + Fenster * RahmenLaenge || ersteBekanntschaft(pos, Eindeutig) >= 0) {
            const int k = ersteBekanntschaft(pos);
            if (k >= 0) {
                verwerfen(pos, pos + k);
                merken(klassensatzBei(pos));
            } else {
                verwerfen(pos, pos + 1);
            }
            continue;
        }
        if (!stilleFolgt)
            break;

        // Nothing more is coming, so the bytes at hand end with a frame. A known frame behind
        // a stray byte or two first:
        bool gefunden = false;
        for (int k = 1; k < RahmenLaenge && !gefunden; ++k) {
            if (passt(pos + k)) {
                verwerfen(pos, pos + k);
                gefunden = true;
            }
        }
        if (gefunden)
            continue;
        // Then frames of class sets heard for the first time, counted back from the end.
        const qsizetype anfang = pos + rest % RahmenLaenge;
        if (ganzeRahmenAb(anfang)) {
            verwerfen(pos, anfang);
            for (; pos < groesse; pos += RahmenLaenge)
                annehmen(pos, druecke);
        } else if (const int k = ersteBekanntschaft(pos); k >= 0) {
            verwerfen(pos, pos + k);
            merken(klassensatzBei(pos));
        } else {
            verwerfen(pos, groesse);
        }
    }
    m_puffer.remove(0, pos);
    // A pause right where the bytes left over begin still marks their start.
    m_lueckeBei = m_lueckeBei >= pos ? m_lueckeBei - pos : -1;
}

void RahmenDecoder::annehmen(qsizetype pos, QVector<Druck> &druecke)
{
    const Druck druck = entschluesseln(reinterpret_cast<const unsigned char *>(m_puffer.constData() + pos));
    merken(druck.klassensatz);
    druecke.append(druck);
    m_imTakt = true;
}

void RahmenDecoder::verwerfen(qsizetype &pos, qsizetype bis)
{
    m_verworfen += quint64(bis - pos);
    m_imTakt = m_imTakt && bis == pos;
    pos = bis;
}

bool RahmenDecoder::plausibel(qsizetype pos) const
{
    return pos + RahmenLaenge <= m_puffer.size() &&
           handsenderPlausibel(static_cast<unsigned char>(m_puffer.at(pos + P::HandsenderByte)));
}

// From `anfang` to the end of the bytes at hand: whole frames, each with a plausible handset.
bool RahmenDecoder::ganzeRahmenAb(qsizetype anfang) const
{
    if (anfang < 0 || (m_puffer.size() - anfang) % RahmenLaenge != 0 || anfang >= m_puffer.size())
        return false;
    for (qsizetype p = anfang; p < m_puffer.size(); p += RahmenLaenge) {
        if (!plausibel(p))
            return false;
    }
    return true;
}

// A stream read out of step shows a button or a stray byte as the high byte of the class set and
// the next frame's high byte, 0 for class sets below 256, as its low byte: 256, 512, 768 or more.
// Class set 0 is real, and button A read out of step looks like it; the other buttons do not.
bool RahmenDecoder::verschobenGelesen(qsizetype anfang, qsizetype bis) const
{
    for (qsizetype p = anfang; p + RahmenLaenge <= m_puffer.size() && (bis < 0 || p < bis);
         p += RahmenLaenge) {
        const quint32 klassensatz = klassensatzBei(p);
        if (klassensatz != 0 && (klassensatz & 0xff) == 0)
            return true;
    }
    return false;
}

bool RahmenDecoder::passt(qsizetype pos) const
{
    return plausibel(pos) && bekannt(klassensatzBei(pos));
}

quint32 RahmenDecoder::klassensatzBei(qsizetype pos) const
{
    const auto *b = reinterpret_cast<const unsigned char *>(m_puffer.constData() + pos);
    return (quint32(b[P::KlassensatzHochByte]) << 8) | b[P::KlassensatzTiefByte];
}

// The shift of 1-3 bytes after `pos` at which two frames in a row fit; 0 if there is none at hand.
int RahmenDecoder::verschoben(qsizetype pos) const
{
    for (int k = 1; k < RahmenLaenge; ++k) {
        if (passt(pos + k) && passt(pos + k + RahmenLaenge))
            return k;
    }
    return 0;
}

// With no class set known yet: the shift of 0-3 bytes whose first frame's class set comes back most
// often in the frames at hand; handsets that differ break a tie (a stream shifted by three bytes
// shows one class set too, but always the same "handset"). -1 if no class set comes back at least
// `mindestens` times, or if another shift does as well.
int RahmenDecoder::ersteBekanntschaft(qsizetype pos, int mindestens) const
{
    int beste = -1;
    int besteWertung = 0;
    bool gleichauf = false;
    for (int k = 0; k < RahmenLaenge; ++k) {
        const qsizetype anfang = pos + k;
        if (!plausibel(anfang))
            continue;
        const quint32 klassensatz = klassensatzBei(anfang);
        const char handsender = m_puffer.at(anfang + P::HandsenderByte);
        int gleiche = 0;
        bool verschieden = false;
        for (int i = 0; i < Fenster && plausibel(anfang + i * RahmenLaenge); ++i) {
            const qsizetype p = anfang + i * RahmenLaenge;
            if (klassensatzBei(p) != klassensatz)
                continue;
            ++gleiche;
            verschieden = verschieden || m_puffer.at(p + P::HandsenderByte) != handsender;
        }
        const int wertung = 2 * gleiche + (verschieden ? 1 : 0);
        if (gleiche < mindestens)
            continue;
        gleichauf = gleichauf || wertung == besteWertung;
        if (wertung > besteWertung) {
            beste = k;
            besteWertung = wertung;
            gleichauf = false;
        }
    }
    // A tie is settled by the earlier shift once the window is full, never before.
    return gleichauf && mindestens > 2 ? -1 : beste;
}

bool RahmenDecoder::bekannt(quint32 klassensatz) const
{
    if (m_vorgegeben.contains(klassensatz))
        return true;
    for (int i = 0; i < m_anzahlGemerkt; ++i) {
        if (m_gemerkt[std::size_t(i)].klassensatz == klassensatz)
            return true;
    }
    return false;
}

void RahmenDecoder::merken(quint32 klassensatz)
{
    ++m_folge;
    for (int i = 0; i < m_anzahlGemerkt; ++i) {
        if (m_gemerkt[std::size_t(i)].klassensatz == klassensatz) {
            m_gemerkt[std::size_t(i)].zuletzt = m_folge;
            return;
        }
    }
    if (m_anzahlGemerkt < Gedaechtnis) {
        m_gemerkt[std::size_t(m_anzahlGemerkt++)] = {klassensatz, m_folge};
        return;
    }
    // The class set heard longest ago makes room.
    auto *aeltester =
        std::min_element(m_gemerkt.begin(), m_gemerkt.end(),
                         [](const Gemerkt &a, const Gemerkt &b) { return a.zuletzt < b.zuletzt; });
    *aeltester = {klassensatz, m_folge};
}
