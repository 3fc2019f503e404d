#include "benutzerdatei.h"
#include "dateigrenze.h"
#include "dialoge.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace {

QByteArray lesen(const QString &pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

} // namespace

class TestBenutzerDatei final : public QObject
{
    Q_OBJECT

private slots:
    void ersetztErstAmEndeUndBehaeltDieRechte()
    {
        QTemporaryDir ordner;
        const QString ziel = ordner.filePath("bericht.csv");
        QVERIFY(BenutzerDatei::schreiben(ziel, "alt").ok());
        QVERIFY(QFile::setPermissions(ziel, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const QFileDevice::Permissions rechte = QFile::permissions(ziel);
        {
            BenutzerDatei datei(ziel);
            QVERIFY(datei.oeffnen());
            QVERIFY(datei.schreiben("neu "));
            // Until the end the old content is what everybody sees.
            QCOMPARE(lesen(ziel), QByteArray("alt"));
            QTextStream strom(&datei.geraet());
            strom << "und mehr";
            strom.flush();
            const SchreibErgebnis ergebnis = datei.abschliessen();
            QVERIFY(ergebnis.ok());
            QVERIFY(ergebnis.meldung(false).isEmpty());
        }
        QCOMPARE(lesen(ziel), QByteArray("neu und mehr"));
        QCOMPARE(QFile::permissions(ziel), rechte);
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bericht.csv"});
    }

    void ohneAbschlussBleibtDasZielUnberuehrt()
    {
        QTemporaryDir ordner;
        const QString ziel = ordner.filePath("x.pdf");
        {
            BenutzerDatei datei(ziel);
            QVERIFY(datei.oeffnen());
            QVERIFY(datei.schreiben("halb"));
        }
        QVERIFY(!QFileInfo::exists(ziel));
        QVERIFY(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void einSchreiberDerFehlerUebersiehtWirdTrotzdemErtappt()
    {
        // A PDF or text writer writes through the device and does not look at every result.
        QTemporaryDir ordner;
        const QString ziel = ordner.filePath("export.pdf");
        QVERIFY(BenutzerDatei::schreiben(ziel, "vorher").ok());
        SchreibErgebnis ergebnis;
        {
            Dateigrenze grenze{4000};
            QVERIFY(grenze.gesetzt());
            BenutzerDatei datei(ziel);
            QVERIFY(datei.oeffnen());
            QTextStream strom(&datei.geraet());
            for (int i = 0; i < 2000; ++i)
                strom << "Zeile " << i << '\n';
            strom.flush();
            ergebnis = datei.abschliessen();
        }
        QVERIFY(!ergebnis.ok());
        QCOMPARE(ergebnis.grund, QString("File too large"));
        QCOMPARE(ergebnis.meldung(true),
                 QStringLiteral("The file \"%1\" could not be saved: File too large").arg(ziel));
        QCOMPARE(lesen(ziel), QByteArray("vorher"));
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.pdf"});
    }

    void ordnerFehltOderIstDasZiel()
    {
        QTemporaryDir ordner;
        const SchreibErgebnis fehlt = BenutzerDatei::schreiben(ordner.filePath("gibt/es/nicht.csv"), "x");
        QCOMPARE(fehlt.grund, QString("No such file or directory"));
        QVERIFY(fehlt.meldung(false).startsWith("Die Datei \""));
        QVERIFY(QDir().mkpath(ordner.filePath("ordner.csv")));
        const SchreibErgebnis istOrdner = BenutzerDatei::schreiben(ordner.filePath("ordner.csv"), "x");
        QCOMPARE(istOrdner.grund, QString("Is a directory"));
        QVERIFY(QFileInfo(ordner.filePath("ordner.csv")).isDir());
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // A file dialog starts in the remembered folder, never in the root or a folder that is gone.
    void startOrdnerDerDateiDialoge_data()
    {
        QTest::addColumn<QString>("gemerkt");
        QTest::addColumn<bool>("bleibt");
        QTest::newRow("ordner") << "ORDNER" << true;
        QTest::newRow("wurzel") << "/" << false;
        QTest::newRow("leer") << "" << false;
        QTest::newRow("weg") << "ORDNER/weg/bild.png" << false;
        QTest::newRow("eine datei darin") << "ORDNER/bild.png" << true;
    }
    void startOrdnerDerDateiDialoge()
    {
        QFETCH(QString, gemerkt);
        QFETCH(bool, bleibt);
        QTemporaryDir ordner;
        gemerkt.replace("ORDNER", ordner.path());
        const QString start = Dialoge::startOrdner(gemerkt);
        QVERIFY2(QFileInfo(start).absoluteDir().exists() && !QDir(start).isRoot(), qPrintable(start));
        QCOMPARE(start == QFileInfo(gemerkt).absoluteFilePath() && start.startsWith(ordner.path()), bleibt);
    }
};

QTEST_GUILESS_MAIN(TestBenutzerDatei)
#include "tst_benutzerdatei.moc"
