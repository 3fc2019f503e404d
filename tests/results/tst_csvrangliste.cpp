#include "csvleser.h"
#include "csvrangliste.h"
#include "exporttesthilfe.h"
#include "fragedatei.h"
#include "geraetschluessel.h"

#include <QtTest>

using namespace Exporttest;

class TestCsvRangliste final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Umgebung> m_u;

    QByteArray exportieren(const QList<Person> &personen, int aktuelleFrageNr, const Namensliste &namen = {})
    {
        const QString datei = m_u->ziel(QStringLiteral("ergebnis.csv"));
        m_u->dialoge.dateien = {datei};
        csvrangliste exporter(m_u->dialoge, m_u->uhr);
        exporter.namenSetzen(namen);
        if (!exporter.ranglisteExportieren(personen, &m_u->katalog, m_u->katalog.getAnzahlFragen(),
                                           aktuelleFrageNr))
            return "<not exported>";
        return lesen(datei);
    }

private slots:
    void init() { m_u = std::make_unique<Umgebung>(); }
    void cleanup() { m_u.reset(); }

    void dateiInhalt_data()
    {
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("no participants, German") << "keine_teilnehmer_de.csv";
        QTest::newRow("ranking, survey, missing records, English") << "drei_teilnehmer_en.csv";
        QTest::newRow("conference mode") << "konferenz_de.csv";
        QTest::newRow("fields that must be quoted") << "quotiert_de.csv";
        QTest::newRow("names from the roster, English") << "drei_teilnehmer_namen_en.csv";
        QTest::newRow("names per class set and a phone, two class sets named without conference mode")
            << "klassensaetze_namen_de.csv";
    }
    void dateiInhalt()
    {
        QFETCH(QString, erwartet);
        QList<Person> personen;
        int aktuelleFrageNr = 1;
        Namensliste namen;
        // Handset 7 answers but is not on the list; 5 has an entry for another class set only;
        // a name that holds the separator and quotes must be quoted like any other field.
        if (erwartet.contains("namen"))
            QVERIFY(namen.lesenAus(
                "Klassensatz;Gerät;Name\r\n1;12;\"Berg; Ben \"\"Bo\"\"\"\r\n2;5;Anna Muster\r\n"
                "3;5;Carla Drei\r\n9;7;Anderer Satz\r\n",
                false));
        const Testdaten::Frage himmel =
            frage("Farbe des Himmels?", {"Blau", "Grün", "Rot", "Gelb"}, "Answer1");
        if (erwartet.startsWith("keine")) {
            QVERIFY(m_u->laden({frage("Wie viele Beine hat eine Spinne?", {"6", "8", "10", {}}, "Answer2"),
                                frage("Umfrage: Pause?", {"Ja", "Nein", {}, {}}, "NoAnswer")}));
            aktuelleFrageNr = 0;
        } else if (erwartet.startsWith("drei")) {
            Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
            Einstellungen::setzen(Schluessel::FrageFile, "C:/Quiz/Erdkunde.xml");
            QVERIFY(m_u->laden(erdkunde()));
            // 2, 2 and 1 points; the first two took 5.5 s and 3.25 s. Listed in the order of first press.
            personen = {teilnehmer(5, 1, {{1, 2, 2, 5500}, {2, 3, 0, 0, false}}),
                        teilnehmer(7, 1, {{2, 3, 0, 0, false}, {3, 4, 1, 2000}}),
                        teilnehmer(12, 1, {{1, 2, 2, 3250}, {2, 1, 0, 0, false}})};
            aktuelleFrageNr = 3;
        } else if (erwartet.startsWith("konferenz")) {
            Einstellungen::setzen(Schluessel::Konferenzmodus, "true");
            QVERIFY(m_u->laden({himmel}));
            personen = {teilnehmer(7, 2, {{1, 1, 1, 1000}})};
        } else if (erwartet.startsWith("klassensaetze")) {
            QVERIFY(m_u->laden({himmel}));
            personen = {teilnehmer(5, 2, {{1, 1, 1, 1000}}), teilnehmer(5, 3, {{1, 2, 0, 1500}}),
                        teilnehmer(7, 2, {{1, 1, 1, 2500}}),
                        teilnehmer(7, HandyKlassensatz, {{1, 1, 1, 3000}})};
        } else {
            Einstellungen::setzen(Schluessel::FrageFile, "/tmp/a;b/quiz.xml");
            QVERIFY(m_u->laden(
                {frage("Wahl; \"A\" oder B?", {"Zeile 1\nZeile 2", "B", "C & D", {}}, "Answer1")}));
            personen = {teilnehmer(3, 1, {{1, 1, 1, 2000}})};
        }
        QCOMPARE(exportieren(personen, aktuelleFrageNr, namen),
                 lesen(PLENARO_ERWARTET_ORDNER "/" + erwartet));
        QVERIFY(m_u->dialoge.hinweise.isEmpty());
    }

    // A quote, the separator or a line break in a text or a name: a spreadsheet still reads each
    // such field as one cell with the text as it was.
    void feldBleibtEineZelle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quote at the start") << "\"Bo\" Berg";
        QTest::newRow("quote inside") << "Bo \"der Dritte\"";
        QTest::newRow("separator") << "Berg; Bo";
        QTest::newRow("line feed") << "Zeile 1\nZeile 2";
        QTest::newRow("carriage return") << "Zeile 1\rZeile 2";
        QTest::newRow("all of them") << "\"Berg\"; Bo\r\nZwei";
    }
    void feldBleibtEineZelle()
    {
        QFETCH(QString, text);
        QVERIFY(m_u->laden({frage(text + "?", {text + "!", "B", {}, {}}, "Answer1")}));
        Namensliste namen;
        QVERIFY(namen.lesenAus("3;\"" + QString(text).replace('"', "\"\"").toUtf8() + "\"\n", false));
        // As the catalogue and the roster hold them (a question file keeps no carriage return).
        const QString frageText = FrageDatei::feld(m_u->katalog.getFrage(1), "QuestionText");
        const QString antwort = FrageDatei::feld(m_u->katalog.getFrage(1), "Answer1");
        const QString name = namen.name(1, 3);

        const QByteArray datei = exportieren({teilnehmer(3, 1, {{1, 1, 1, 2000}})}, 1, namen);
        const QList<QStringList> saetze = CsvLeser::datensaetze(QString::fromUtf8(datei), ';');
        const auto zellen = [&saetze](const QString &zelle) {
            int anzahl = 0;
            for (const QStringList &satz : saetze)
                anzahl += int(satz.count(zelle));
            return anzahl;
        };
        // In the evaluation and in the participant's block; the name in the ranking and the block.
        QCOMPARE(zellen(frageText), 2);
        QCOMPARE(zellen(antwort), 2);
        QCOMPARE(zellen(name), 1);
        QCOMPARE(zellen("Name: " + name), 1);
        QVERIFY(saetze.contains(QStringList{antwort, "100.0%", "1"}));
        QVERIFY(saetze.contains(QStringList{"1", "3", "2.00", "1", name}));
    }
};

QTEST_GUILESS_MAIN(TestCsvRangliste)
#include "tst_csvrangliste.moc"
