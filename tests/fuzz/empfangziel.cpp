#include "empfangsfilter.h"
#include "fuzzziele.h"
#include "rahmendecoder.h"

#include <QHash>
#include <QVector>

namespace {

// Pauses chosen so that both sides of the decoder's limit are hit often.
constexpr qint64 Pausen[4] = {0, 3, RahmenDecoder::Luecke - 1, RahmenDecoder::Luecke};
// Bytes the decoder may hold between reads: three stray bytes and its window of eight frames.
constexpr int HoechstensOffen = 3 + 8 * 4;

// Arbitrary bytes: whatever comes out is a press that can exist, the filter keeps its promises and
// the decoder holds no more than its window.
void rohstrom(const std::uint8_t *daten, std::size_t laenge)
{
    // Settings: a class set filter on the low bits of byte 0, a master handset from byte 1.
    EmpfangsEinstellungen einstellungen;
    einstellungen.aktiveKlassensaetze = QStringList(6, QString());
    QList<quint32> vorgegeben;
    if (daten[0] & 0x80) {
        einstellungen.aktiveKlassensaetze[daten[0] % 6] = QString::number(daten[0] & 0x07);
        vorgegeben.append(daten[0] & 0x07);
    }
    einstellungen.steuerungUeberMaster = daten[1] & 0x80;
    einstellungen.masterBuzzer = QString::number(daten[1] & 0x7f);
    einstellungen.masterKlassensatz = QString::number(daten[0] & 0x07);
    EmpfangsFilter filter;
    filter.setzen(einstellungen);

    RahmenDecoder decoder;
    decoder.klassensaetzeVorgeben(vorgegeben);
    QVector<Druck> druecke;
    QHash<quint32, QVector<qint64>> angenommen;
    qint64 zeit = 0;
    std::size_t bytes = 0;
    for (std::size_t i = 2; i < laenge;) {
        const std::uint8_t steuer = daten[i++];
        const std::size_t n = std::min<std::size_t>(steuer & 0x3f, laenge - i);
        zeit += Pausen[steuer >> 6];
        const qsizetype vorher = druecke.size();
        // A read of nothing stands for the line falling quiet.
        if (n == 0)
            decoder.stille(druecke);
        else
            decoder.lesen(reinterpret_cast<const char *>(daten + i), qsizetype(n), zeit, druecke);
        bytes += n;
        i += n;
        for (qsizetype d = vorher; d < druecke.size(); ++d) {
            Druck druck = druecke[d];
            if (druck.klassensatz > 0xffff || !RahmenDecoder::handsenderPlausibel(uchar(druck.buzzerNo)) ||
                druck.buzzerNo > 127 || druck.buttonNo < 1 || druck.buttonNo > 4)
                Fuzzziele::gebrochen("receive path", "a press out of range");
            const auto urteil = filter.pruefen(druck, zeit);
            const bool klassensatzOk =
                EmpfangsFilter::klassensatzAngenommen(einstellungen.aktiveKlassensaetze, druck.klassensatz);
            if ((urteil == EmpfangsFilter::Urteil::FremderKlassensatz) == klassensatzOk)
                Fuzzziele::gebrochen("receive path", "the class set filter disagrees with itself");
            if (druck.master && (!einstellungen.steuerungUeberMaster ||
                                 QString::number(druck.buzzerNo) != einstellungen.masterBuzzer))
                Fuzzziele::gebrochen("receive path", "a master press that is not the master handset");
            if (urteil != EmpfangsFilter::Urteil::Angenommen)
                continue;
            QVector<qint64> &zeiten = angenommen[(druck.klassensatz << 8) | druck.buzzerNo];
            zeiten.append(zeit);
            const qsizetype n20 = zeiten.size() - EmpfangsFilter::HoechstensJeSekunde - 1;
            if (n20 >= 0 && zeit - zeiten.at(n20) < 1000)
                Fuzzziele::gebrochen("receive path",
                                     "more presses of one handset in a second than the flood limit");
        }
        if (decoder.offeneBytes() < 0 || decoder.offeneBytes() >= HoechstensOffen)
            Fuzzziele::gebrochen("receive path", "more bytes held than the decoder's window");
    }
    if (qsizetype(bytes / 4) < druecke.size())
        Fuzzziele::gebrochen("receive path", "more presses than frames");
}

// The same bytes read as a lesson: real frames of up to three class sets, single stray bytes
// between them, reads cut anywhere and held up for up to half a second. No stray byte may turn
// into a press, and each may cost at most the one press it touches.
//
// Without a checksum some class sets can be mimicked by a shifted stream: one whose low byte is
// another's high byte, or whose high byte is a possible handset number. Such rooms are not
// generated; the decoder gives no promise for them beyond the raw stream's.
void streubytes(const std::uint8_t *daten, std::size_t laenge)
{
    std::size_t i = 0;
    const auto naechstes = [&]() -> std::uint8_t {
        return i < laenge ? daten[i++] : 0;
    };
    const int anzahlSaetze = 1 + naechstes() % 3;
    QVector<quint32> saetze;
    for (int s = 0; s < anzahlSaetze; ++s) {
        const std::uint8_t hoch = naechstes();
        const std::uint8_t tief = naechstes();
        saetze.append((quint32(hoch < 128 ? 0 : hoch) << 8) | tief);
    }
    for (quint32 a : saetze) {
        for (quint32 b : saetze) {
            if ((a & 0xff) == (b >> 8))
                return;
        }
    }

    RahmenDecoder decoder;
    QVector<Druck> empfangen;
    QVector<Druck> gesendet;
    QByteArray unterwegs; // sent, not yet read
    qint64 zeit = 0;
    int streu = 0;
    int rahmenSeitStreu = 2;
    const auto rahmen = [&](quint32 satz, std::uint8_t handsender, std::uint8_t knopf) {
        const char r[4] = {char(satz >> 8), char(satz & 0xff), char(handsender), char(knopf)};
        unterwegs.append(r, 4);
        Druck d = RahmenDecoder::entschluesseln(reinterpret_cast<const unsigned char *>(r));
        gesendet.append(d);
        ++rahmenSeitStreu;
    };
    const auto lesen = [&](qsizetype n) {
        n = std::min(n, unterwegs.size());
        if (n > 0)
            decoder.lesen(unterwegs.constData(), n, zeit, empfangen);
        unterwegs.remove(0, n);
    };
    // Each class set heard once, as in the first question of a lesson.
    for (quint32 satz : saetze)
        rahmen(satz, 1, 0);
    lesen(unterwegs.size());
    decoder.stille(empfangen);

    constexpr qint64 Halt[4] = {0, 3, RahmenDecoder::Luecke, 5 * RahmenDecoder::Luecke};
    while (i < laenge) {
        const std::uint8_t was = naechstes();
        switch (was & 0x03) {
        case 0:
        case 1: { // a frame; its button byte carries junk in the unused bits
            const std::uint8_t handsender = 1 + naechstes() % 127;
            rahmen(saetze.at(naechstes() % saetze.size()), handsender, naechstes());
            break;
        }
        case 2: // a stray byte, never two close together
            if (rahmenSeitStreu >= 2) {
                unterwegs.append(char(naechstes()));
                ++streu;
                rahmenSeitStreu = 0;
            }
            break;
        case 3: // the reader comes round: reads part of what is on its way, after a hold-up
            zeit += Halt[(was >> 2) & 0x03];
            lesen((was >> 4) * 3);
            // Only a line that has really fallen quiet lets the reader's silence timer run.
            if (unterwegs.isEmpty() && (was & 0x80)) {
                zeit += RahmenDecoder::Luecke;
                decoder.stille(empfangen);
            }
            break;
        }
    }
    zeit += RahmenDecoder::Luecke;
    lesen(unterwegs.size());
    decoder.stille(empfangen);

    // Every press received must be one sent, in order; what is left over was lost.
    qsizetype g = 0;
    for (const Druck &d : empfangen) {
        while (g < gesendet.size() && gesendet.at(g) != d)
            ++g;
        if (g == gesendet.size())
            Fuzzziele::gebrochen("receive path", "a stray byte turned into a press");
        ++g;
    }
    if (gesendet.size() - empfangen.size() > streu)
        Fuzzziele::gebrochen("receive path", "more presses lost than stray bytes");
}

} // namespace

void Fuzzziele::empfang(const std::uint8_t *daten, std::size_t laenge)
{
    if (laenge < 2)
        return;
    rohstrom(daten, laenge);
    streubytes(daten, laenge);
}
