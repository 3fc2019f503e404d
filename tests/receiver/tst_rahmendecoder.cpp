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

// Bytes as one read delivers them, with their arrival time; empty bytes stand for a quiet line
// (the reader's silence timer).
struct Lieferung
{
    QByteArray bytes;
    qint64 zeit;
};
using Lieferungen = QList<Lieferung>;

QByteArray folge(uint klassensatz, uint von, uint bis)
{
    QByteArray bytes;
    for (uint h = von; h <= bis; ++h)
        bytes += rahmen(klassensatz, h, h % 4 | 0xa4);
    return bytes;
}

QVector<Druck> druecke(uint klassensatz, uint von, uint bis)
{
    QVector<Druck> d;
    for (uint h = von; h <= bis; ++h)
        d.append(Druck{klassensatz, h, h % 4 + 1});
    return d;
}

} // namespace

Q_DECLARE_METATYPE(Lieferungen)

namespace {

void zeile(const char *name, const Lieferungen &lieferungen, const QVector<Druck> &erwartet,
           const QList<quint32> &filter = {})
{
    QTest::newRow(name) << lieferungen << filter << erwartet;
}

} // namespace

class TestRahmenDecoder final : public QObject
{
    Q_OBJECT

private slots:
    void rahmenNachIhremInhalt_data()
    {
        QTest::addColumn<Lieferungen>("lieferungen");
        QTest::addColumn<QList<quint32>>("filter");
        QTest::addColumn<QVector<Druck>>("erwartet");
        const QByteArray ff("\xff", 1);
        const QByteArray a = folge(1, 1, 10);
        const QByteArray b = folge(1, 11, 20);
        const Lieferung ruhe{{}, 0};

        // Every cut of every frame of a run, the pieces a few milliseconds apart; byte by byte.
        QByteArray strom;
        QVector<Druck> lauf;
        for (uint i = 0; i < 30; ++i) {
            strom += rahmen(1 + i % 3, 1 + i, 0xfc | (i % 4));
            lauf.append(Druck{1 + i % 3, 1 + i, 1 + i % 4});
        }
        Lieferungen einzeln;
        for (char c : strom)
            einzeln.append({QByteArray(1, c), 0});
        zeile("byte by byte", einzeln, lauf);
        for (int schnitt = 1; schnitt < 4; ++schnitt) {
            Lieferungen teile;
            qint64 zeit = 0;
            for (qsizetype i = 0; i < strom.size(); i += 4) {
                teile.append({strom.mid(i, schnitt), zeit += 3});
                teile.append({strom.mid(i + schnitt, 4 - schnitt), zeit += 3});
            }
            QTest::addRow("every frame cut after byte %d", schnitt) << teile << QList<quint32>{} << lauf;
        }

        // A hall: eight class sets interleaved, none heard before, each frame 2 ms after the last
        // and the first one torn; buttons in turn, so a stream read three bytes late shows four
        // "class sets" that come back more often than the real ones.
        Lieferungen halle{{QByteArray(1, '\0'), 0}};
        QVector<Druck> halleDruecke;
        for (uint i = 0; i < 48; ++i) {
            halle.append({rahmen(1 + i % 8, 1 + i / 8, i % 4).mid(i == 0 ? 1 : 0), 1 + 2 * qint64(i)});
            halleDruecke.append(Druck{1 + i % 8, 1 + i / 8, 1 + i % 4});
        }
        halle.append(ruhe);
        zeile("a hall's class sets interleaved, none heard before", halle, halleDruecke);
        zeile("stray byte before a burst", Lieferungen{{a, 0}, {ff + b, 500}}, druecke(1, 1, 20));
        zeile("stray byte inside a burst", Lieferungen{{a + ff + b, 0}}, druecke(1, 1, 20));
        zeile("stray byte before the very first burst", Lieferungen{{ff + a + b, 0}}, druecke(1, 1, 20));
        zeile("stray byte before the first burst, class set filtered", Lieferungen{{ff + a, 0}},
              druecke(1, 1, 10), QList<quint32>{1});
        zeile("stray byte before the last frame, then quiet",
              Lieferungen{{a, 0}, {ff + rahmen(1, 11, 2), 300}, ruhe},
              druecke(1, 1, 10) + QVector<Druck>{{1, 11, 3}});
        zeile("a lone stray byte after a pause", Lieferungen{{a, 0}, {ff, 300}, ruhe, {b, 600}},
              druecke(1, 1, 20));
        zeile("reader held up 500 ms inside a frame", Lieferungen{{a + b.left(2), 0}, {b.mid(2), 500}},
              druecke(1, 1, 20));
        zeile("reader held up inside a frame of class set 258",
              Lieferungen{{folge(258, 1, 5) + folge(258, 6, 6).left(2), 0}, {folge(258, 6, 6).mid(2), 200}},
              druecke(258, 1, 6));
        zeile("torn frame, tail 60 ms later", Lieferungen{{a + b.left(1), 0}, {b.mid(1), 60}},
              druecke(1, 1, 20));
        zeile("head whose tail never came, a new burst after a pause",
              Lieferungen{{a + rahmen(1, 30, 0).left(2), 0}, {b, 400}}, druecke(1, 1, 20));
        zeile("two class sets from the first frame",
              Lieferungen{{folge(1, 1, 1) + folge(258, 1, 1) + folge(1, 2, 2) + folge(258, 2, 2), 0}},
              QVector<Druck>{{1, 1, 2}, {258, 1, 2}, {1, 2, 3}, {258, 2, 3}});
        zeile("a class set heard for the first time between known ones",
              Lieferungen{{a, 0}, {folge(1, 11, 11) + folge(7, 3, 3) + folge(1, 12, 12), 300}},
              druecke(1, 1, 11) + druecke(7, 3, 3) + druecke(1, 12, 12));
        zeile("a class set heard for the first time, alone", Lieferungen{{a, 0}, {folge(7, 3, 3), 300}, ruhe},
              druecke(1, 1, 10) + druecke(7, 3, 3));
        zeile("handset 127 of class set 0, button bits only",
              Lieferungen{{rahmen(0, 127, 0xfe) + rahmen(0, 126, 0x07), 0}},
              QVector<Druck>{{0, 127, 3}, {0, 126, 4}});
        zeile("handsets 0 and 128 do not exist",
              Lieferungen{{rahmen(1, 0, 1), 0}, {rahmen(1, 128, 1), 300}, ruhe}, QVector<Druck>{});
    }

