#include "fakebruecke.h"
#include "templatebasis.h"

#include <QtTest>

class TestSkriptBruecke final : public QObject
{
    Q_OBJECT

private slots:
    void textFuerAnweisungen_data()
    {
        QTest::addColumn<QString>("roh");
        QTest::addColumn<QString>("maskiert");
        QTest::newRow("apostrophe") << "Wie geht's?"
                                    << "Wie geht&apos;s?";
        QTest::newRow("CR LF") << "eins\r\nzwei"
                               << "eins<br>zwei";
        QTest::newRow("LF as read from a file") << "eins\nzwei"
                                                << "eins<br>zwei";
        QTest::newRow("lone CR dropped") << "eins\rzwei"
                                         << "einszwei";
        QTest::newRow("backslash doubled") << "C:\\kurs"
                                           << "C:\\\\kurs";
        QTest::newRow("backslash before apostrophe") << "\\'"
                                                     << "\\\\&apos;";
        QTest::newRow("line separators") << QString("a") + QChar(0x2028) + "b" + QChar(0x2029) + "c"
                                         << "a<br>b<br>c";
        QTest::newRow("markup passes") << "<b>fett</b> & mehr"
                                       << "<b>fett</b> & mehr";
        QTest::newRow("empty") << ""
                               << "";
    }
    void textFuerAnweisungen()
    {
        QFETCH(QString, roh);
        QFETCH(QString, maskiert);
        QCOMPARE(SkriptBruecke::text(roh), maskiert);
    }

    void zoomBleibtImBereichDerEngine()
    {
        FakeBruecke bruecke;
        bruecke.setZoomFaktor(1.5);
        bruecke.setZoomFaktor(7.0);
        bruecke.setZoomFaktor(0.1);
        bruecke.setZoomFaktor(-3);
        QCOMPARE(bruecke.zooms, (QList<double>{1.5, 5.0, 0.25, 0.25}));
        QCOMPARE(bruecke.zoomFaktor(), 0.25);
    }

    void stimmenZaehlenJeGeraetUndKlassensatz()
    {
        Stimmenzaehler zaehler;
        QVERIFY(zaehler.zaehlen(1, 12));
        QVERIFY(!zaehler.zaehlen(1, 12));
        QVERIFY(zaehler.zaehlen(11, 2));
        QVERIFY(zaehler.zaehlen(2, 12));
        QCOMPARE(zaehler.anzahlStimmen(), 3);
        QVERIFY(zaehler.zaehlen(12, 3));
        QVERIFY(zaehler.zaehlen(1, 23));
        QCOMPARE(zaehler.anzahlStimmen(), 5);
        zaehler.leeren();
        QCOMPARE(zaehler.anzahlStimmen(), 0);
        QVERIFY(zaehler.zaehlen(1, 12));
    }
};

QTEST_GUILESS_MAIN(TestSkriptBruecke)
#include "tst_skriptbruecke.moc"
