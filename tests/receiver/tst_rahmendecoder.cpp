// The decoder and the filter on their own: bytes with their arrival times in, presses out.
#include "empfangsfilter.h"
#include "rahmendecoder.h"

#include <QtTest>

namespace {

QByteArray rahmen(uint klassensatz, uint geraet, uint knopfByte)
{
    const char bytes[4] = {char(klassensatz >> 8), char(klassensatz & 0xff), char(geraet), char(knopfByte)};
    return QByteArray(bytes, 4);
}

Druck druck(quint32 klassensatz, quint32 geraet, quint32 knopf, bool master = false)
{
    return Druck{klassensatz, geraet, knopf, master};
}

struct Lieferung
{
    QByteArray bytes;
    qint64 zeit;
};

QVector<Druck> entschluesseln(const QList<Lieferung> &lieferungen)
{
    RahmenDecoder decoder;
    QVector<Druck> druecke;
    for (const Lieferung &l : lieferungen)
        decoder.lesen(l.bytes.constData(), l.bytes.size(), l.zeit, druecke);
    return druecke;
}

} // namespace

class TestRahmenDecoder final : public QObject
{
    Q_OBJECT

private slots:
    void zerrisseneRahmenAnJederStelle()
    {
        // Every cut of every frame of a run, the pieces a few milliseconds apart: nothing lost,
        // nothing invented, order kept.
        QByteArray strom;
        QVector<Druck> erwartet;
        for (uint i = 0; i < 30; ++i) {
            strom += rahmen(1 + i % 3, 1 + i, 0xfc | (i % 4));
            erwartet.append(druck(1 + i % 3, 1 + i, 1 + i % 4));
        }
        for (int schnitt = 1; schnitt < 4; ++schnitt) {
            QList<Lieferung> teile;
            qint64 zeit = 0;
            for (qsizetype i = 0; i < strom.size(); i += 4) {
                teile.append({strom.mid(i, schnitt), zeit += 3});
                teile.append({strom.mid(i + schnitt, 4 - schnitt), zeit += 3});
            }
            QCOMPARE(entschluesseln(teile), erwartet);
        }
        // Byte by byte, all at one moment.
        QList<Lieferung> einzeln;
        for (char c : strom)
            einzeln.append({QByteArray(1, c), 0});
        QCOMPARE(entschluesseln(einzeln), erwartet);
    }

    void lueckeBringtDenStromInTritt()
    {
        const QByteArray a = rahmen(258, 7, 1);
        const QByteArray b = rahmen(2, 9, 3);
        // A stray byte, then a block of whole frames after a pause: aligned to its start.
        QCOMPARE(entschluesseln({{"\x55", 0}, {a + b, RahmenDecoder::Luecke}}),
                 (QVector<Druck>{druck(258, 7, 2), druck(2, 9, 4)}));
        // Less than a pause: the byte still belongs to the stream, the frames shift.
        QCOMPARE(entschluesseln({{"\x55", 0}, {a + b, RahmenDecoder::Luecke - 1}}).size(), 2);
        QVERIFY(entschluesseln({{"\x55", 0}, {a + b, RahmenDecoder::Luecke - 1}}).first() !=
                druck(258, 7, 2));
        // The head of a torn frame given up after a pause; its late tail is given up after the next.
        QCOMPARE(entschluesseln({{a.left(3), 0}, {a.mid(3), 200}, {b, 400}}), QVector<Druck>{druck(2, 9, 4)});
        // A whole frame followed by a head in one read, the tail just after: both.
        QCOMPARE(entschluesseln({{a + b.left(1), 0}, {b.mid(1), 5}}),
                 (QVector<Druck>{druck(258, 7, 2), druck(2, 9, 4)}));
    }

    void vergessenBeimOeffnen()
    {
        RahmenDecoder decoder;
        QVector<Druck> druecke;
        decoder.lesen("\x00\x01", 2, 0, druecke);
        QCOMPARE(decoder.offeneBytes(), 2);
        decoder.vergessen();
        const QByteArray a = rahmen(1, 2, 3);
        decoder.lesen(a.constData(), a.size(), 1, druecke);
        QCOMPARE(druecke, QVector<Druck>{druck(1, 2, 4)});
    }

    void filterUndMaster()
    {
        EmpfangsFilter filter;
        EmpfangsEinstellungen e;
        e.aktiveKlassensaetze = {"", "", "258", "", "", ""};
        e.steuerungUeberMaster = true;
        e.masterBuzzer = "7";
        e.masterKlassensatz = "258";
        filter.setzen(e);
        Druck d = druck(258, 7, 2);
        QCOMPARE(filter.pruefen(d, 0), EmpfangsFilter::Urteil::Angenommen);
        QVERIFY(d.master);
        d = druck(258, 8, 2);
        QCOMPARE(filter.pruefen(d, 0), EmpfangsFilter::Urteil::Angenommen);
        QVERIFY(!d.master);
        d = druck(259, 7, 2);
        QCOMPARE(filter.pruefen(d, 0), EmpfangsFilter::Urteil::FremderKlassensatz);
        e.masterBuzzer = "07";
        filter.setzen(e);
        d = druck(258, 7, 2);
        filter.pruefen(d, 0);
        QVERIFY(!d.master);
        QVERIFY(!EmpfangsFilter::klassensatzAngenommen({"0258"}, 258));
        QVERIFY(EmpfangsFilter::klassensatzAngenommen({"", ""}, 65535));
    }

    void flutGrenzeJeHandsender()
    {
        EmpfangsFilter filter;
        filter.setzen({});
        int angenommen = 0;
        // 100 presses a second for three seconds: 20 of each second get through.
        for (int i = 0; i < 300; ++i) {
            Druck d = druck(1, 5, 1);
            angenommen += filter.pruefen(d, i * 10) == EmpfangsFilter::Urteil::Angenommen ? 1 : 0;
        }
        QCOMPARE(angenommen, 3 * EmpfangsFilter::HoechstensJeSekunde);
        QCOMPARE(filter.gedrosselt(), quint64(300 - angenommen));
        // Another handset of the same number in another class set is another handset.
        Druck anderer = druck(2, 5, 1);
        QCOMPARE(filter.pruefen(anderer, 2999), EmpfangsFilter::Urteil::Angenommen);
    }

    void erfundeneHandsenderFuellenNichtsAuf()
    {
        // A sender inventing a new handset for every frame: each one is allowed, and the table of
        // handsets seen forgets the quiet ones, so memory stays bounded.
        EmpfangsFilter filter;
        filter.setzen({});
        for (quint32 i = 0; i < 200'000; ++i) {
            Druck d = druck(i >> 8 & 0xffff, i & 0xff, 1);
            QCOMPARE(filter.pruefen(d, qint64(i)), EmpfangsFilter::Urteil::Angenommen);
            QVERIFY(filter.gemerkteHandsender() <= EmpfangsFilter::FensterVorrat + 1);
        }
        QCOMPARE(filter.gedrosselt(), quint64(0));
    }
};

QTEST_GUILESS_MAIN(TestRahmenDecoder)
#include "tst_rahmendecoder.moc"
