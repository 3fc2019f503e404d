// What the three exports share as files the user owns: how the file is chosen, that a cancelled
// export writes nothing, that a failure is told and keeps the earlier file, and that a link stays a
// link; the progress dialog through which the user cancels; and both rounds of a question voted on
// twice. Games without a second round: the tests of each export.
#include "csvrangliste.h"
#include "dateigrenze.h"
#include "exporttesthilfe.h"
#include "fortschrittsdialog.h"
#include "pdfrangliste.h"
#include "xlsxrangliste.h"

#include <QProgressDialog>
#include <QtTest>

#include <optional>

using namespace Exporttest;

class TestExportDateien final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Umgebung> m_u;

    template<typename Exporter>
    bool mit(ExportFortschritt *fortschritt)
    {
        Exporter exporter(m_u->dialoge, m_u->uhr);
        exporter.fortschrittSetzen(fortschritt);
        return exporter.ranglisteExportieren({teilnehmer(5, 1, {{1, 2, 2, 5500}, {2, 3, 0, 0, false}}),
                                              teilnehmer(7, 1, {{3, 4, 1, 2000}}),
                                              teilnehmer(12, 1, {{1, 2, 2, 3250}})},
                                             &m_u->katalog, 3, 3);
    }
    // Exports as `art` ("CSV", "PDF", "XLSX") to `datei`; empty: the file dialog is cancelled.
    bool exportieren(const QString &art, const QString &datei, ExportFortschritt *fortschritt = nullptr)
    {
        m_u->dialoge.dateien = {datei};
        return art == "CSV"   ? mit<csvrangliste>(fortschritt)
               : art == "PDF" ? mit<pdfrangliste>(fortschritt)
                              : mit<xlsxrangliste>(fortschritt);
    }
    // The folder the next dialog starts in; the workbook's is the CSV file's.
    static QString ordner(const QString &art)
    {
        return Einstellungen::text(art == "PDF" ? Schluessel::FilePathPDFRangliste
                                                : Schluessel::FilePathCSVRangliste);
    }
    static QString endung(const QString &art) { return '.' + art.toLower(); }

    static void jedeArt()
    {
        QTest::addColumn<QString>("art");
        for (const char *art : {"CSV", "PDF", "XLSX"})
            QTest::newRow(art) << QString(art);
    }

