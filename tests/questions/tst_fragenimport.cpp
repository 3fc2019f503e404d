// Questions from spreadsheets as teachers save them: both separators, quotes, a header, a BOM,
// Latin-1, broken lines.
#include "csvleser.h"
#include "fragedatei.h"
#include "fragenimport.h"

#include <QTemporaryDir>
#include <QtTest>

using FragenImport::Ergebnis;

class TestFragenImport final : public QObject
{
    Q_OBJECT

private slots:
    void datensaetzeMitAnfuehrungszeichen()
    {
        QList<int> zeilen;
        const QList<QStringList> saetze = CsvLeser::datensaetze(
            QStringLiteral("a;\"b;c\";\"sagt \"\"hallo\"\"\"\r\n\"zwei\nZeilen\";x\n\nletzte;"),
            QLatin1Char(';'), &zeilen);
        QCOMPARE(saetze.size(), 3);
        QCOMPARE(saetze.at(0), QStringList({"a", "b;c", "sagt \"hallo\""}));
        QCOMPARE(saetze.at(1), QStringList({"zwei\nZeilen", "x"}));
        QCOMPARE(saetze.at(2), QStringList({"letzte", ""}));
        QCOMPARE(zeilen, QList<int>({1, 2, 5}));
    }

    // Each row: the file, and "question:field=value" for what the questions hold.
    void lesen_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QStringList>("felder");
        QTest::newRow("semicolons, a header and a BOM")
            << QByteArray(
                   "\xEF\xBB\xBF"
                   "Frage;A;B;C;D;Lösung;Zeit;Punkte\r\n"
                   "Was ergibt 7 × 8?;54;56;58;64;B;20;2\r\nLieblingsfach?;Mathe;Deutsch;Sport;;;;\r\n")
            << 2
            << QStringList{"0:QuestionText=Was ergibt 7 × 8?",
                           "0:Answer2=56",
                           "0:Solution=Answer2",
                           "0:Time=20",
                           "0:Points=2",
                           "1:Solution=NoAnswer",
                           "1:Time=15",
                           "1:Points=1",
                           "1:Answer4="};
        QTest::newRow("commas, no header, a small letter")
            << QByteArray("\"Hauptstadt von Frankreich, bitte\",Paris,Rom,,,a\nZweite,ja,nein,,,\n") << 2
            << QStringList{"0:QuestionText=Hauptstadt von Frankreich, bitte", "0:Solution=Answer1"};
        QTest::newRow("Latin-1") << QByteArray("Gr\xF6\xDF"
                                               "e?;klein;gro\xDF;;;B\n")
                                 << 1 << QStringList{"0:QuestionText=Größe?"};
        QTest::newRow("line breaks and controls in cells become blanks or go")
            << QByteArray("Haupt\vstadt?;Rom\x01;Mailand;;\"Tu\r\nrin\";A\n") << 1
            << QStringList{"0:QuestionText=Haupt stadt?", "0:Answer1=Rom", "0:Answer4=Tu rin"};
    }
    void lesen()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, felder);
        const Ergebnis ergebnis = FragenImport::lesenAus(csv, false);
        QVERIFY2(ergebnis.fehler.isEmpty(), qPrintable(ergebnis.fehler.join('\n')));
        QTEST(int(ergebnis.fragen.size()), "anzahl");
        for (const QString &feld : felder) {
            const QString name = feld.section('=', 0, 0).section(':', 1);
            QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(feld.section(':', 0, 0).toInt()), name),
                     feld.section('=', 1));
        }
    }

    void schlechteZeilenMitNummerUndUebersprungen()
    {
        const QByteArray csv = "Frage;A;B;C;D;Lösung\n"
                               "Gut;1;2;3;4;A\n"
                               ";1;2;3;4;A\n"               // 3: no question
                               "Nur eine;1;;;;\n"           // 4: one answer
                               "Lösung E;1;2;3;4;E\n"       // 5
                               "Leere Lösung;1;2;;;C\n"     // 6: C is empty
                               "Zeit;1;2;3;4;A;lang\n"      // 7
                               "Zeit 0;1;2;3;4;A;0\n"       // 8
                               "Punkte;1;2;3;4;A;10;-1\n"   // 9
                               "Spalten;1;2;3;4;A;10;1;x\n" // 10
                               "Auch gut;1;2;3;4;D;30;0\n";
        const Ergebnis ergebnis = FragenImport::lesenAus(csv, false);
        QCOMPARE(ergebnis.fragen.size(), 2);
        QCOMPARE(ergebnis.fehler.size(), 8);
        for (int i = 0; i < 8; ++i)
            QVERIFY2(ergebnis.fehler.at(i).startsWith(QStringLiteral("Zeile %1: ").arg(i + 3)),
                     qPrintable(ergebnis.fehler.at(i)));
        QCOMPARE(FrageDatei::zahl(ergebnis.fragen.at(1), "Points"), 0);

        const Ergebnis englisch = FragenImport::lesenAus("Q;1;;;;\n", true);
        QCOMPARE(englisch.fehler, QStringList{"Line 1: answers A and B must be filled in"});
    }

    void tausendFragenHoechstens()
    {
        QByteArray csv;
        for (int i = 1; i <= 1003; ++i)
            csv += "F" + QByteArray::number(i) + ";a;b;;;A\n";
        const Ergebnis ergebnis = FragenImport::lesenAus(csv, false);
        QCOMPARE(ergebnis.fragen.size(), 1000);
        QCOMPARE(ergebnis.fehler.size(), 1);
        QVERIFY(ergebnis.fehler.at(0).startsWith("Zeile 1001 und folgende"));
    }

    void beispieltabellen()
    {
        for (const char *datei : {"DE/Tabelle.csv", "EN/Table.csv"}) {
            const Ergebnis ergebnis =
                FragenImport::lesen(PLENARO_QUELLEN "/examples/" + QString(datei), false);
            QVERIFY2(ergebnis.fehler.isEmpty(), qPrintable(ergebnis.fehler.join('\n')));
            QCOMPARE(ergebnis.fragen.size(), 20);
        }
    }

    // The question file goes beside the table, never over an existing file. (That it is written
    // and opened is tried in tst_spielablauf.)
    void zielUndLesefehler()
    {
        QTemporaryDir ordner;
        const QString csv = ordner.filePath("klasse 7b.csv");
        QCOMPARE(FragenImport::zielPfad(csv), ordner.filePath("klasse 7b.xml"));
        QVERIFY(FrageDatei::neueDateiSchreiben(ordner.filePath("klasse 7b.xml")));
        QCOMPARE(FragenImport::zielPfad(csv), ordner.filePath("klasse 7b (2).xml"));
        QVERIFY(!FragenImport::lesen(ordner.filePath("fehlt.csv"), false).lesefehler.isEmpty());
        QVERIFY(!FragenImport::lesen(ordner.path(), true).lesefehler.isEmpty());
        QCOMPARE(FragenImport::lesenAus(QByteArray("F;a;b\0", 6), true).lesefehler,
                 "The file is not a text file.");
    }
};

QTEST_GUILESS_MAIN(TestFragenImport)
#include "tst_fragenimport.moc"