    void rahmenNachIhremInhalt()
    {
        QFETCH(Lieferungen, lieferungen);
        QFETCH(QList<quint32>, filter);
        RahmenDecoder decoder;
        decoder.klassensaetzeVorgeben(filter);
        QVector<Druck> gelesen;
        for (const Lieferung &l : lieferungen) {
            if (l.bytes.isEmpty())
                decoder.stille(gelesen);
            else
                decoder.lesen(l.bytes.constData(), l.bytes.size(), l.zeit, gelesen);
        }
        QTEST(gelesen, "erwartet");
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
        QCOMPARE(druecke, (QVector<Druck>{{1, 2, 4}}));
    }

    // The class set filter and the master handset go through the receiver link's test; here only
    // what the link cannot show: the master's number must match exactly.
    void masterNurMitGenauSeinerNummer()
    {
        EmpfangsFilter filter;
        EmpfangsEinstellungen e;
        e.steuerungUeberMaster = true;
        e.masterKlassensatz = "258";
        for (const char *nummer : {"7", "07"}) {
            e.masterBuzzer = nummer;
            filter.setzen(e);
            Druck d{258, 7, 2};
            QCOMPARE(filter.pruefen(d, 0), EmpfangsFilter::Urteil::Angenommen);
            QCOMPARE(d.master, e.masterBuzzer == "7");
        }
    }

    void erfundeneHandsenderFuellenNichtsAuf()
    {
        // A sender inventing a new handset for every frame: each one is allowed, and the table of
        // handsets seen forgets the quiet ones, so memory stays bounded.
        EmpfangsFilter filter;
        filter.setzen({});
        for (quint32 i = 0; i < 200'000; ++i) {
            Druck d{i >> 8 & 0xffff, i & 0xff, 1};
            QCOMPARE(filter.pruefen(d, qint64(i)), EmpfangsFilter::Urteil::Angenommen);
            QVERIFY(filter.gemerkteHandsender() <= EmpfangsFilter::FensterVorrat + 1);
        }
        QCOMPARE(filter.gedrosselt(), quint64(0));
    }
};

QTEST_GUILESS_MAIN(TestRahmenDecoder)
#include "tst_rahmendecoder.moc"