private slots:
    void init()
    {
        m_u = std::make_unique<Umgebung>();
        // Whatever an export keeps aside while it writes must be gone afterwards.
        QVERIFY(QDir().mkpath(m_u->ziel("temp")));
        qputenv("TMPDIR", QFile::encodeName(m_u->ziel("temp")));
        QVERIFY(m_u->laden(erdkunde()));
        Einstellungen::setzen(Schluessel::FilePathCSVRangliste, "/frueher/");
        Einstellungen::setzen(Schluessel::FilePathPDFRangliste, "/frueher/");
    }
    void cleanup()
    {
        qunsetenv("TMPDIR");
        QCOMPARE(QDir(m_u->ziel("temp")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        m_u.reset();
    }

    void fortschrittsdialogBrichtAb_data()
    {
        QTest::addColumn<bool>("fensterGeschlossen");
        QTest::newRow("Cancel") << false;
        QTest::newRow("window closed") << true;
    }
    void fortschrittsdialogBrichtAb()
    {
        QFETCH(bool, fensterGeschlossen);
        auto fenster = std::make_unique<QWidget>();
        fenster->show();
        auto fortschritt = std::make_unique<FortschrittsDialog>(fenster.get(), QStringLiteral("PDF"));
        // While the file dialog is still open nothing may come up over it.
        QCoreApplication::processEvents();
        QVERIFY(!fenster->findChild<QProgressDialog *>());
        // A quick export never shows it. Exports start with 0 %.
        QVERIFY(fortschritt->weiter(0));
        auto *dialog = fenster->findChild<QProgressDialog *>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QVERIFY(fortschritt->weiter(10));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->value(), 10);
        if (fensterGeschlossen)
            fenster.reset();
        else
            dialog->cancel();
        QVERIFY(!fortschritt->weiter(20));
        fortschritt.reset();
        QVERIFY(!fenster || !fenster->findChild<QProgressDialog *>());
    }

    void dialogVorschlagEndungUndOrdner_data() { jedeArt(); }
    void dialogVorschlagEndungUndOrdner()
    {
        QFETCH(QString, art);
        const QString hier = m_u->ordner.path() + '/';
        // A name without a suffix gets the format's; the folder is remembered.
        QVERIFY(exportieren(art, hier + "ohne_endung"));
        QCOMPARE(
            m_u->dialoge.speicherDialoge.value(0),
            (QStringList{"Export " + art, "/frueher/PlenaroAuswertung_" + Zeitstempel, '*' + endung(art)}));
        QVERIFY(QFile::exists(hier + "ohne_endung" + endung(art)));
        QCOMPARE(ordner(art), hier);

        // The next proposal starts there, in the interface language; a suffix of its own is kept.
        Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
        QVERIFY(exportieren(art, hier + "liste.txt"));
        QCOMPARE(m_u->dialoge.speicherDialoge.value(1).value(1), hier + "PlenaroEvaluation_" + Zeitstempel);
        QCOMPARE(dateien(hier), (QStringList{"fragen.xml", "liste.txt", "ohne_endung" + endung(art)}));
        QVERIFY(m_u->dialoge.hinweise.isEmpty());
    }

    void abbrechenSchreibtNichts_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("bei"); // percent; 0: the file dialog is cancelled
        for (const char *art : {"CSV", "PDF", "XLSX"}) {
            QTest::addRow("%s, file dialog", art) << QString(art) << 0;
            QTest::addRow("%s, while writing", art) << QString(art) << 50;
        }
        QTest::newRow("PDF, while laid out") << "PDF" << 20;
        QTest::newRow("PDF, while printed") << "PDF" << 80;
    }
    void abbrechenSchreibtNichts()
    {
        QFETCH(QString, art);
        QFETCH(int, bei);
        AbbrechenderFortschritt fortschritt(bei);
        QVERIFY(!exportieren(art, bei == 0 ? QString() : m_u->ziel("abgebrochen"), &fortschritt));
        const QList<int> &p = fortschritt.prozente;
        // Told in order, and stopped at the first report at or beyond the mark.
        if (bei == 0)
            QCOMPARE(p, QList<int>());
        else
            QVERIFY2(!fortschritt.rueckwaerts && p.size() >= 2 && p.last() >= bei && p.at(p.size() - 2) < bei,
                     qPrintable(QTest::toString(p)));
        QVERIFY(m_u->dialoge.hinweise.isEmpty());
        QCOMPARE(dateien(m_u->ordner.path()), QStringList{"fragen.xml"});
        QCOMPARE(ordner(art), "/frueher/");
    }

    void fehlerWirdGemeldetUndAlteDateiBleibt_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("grenze"); // bytes the disk takes; 0: the folder is a file
        QTest::addColumn<bool>("englisch");
        // Beyond the first bytes: the format's writer has begun.
        QTest::newRow("CSV, folder that is a file") << "CSV" << 0 << true;
        QTest::newRow("CSV, disk fills up") << "CSV" << 300 << false;
        QTest::newRow("PDF, folder that is a file") << "PDF" << 0 << false;
        QTest::newRow("PDF, disk fills up while printing") << "PDF" << 4000 << false;
        QTest::newRow("XLSX, folder that is a file") << "XLSX" << 0 << false;
        QTest::newRow("XLSX, disk fills up") << "XLSX" << 1000 << true;
    }
    void fehlerWirdGemeldetUndAlteDateiBleibt()
    {
        QFETCH(QString, art);
        QFETCH(int, grenze);
        QFETCH(bool, englisch);
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : QString());
        const QString alt = m_u->ziel("alt" + endung(art));
        QVERIFY(Testdaten::schreiben(alt, QByteArray("earlier")));
        QVERIFY(Testdaten::schreiben(m_u->ziel("datei"), QByteArray("x")));
        const QString datei = grenze > 0 ? alt : m_u->ziel("datei/neu" + endung(art));
        {
            std::optional<Dateigrenze> platte;
            if (grenze > 0)
                platte.emplace(rlim_t(grenze));
            QVERIFY(!exportieren(art, datei));
        }
        QCOMPARE(m_u->dialoge.hinweise.size(), 1);
        const Meldung &hinweis = m_u->dialoge.hinweise.at(0);
        QVERIFY2(hinweis.text.contains(datei), qPrintable(hinweis.text));
        QVERIFY(hinweis.text.startsWith(englisch ? "The file" : "Die Datei"));
        QVERIFY(!hinweis.informativerText.isEmpty());
        QCOMPARE(lesen(alt), QByteArray("earlier"));
        QCOMPARE(dateien(m_u->ordner.path()), (QStringList{"alt" + endung(art), "datei", "fragen.xml"}));
        QCOMPARE(ordner(art), "/frueher/");
    }

    // A file chosen through a link (to a shared folder, say): the link stays, its target gets the
    // export, and a failed export leaves the target as it was.
    void durchEinenLink_data() { jedeArt(); }
    void durchEinenLink()
    {
        QFETCH(QString, art);
        const QMap<QString, QByteArray> anfang{{"CSV", "Rangliste"}, {"PDF", "%PDF"}, {"XLSX", "PK"}};
        QTemporaryDir anderswo;
        const QString echt = anderswo.filePath("echt" + endung(art));
        QVERIFY(Testdaten::schreiben(echt, QByteArray("earlier")));
        const QString link = m_u->ziel("link" + endung(art));
        QVERIFY(QFile::link(echt, link));
        {
            const Dateigrenze platte(200);
            QVERIFY(!exportieren(art, link));
        }
        QCOMPARE(lesen(echt), QByteArray("earlier"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), echt);

        QVERIFY(exportieren(art, link));
        QCOMPARE(QFileInfo(link).symLinkTarget(), echt);
        QVERIFY(lesen(echt).startsWith(anfang.value(art)));
        QCOMPARE(dateien(anderswo.path()), QStringList{"echt" + endung(art)});
        QCOMPARE(dateien(m_u->ordner.path()), (QStringList{"fragen.xml", "link" + endung(art)}));
    }

    void beideRunden_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("CSV") << "CSV"
                             << QStringList{
                                    "Absolut;Prozent 1. Runde;Absolut 1. Runde\r\nZurich;0.0%;0;33.3%;1\r\n",
                                    "falsch -> richtig;1\r\nrichtig -> falsch;1\r\n\r\nFrage 2/3",
                                    "Antwort 1. Runde\r\nZurich;;;X\r\nBern;X;X;\r\nGeneva;;;\r\n;;;\r\n"
                                    "Wechsel;falsch -> richtig\r\n",
                                    "Wechsel;richtig -> falsch\r\n"};
        QTest::newRow("PDF, English") << "PDF"
                                      << QStringList{"33.3%&nbsp;→</font></td><td width='5%'>0.0%",
                                                     "wrong → right: 1, right → wrong: 1",
                                                     "changed – wrong → right: 1; right → wrong: –",
                                                     "wrong → right: –; right → wrong: 1"};
        QTest::newRow("workbook") << "XLSX"
                                  << QStringList{"name=\"Runden\"", "A (1. Runde)",
                                                 "A → B (falsch → richtig)", "B → C (richtig → falsch)",
                                                 ">B → B<"};
    }
    // Question 1 (Bern is right) is voted on twice: handset 5 goes from wrong to right, 7 from right
    // to wrong, 12 stays right. Each export gives both rounds' shares and the changes.
    void beideRunden()
    {
        QFETCH(QString, art);
        QFETCH(QStringList, erwartet);
        Einstellungen::setzen(Schluessel::InstallerLanguage, art == "PDF" ? "1033" : "1031");
        QList<Person> personen{teilnehmer(5, 1, {{1, 2, 2, 5500}, {3, 4, 1, 2000}}),
                               teilnehmer(7, 1, {{1, 3, 0, 2000}}), teilnehmer(12, 1, {{1, 2, 2, 3250}})};
        for (const auto &[p, ersteRunde] : {std::pair{0, 1}, {1, 2}, {2, 2}})
            personen[p].getAntwortDerFrage(1).setAntwortErsteRunde(ersteRunde);
        QString inhalt;
        if (art == "XLSX") {
            m_u->dialoge.dateien = {m_u->ziel("runden.xlsx")};
            QVERIFY(
                xlsxrangliste(m_u->dialoge, m_u->uhr).ranglisteExportieren(personen, &m_u->katalog, 3, 3));
            QProcess unzip;
            unzip.start("unzip", {"-p", m_u->ziel("runden.xlsx"), "xl/workbook.xml", "xl/sharedStrings.xml"});
            QVERIFY(unzip.waitForFinished(60000));
            inhalt = QString::fromUtf8(unzip.readAllStandardOutput());
        } else {
            const Exportgrundlage::Daten daten = Exportgrundlage::zusammenstellen(
                personen, &m_u->katalog, 3, 3, QDateTime::currentDateTimeUtc());
            inhalt =
                art == "CSV" ? QString::fromUtf8(csvrangliste::inhalt(daten)) : pdfrangliste::html(daten);
        }
        for (const QString &stelle : erwartet)
            QVERIFY2(inhalt.contains(stelle), qPrintable(stelle));
    }
};

QTEST_MAIN(TestExportDateien)
#include "tst_exportdateien.moc"
