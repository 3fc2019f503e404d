#include "empfangsfilter.h"
#include "fuzzziele.h"
#include "rahmendecoder.h"

#include <QHash>
#include <QVector>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void gebrochen(const char *was)
{
    std::fprintf(stderr, "receive path: %s\n", was);
    std::abort();
}

// Pauses chosen so that both sides of the decoder's limit are hit often.
constexpr qint64 Pausen[4] = {0, 3, RahmenDecoder::Luecke - 1, RahmenDecoder::Luecke};

} // namespace

void Fuzzziele::empfang(const std::uint8_t *daten, std::size_t laenge)
{
    if (laenge < 2)
        return;
    // Settings: a class set filter on the low bits of byte 0, a master handset from byte 1.
    EmpfangsEinstellungen einstellungen;
    einstellungen.aktiveKlassensaetze = QStringList(6, QString());
    if (daten[0] & 0x80)
        einstellungen.aktiveKlassensaetze[daten[0] % 6] = QString::number(daten[0] & 0x07);
    einstellungen.steuerungUeberMaster = daten[1] & 0x80;
    einstellungen.masterBuzzer = QString::number(daten[1] & 0x7f);
    einstellungen.masterKlassensatz = QString::number(daten[0] & 0x07);
    EmpfangsFilter filter;
    filter.setzen(einstellungen);

    RahmenDecoder decoder;
    QVector<Druck> druecke;
    // The model: the stream cut at every pause of at least Luecke, each piece read as whole
    // frames from its start.
    QVector<Druck> erwartet;
    QByteArray stueck;
    const auto stueckFertig = [&]() {
        for (qsizetype i = 0; i + 4 <= stueck.size(); i += 4)
            erwartet.append(RahmenDecoder::entschluesseln(
                reinterpret_cast<const unsigned char *>(stueck.constData() + i)));
        stueck.clear();
    };

    QHash<quint32, QVector<qint64>> angenommen;
    qint64 zeit = 0;
    qint64 letzteAnkunft = 0;
    std::size_t bytes = 0;
    bool erster = true;
    for (std::size_t i = 2; i < laenge;) {
        const std::uint8_t steuer = daten[i++];
        const std::size_t n = std::min<std::size_t>(steuer & 0x3f, laenge - i);
        zeit += Pausen[steuer >> 6];
        if (n > 0) {
            // An empty read is no arrival: the pause counts from the last bytes.
            if (erster || zeit - letzteAnkunft >= RahmenDecoder::Luecke)
                stueckFertig();
            erster = false;
            letzteAnkunft = zeit;
            stueck.append(reinterpret_cast<const char *>(daten + i), qsizetype(n));
        }
        const qsizetype vorher = druecke.size();
        decoder.lesen(reinterpret_cast<const char *>(daten + i), qsizetype(n), zeit, druecke);
        bytes += n;
        i += n;
        for (qsizetype d = vorher; d < druecke.size(); ++d) {
            Druck druck = druecke[d];
            if (druck.klassensatz > 0xffff || druck.buzzerNo > 0xff || druck.buttonNo < 1 ||
                druck.buttonNo > 4)
                gebrochen("a press out of range");
            const auto urteil = filter.pruefen(druck, zeit);
            const bool klassensatzOk =
                EmpfangsFilter::klassensatzAngenommen(einstellungen.aktiveKlassensaetze, druck.klassensatz);
            if ((urteil == EmpfangsFilter::Urteil::FremderKlassensatz) == klassensatzOk)
                gebrochen("the class set filter disagrees with itself");
            if (druck.master && (!einstellungen.steuerungUeberMaster ||
                                 QString::number(druck.buzzerNo) != einstellungen.masterBuzzer))
                gebrochen("a master press that is not the master handset");
            if (urteil != EmpfangsFilter::Urteil::Angenommen)
                continue;
            QVector<qint64> &zeiten = angenommen[(druck.klassensatz << 8) | druck.buzzerNo];
            zeiten.append(zeit);
            const qsizetype n20 = zeiten.size() - EmpfangsFilter::HoechstensJeSekunde - 1;
            if (n20 >= 0 && zeit - zeiten.at(n20) < 1000)
                gebrochen("more presses of one handset in a second than the flood limit");
        }
        if (decoder.offeneBytes() < 0 || decoder.offeneBytes() > 3)
            gebrochen("more than a frame left over");
    }
    stueckFertig();
    if (qsizetype(bytes / 4) < druecke.size())
        gebrochen("more presses than frames");
    if (druecke != erwartet)
        gebrochen("the presses differ from the stream cut at its pauses");
}
