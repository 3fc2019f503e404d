// Questions from spreadsheets as teachers save them: both separators, quotes, a header, a BOM,
// broken lines.
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

    void semikolonMitKopfzeileUndBom()
    {
        const QByteArray csv = "\xEF\xBB\xBF"
                               "Frage;A;B;C;D;Lösung;Zeit;Punkte\r\n"
                               "Was ergibt 7 × 8?;54;56;58;64;B;20;2\r\n"
                               "Lieblingsfach?;Mathe;Deutsch;Sport;;;;\r\n";
        const Ergebnis ergebnis = FragenImport::lesenAus(csv, false);
        QVERIFY2(ergebnis.fehler.isEmpty(), qPrintable(ergebnis.fehler.join('\n')));
        QCOMPARE(ergebnis.fragen.size(), 2);
        const QDomElement erste = ergebnis.fragen.at(0);
        QCOMPARE(FrageDatei::feld(erste, "QuestionText"), QString("Was ergibt 7 × 8?"));
        QCOMPARE(FrageDatei::feld(erste, "Answer2"), QString("56"));
        QCOMPARE(FrageDatei::feld(erste, "Solution"), QString("Answer2"));
        QCOMPARE(FrageDatei::zahl(erste, "Time"), 20);
        QCOMPARE(FrageDatei::zahl(erste, "Points"), 2);
        const QDomElement umfrage = ergebnis.fragen.at(1);
        QCOMPARE(FrageDatei::feld(umfrage, "Solution"), QString("NoAnswer"));
        QCOMPARE(FrageDatei::zahl(umfrage, "Time"), 15);
        QCOMPARE(FrageDatei::zahl(umfrage, "Points"), 1);
        QCOMPARE(FrageDatei::feld(umfrage, "Answer4"), QString());
    }

    void kommaOhneKopfzeileUndKleinbuchstaben()
    {
        const QByteArray csv = "\"Hauptstadt von Frankreich, bitte\",Paris,Rom,,,a\n"
                               "Zweite,ja,nein,,,\n";
        const Ergebnis ergebnis = FragenImport::lesenAus(csv, false);
        QVERIFY(ergebnis.fehler.isEmpty());
        QCOMPARE(ergebnis.fragen.size(), 2);
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(0), "QuestionText"),
                 QString("Hauptstadt von Frankreich, bitte"));
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(0), "Solution"), QString("Answer1"));
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
            const Ergebnis ergebnis = FragenImport::lesen(
                QStringLiteral(PLENARO_QUELLEN "/examples/") + QLatin1String(datei), false);
            QVERIFY2(ergebnis.fehler.isEmpty(), qPrintable(ergebnis.fehler.join('\n')));
            QCOMPARE(ergebnis.fragen.size(), 20);
        }
    }

    void latin1WirdGelesen()
    {
        const Ergebnis ergebnis = FragenImport::lesenAus("Gr\xF6\xDF"
                                                         "e?;klein;gro\xDF;;;B\n",
                                                         false);
        QCOMPARE(ergebnis.fragen.size(), 1);
        QCOMPARE(FrageDatei::feld(ergebnis.fragen.at(0), "QuestionText"), QString("Größe?"));
    }

    void geschriebeneDateiLiestSichZurueck()
    {
        QTemporaryDir ordner;
        const QString csv = ordner.filePath("klasse 7b.csv");
        QFile datei(csv);
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.write("Frage;A;B;C;D;Lösung\n\"Text mit <b>Markup</b> & so\";ja;nein;;;A\n");
        datei.close();

        const QString ziel = FragenImport::zielPfad(csv);
        QCOMPARE(ziel, ordner.filePath("klasse 7b.xml"));
        const Ergebnis ergebnis = FragenImport::lesen(csv, false);
        QVERIFY(FrageDatei::schreiben(ziel, ergebnis.fragen));
        const FrageDatei::LadeErgebnis geladen = FrageDatei::lesen(ziel);
        QVERIFY(geladen.ok());
        QCOMPARE(geladen.fragen.size(), 1);
        QCOMPARE(FrageDatei::feld(geladen.fragen.at(0), "QuestionText"),
                 QString("Text mit <b>Markup</b> & so"));
        QCOMPARE(FrageDatei::feld(geladen.fragen.at(0), "Solution"), QString("Answer1"));
        // Never over an existing file.
        QCOMPARE(FragenImport::zielPfad(csv), ordner.filePath("klasse 7b (2).xml"));

        QVERIFY(!FragenImport::lesen(ordner.filePath("fehlt.csv"), false).lesefehler.isEmpty());
        QVERIFY(!FragenImport::lesen(ordner.path(), true).lesefehler.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFragenImport)
#include "tst_fragenimport.moc"
