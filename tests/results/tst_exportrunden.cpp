// A question voted on twice in the exports: both rounds' shares per question, and per participant
// whether the answer went from wrong to right or back. Exports of games without a second round
// are compared whole in the tests of each export.
#include "csvrangliste.h"
#include "exporttesthilfe.h"
#include "pdfrangliste.h"
#include "xlsxrangliste.h"

#include <QtTest>

using namespace Exporttest;

class TestExportRunden final : public QObject
{
    Q_OBJECT

private slots:
    void beideRunden_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("CSV") << "csv" << false
                             << QStringList{
                                    "Antworten;Prozent;Absolut;Prozent 1. Runde;Absolut 1. Runde\r\n"
                                    "Zurich;0.0%;0;33.3%;1\r\nBern;66.7%;2;66.7%;2\r\n",
                                    "falsch -> richtig;1\r\nrichtig -> falsch;1\r\n",
                                    "2 + 2?\r\nAntworten;Prozent;Absolut\r\n3;",
                                    "Capital of Switzerland?;Antwort;korrekte Antwort;Antwort 1. Runde\r\n"
                                    "Zurich;;;X\r\nBern;X;X;\r\n",
                                    "Wechsel;falsch -> richtig\r\n",
                                    "Wechsel;richtig -> falsch\r\n"};
        QTest::newRow("PDF") << "pdf" << true
                             << QStringList{
                                    "33.3%&nbsp;→</font></td><td width='5%'>0.0%",
                                    "Round 1 →</font> Round 2 &nbsp; wrong → right: 1, right → wrong: 1",
                                    "Questions changed – wrong → right: 1; right → wrong: –",
                                    "Questions changed – wrong → right: –; right → wrong: 1"};
        QTest::newRow("workbook") << "xlsx" << false
                                  << QStringList{"name=\"Runden\"",          "A (1. Runde)",
                                                 "falsch → richtig",         "A → B (falsch → richtig)",
                                                 "B → C (richtig → falsch)", ">B → B<"};
    }
    // Question 1 (Bern is right) is voted on twice: handset 5 goes from wrong to right, 7 from right
    // to wrong, 12 stays right.
    void beideRunden()
    {
        QFETCH(QString, art);
        QFETCH(bool, englisch);
        QFETCH(QStringList, erwartet);
        Umgebung u;
        QVERIFY(u.laden(erdkunde()));
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : "1031");
        QList<Person> personen{teilnehmer(5, 1, {{1, 2, 2, 5500}, {3, 4, 1, 2000}}),
                               teilnehmer(7, 1, {{1, 3, 0, 2000}}), teilnehmer(12, 1, {{1, 2, 2, 3250}})};
        for (const auto [p, ersteRunde] : {std::pair{0, 1}, {1, 2}, {2, 2}})
            personen[p].getAntwortDerFrage(1).setAntwortErsteRunde(ersteRunde);

        QString inhalt;
        if (art == "xlsx") {
            u.dialoge.dateien = {u.ziel("runden.xlsx")};
            QVERIFY(xlsxrangliste(u.dialoge, u.uhr).ranglisteExportieren(personen, &u.katalog, 3, 3));
            QProcess unzip;
            unzip.start("unzip", {"-p", u.ziel("runden.xlsx"), "xl/workbook.xml", "xl/sharedStrings.xml"});
            QVERIFY(unzip.waitForFinished(60000));
            inhalt = QString::fromUtf8(unzip.readAllStandardOutput());
        } else {
            const Exportgrundlage::Daten daten =
                Exportgrundlage::zusammenstellen(personen, &u.katalog, 3, 3, QDateTime::currentDateTimeUtc());
            inhalt =
                art == "csv" ? QString::fromUtf8(csvrangliste::inhalt(daten)) : pdfrangliste::html(daten);
        }
        for (const QString &stelle : erwartet)
            QVERIFY2(inhalt.contains(stelle), qPrintable(stelle));
    }
};

QTEST_GUILESS_MAIN(TestExportRunden)
#include "tst_exportrunden.moc"
