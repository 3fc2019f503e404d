// What the three exports share as files the user owns: how the file is chosen, that a cancelled
// export writes nothing, that a failure is told and keeps the earlier file, and that a link stays a
// link.
#include "csvrangliste.h"
#include "dateigrenze.h"
#include "exporttesthilfe.h"
#include "pdfrangliste.h"
#include "xlsxrangliste.h"

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
        if (art == QLatin1String("CSV"))
            return mit<csvrangliste>(fortschritt);
        if (art == QLatin1String("PDF"))
            return mit<pdfrangliste>(fortschritt);
        return mit<xlsxrangliste>(fortschritt);
    }
    // The workbook starts in the folder of the CSV file.
    static QString ordnerSchluessel(const QString &art)
    {
        return art == QLatin1String("PDF") ? Schluessel::FilePathPDFRangliste
                                           : Schluessel::FilePathCSVRangliste;
    }
    static QString endung(const QString &art) { return QLatin1Char('.') + art.toLower(); }

    static void jedeArt()
    {
        QTest::addColumn<QString>("art");
        for (const char *art : {"CSV", "PDF", "XLSX"})
            QTest::newRow(art) << QString::fromLatin1(art);
    }

private slots:
    void init()
    {
        m_u = std::make_unique<Umgebung>();
        // Whatever an export keeps aside while it writes must be gone afterwards.
        QVERIFY(QDir().mkpath(m_u->ziel(QStringLiteral("temp"))));
        qputenv("TMPDIR", QFile::encodeName(m_u->ziel(QStringLiteral("temp"))));
        QVERIFY(m_u->laden(erdkunde()));
        Einstellungen::setzen(Schluessel::FilePathCSVRangliste, QStringLiteral("/frueher/"));
        Einstellungen::setzen(Schluessel::FilePathPDFRangliste, QStringLiteral("/frueher/"));
    }
    void cleanup()
    {
        qunsetenv("TMPDIR");
        QCOMPARE(QDir(m_u->ziel(QStringLiteral("temp")))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        m_u.reset();
    }

    void dialogVorschlagEndungUndOrdner_data() { jedeArt(); }
    void dialogVorschlagEndungUndOrdner()
    {
        QFETCH(QString, art);
        const QString ordner = m_u->ordner.path() + QLatin1Char('/');
        // A name without a suffix gets the format's; the folder is remembered.
        QVERIFY(exportieren(art, ordner + QStringLiteral("ohne_endung")));
        QCOMPARE(m_u->dialoge.speicherDialoge.value(0),
                 (QStringList{QStringLiteral("Export ") + art,
                              QStringLiteral("/frueher/PlenaroAuswertung_") + Zeitstempel,
                              QLatin1Char('*') + endung(art)}));
        QVERIFY(QFile::exists(ordner + QStringLiteral("ohne_endung") + endung(art)));
        QCOMPARE(Einstellungen::text(ordnerSchluessel(art)), ordner);

        // The next proposal starts there, in the interface language; a suffix of its own is kept.
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        QVERIFY(exportieren(art, ordner + QStringLiteral("liste.txt")));
        QCOMPARE(m_u->dialoge.speicherDialoge.value(1).value(1),
                 ordner + QStringLiteral("PlenaroEvaluation_") + Zeitstempel);
        QCOMPARE(dateien(ordner), (QStringList{QStringLiteral("fragen.xml"), QStringLiteral("liste.txt"),
                                               QStringLiteral("ohne_endung") + endung(art)}));
        QVERIFY(m_u->dialoge.hinweise.isEmpty());
    }

    void abbrechenSchreibtNichts_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("bei"); // percent; 0: the file dialog is cancelled
        for (const char *art : {"CSV", "PDF", "XLSX"}) {
            QTest::addRow("%s, file dialog", art) << QString::fromLatin1(art) << 0;
            QTest::addRow("%s, while writing", art) << QString::fromLatin1(art) << 50;
        }
        QTest::newRow("PDF, while laid out") << QStringLiteral("PDF") << 20;
        QTest::newRow("PDF, while printed") << QStringLiteral("PDF") << 80;
    }
    void abbrechenSchreibtNichts()
    {
        QFETCH(QString, art);
        QFETCH(int, bei);
        AbbrechenderFortschritt fortschritt(bei);
        QVERIFY(
            !exportieren(art, bei == 0 ? QString() : m_u->ziel(QStringLiteral("abgebrochen")), &fortschritt));
        if (bei == 0) {
            QCOMPARE(fortschritt.prozente, QList<int>());
        } else {
            // Told in order, and stopped at the first report at or beyond the mark.
            QVERIFY(!fortschritt.rueckwaerts);
            QVERIFY(fortschritt.prozente.size() >= 2);
            QVERIFY(fortschritt.prozente.last() >= bei);
            QVERIFY(fortschritt.prozente.at(fortschritt.prozente.size() - 2) < bei);
        }
        QVERIFY(m_u->dialoge.hinweise.isEmpty());
        QCOMPARE(dateien(m_u->ordner.path()), QStringList{QStringLiteral("fragen.xml")});
        QCOMPARE(Einstellungen::text(ordnerSchluessel(art)), QStringLiteral("/frueher/"));
    }

    void fehlerWirdGemeldetUndAlteDateiBleibt_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("grenze"); // bytes the disk takes; 0: the folder is a file
        QTest::addColumn<bool>("englisch");
        // Beyond the first bytes: the format's writer has begun.
        QTest::newRow("CSV, folder that is a file") << QStringLiteral("CSV") << 0 << true;
        QTest::newRow("CSV, disk fills up") << QStringLiteral("CSV") << 300 << false;
        QTest::newRow("PDF, folder that is a file") << QStringLiteral("PDF") << 0 << false;
        QTest::newRow("PDF, disk fills up while printing") << QStringLiteral("PDF") << 4000 << false;
        QTest::newRow("XLSX, folder that is a file") << QStringLiteral("XLSX") << 0 << false;
        QTest::newRow("XLSX, disk fills up") << QStringLiteral("XLSX") << 1000 << true;
    }
    void fehlerWirdGemeldetUndAlteDateiBleibt()
    {
        QFETCH(QString, art);
        QFETCH(int, grenze);
        QFETCH(bool, englisch);
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? QStringLiteral("1033") : QString());
        const QString alt = m_u->ziel(QStringLiteral("alt") + endung(art));
        QVERIFY(Testdaten::schreiben(alt, QByteArray("earlier")));
        QVERIFY(Testdaten::schreiben(m_u->ziel(QStringLiteral("datei")), QByteArray("x")));
        const QString datei = grenze > 0 ? alt : m_u->ziel(QStringLiteral("datei/neu") + endung(art));
        {
            std::optional<Dateigrenze> platte;
            if (grenze > 0)
                platte.emplace(rlim_t(grenze));
            QVERIFY(!exportieren(art, datei));
        }
        QCOMPARE(m_u->dialoge.hinweise.size(), 1);
        const Meldung &hinweis = m_u->dialoge.hinweise.at(0);
        QVERIFY2(hinweis.text.contains(datei), qPrintable(hinweis.text));
        QVERIFY(hinweis.text.startsWith(englisch ? QLatin1String("The file") : QLatin1String("Die Datei")));
        QVERIFY(!hinweis.informativerText.isEmpty());
        QCOMPARE(lesen(alt), QByteArray("earlier"));
        QCOMPARE(dateien(m_u->ordner.path()),
                 (QStringList{QStringLiteral("alt") + endung(art), QStringLiteral("datei"),
                              QStringLiteral("fragen.xml")}));
        QCOMPARE(Einstellungen::text(ordnerSchluessel(art)), QStringLiteral("/frueher/"));
    }

    // A file chosen through a link (to a shared folder, say): the link stays, its target gets the
    // export, and a failed export leaves the target as it was.
    void durchEinenLink_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QByteArray>("anfang");
        QTest::newRow("CSV") << QStringLiteral("CSV") << QByteArray("\xEF\xBB\xBFRangliste");
        QTest::newRow("PDF") << QStringLiteral("PDF") << QByteArray("%PDF");
        QTest::newRow("XLSX") << QStringLiteral("XLSX") << QByteArray("PK");
    }
    void durchEinenLink()
    {
        QFETCH(QString, art);
        QFETCH(QByteArray, anfang);
        QTemporaryDir anderswo;
        const QString echt = anderswo.filePath(QStringLiteral("echt") + endung(art));
        QVERIFY(Testdaten::schreiben(echt, QByteArray("earlier")));
        const QString link = m_u->ziel(QStringLiteral("link") + endung(art));
        QVERIFY(QFile::link(echt, link));
        {
            const Dateigrenze platte(200);
            QVERIFY(!exportieren(art, link));
        }
        QCOMPARE(lesen(echt), QByteArray("earlier"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), echt);

        QVERIFY(exportieren(art, link));
        QCOMPARE(QFileInfo(link).symLinkTarget(), echt);
        QVERIFY(lesen(echt).startsWith(anfang));
        QCOMPARE(dateien(anderswo.path()), QStringList{QStringLiteral("echt") + endung(art)});
        QCOMPARE(dateien(m_u->ordner.path()),
                 (QStringList{QStringLiteral("fragen.xml"), QStringLiteral("link") + endung(art)}));
    }
};

QTEST_MAIN(TestExportDateien)
#include "tst_exportdateien.moc"
