#include "benutzerdatei.h"
#include "dateigrenze.h"
#include "dialoge.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>
#include <optional>

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
    // A writer writes through the device, as a PDF or text writer does, without looking at every
    // result. Until the end the old content is what everybody sees; a finished file replaces it with
    // its rights kept, one not finished or failed (here: beyond a file-size limit) leaves it as it
    // was; nothing else is left in the folder.
    void ersetztErstAmEnde_data()
    {
        QTest::addColumn<bool>("abschliessen");
        QTest::addColumn<int>("grenze"); // 0: none
        QTest::addColumn<QString>("grund");
        QTest::newRow("finished") << true << 0 << QString();
        QTest::newRow("not finished") << false << 0 << QString();
        QTest::newRow("too large") << true << 4000 << "File too large";
    }
    void ersetztErstAmEnde()
    {
        QFETCH(bool, abschliessen);
        QFETCH(int, grenze);
        QFETCH(QString, grund);
        QTemporaryDir ordner;
        const QString ziel = ordner.filePath("bericht.csv");
        QVERIFY(BenutzerDatei::schreiben(ziel, "alt").ok());
        QVERIFY(QFile::setPermissions(ziel, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const QFileDevice::Permissions rechte = QFile::permissions(ziel);
        SchreibErgebnis ergebnis;
        {
            std::optional<Dateigrenze> begrenzt;
            if (grenze > 0)
                QVERIFY(begrenzt.emplace(rlim_t(grenze)).gesetzt());
            BenutzerDatei datei(ziel);
            QVERIFY(datei.oeffnen());
            QVERIFY(datei.schreiben("neu "));
            QTextStream strom(&datei.geraet());
            for (int i = 0; i < (grenze > 0 ? 2000 : 1); ++i)
                strom << "und mehr " << i;
            strom.flush();
            QCOMPARE(lesen(ziel), QByteArray("alt"));
            if (abschliessen)
                ergebnis = datei.abschliessen();
        }
        QCOMPARE(ergebnis.grund, grund);
        QCOMPARE(lesen(ziel), QByteArray(abschliessen && grund.isEmpty() ? "neu und mehr 0" : "alt"));
        QCOMPARE(QFile::permissions(ziel), rechte);
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bericht.csv"});
        if (!grund.isEmpty())
            QCOMPARE(ergebnis.meldung(true),
                     QStringLiteral("The file \"%1\" could not be saved: File too large").arg(ziel));
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

    // A report's proposed name stays in a real folder; a bare name, one in the root or in a folder
    // that is gone goes to the start folder, not to wherever the program was started from.
    void speicherOrt_data()
    {
        QTest::addColumn<QString>("vorschlag");
        QTest::addColumn<bool>("bleibt");
        QTest::newRow("ordner") << "ORDNER/bericht" << true;
        QTest::newRow("nur der name") << "bericht" << false;
        QTest::newRow("wurzel") << "/bericht" << false;
        QTest::newRow("weg") << "ORDNER/weg/bericht" << false;
    }
    void speicherOrt()
    {
        QFETCH(QString, vorschlag);
        QFETCH(bool, bleibt);
        QTemporaryDir ordner;
        vorschlag.replace("ORDNER", ordner.path());
        const QString ort = Dialoge::speicherOrt(vorschlag);
        QCOMPARE(ort, bleibt ? vorschlag : Dialoge::startOrdner({}) + "/bericht");
        QVERIFY(QFileInfo(ort).absoluteDir().exists() && !QFileInfo(ort).absoluteDir().isRoot());
    }
};

QTEST_GUILESS_MAIN(TestBenutzerDatei)
#include "tst_benutzerdatei.moc"
