// A question voted on twice in the exports: both rounds' shares, and per participant whether the
// answer went from wrong to right or back. Games without a second round: the tests of each export.
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
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("CSV") << "csv"
                             << QStringList{
                                    "Absolut;Prozent 1. Runde;Absolut 1. Runde\r\nZurich;0.0%;0;33.3%;1\r\n",
                                    "falsch -> richtig;1\r\nrichtig -> falsch;1\r\n\r\nFrage 2/3",
                                    "Antwort 1. Runde\r\nZurich;;;X\r\nBern;X;X;\r\nGeneva;;;\r\n;;;\r\n"
                                    "Wechsel;falsch -> richtig\r\n",
                                    "Wechsel;richtig -> falsch\r\n"};
        QTest::newRow("PDF, English") << "pdf"
                                      << QStringList{"33.3%&nbsp;→</font></td><td width='5%'>0.0%",
                                                     "wrong → right: 1, right → wrong: 1",
                                                     "changed – wrong → right: 1; right → wrong: –",
                                                     "wrong → right: –; right → wrong: 1"};
        QTest::newRow("workbook") << "xlsx"
                                  << QStringList{"name=\"Runden\"", "A (1. Runde)",
                                                 "A → B (falsch → richtig)", "B → C (richtig → falsch)",
                                                 ">B → B<"};
    }
    // Question 1 (Bern is right) is voted on twice: handset 5 goes from wrong to right, 7 from right
    // to wrong, 12 stays right.
    void beideRunden()
    {
        QFETCH(QString, art);
        QFETCH(QStringList, erwartet);
        Umgebung u;
        QVERIFY(u.laden(erdkunde()));
        Einstellungen::setzen(Schluessel::InstallerLanguage, art == "pdf" ? "1033" : "1031");
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
