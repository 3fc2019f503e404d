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

    // A file dialog starts in the remembered folder or beside the remembered file, and a report is
    // proposed under its name in a real folder; the root, a folder that is gone or none at all give
    // the start folder, never wherever the program was started from.
    void dialogOrte_data()
    {
        QTest::addColumn<bool>("speichern");
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<QString>("ort");
        QTest::newRow("folder") << false << "ORDNER"
                                << "ORDNER";
        QTest::newRow("a file in it") << false << "ORDNER/bild.png"
                                      << "ORDNER/bild.png";
        QTest::newRow("root") << false << "/"
                              << "START";
        QTest::newRow("none") << false << ""
                              << "START";
        QTest::newRow("gone") << false << "ORDNER/weg/bild.png"
                              << "START";
        QTest::newRow("save in a folder") << true << "ORDNER/bericht"
                                          << "ORDNER/bericht";
        QTest::newRow("save, name only") << true << "bericht"
                                         << "START/bericht";
        QTest::newRow("save in the root") << true << "/bericht"
                                          << "START/bericht";
        QTest::newRow("save in a folder gone") << true << "ORDNER/weg/bericht"
                                               << "START/bericht";
    }
    void dialogOrte()
    {
        QFETCH(bool, speichern);
        QFETCH(QString, pfad);
        QFETCH(QString, ort);
        QTemporaryDir ordner;
        const QFileInfo start(Dialoge::startOrdner({}));
        QVERIFY2(start.isDir() && !QDir(start.absoluteFilePath()).isRoot(), qPrintable(start.filePath()));
        pfad.replace("ORDNER", ordner.path());
        ort.replace("ORDNER", ordner.path()).replace("START", start.filePath());
        QCOMPARE(speichern ? Dialoge::speicherOrt(pfad) : Dialoge::startOrdner(pfad), ort);
    }
};

QTEST_GUILESS_MAIN(TestBenutzerDatei)
#include "tst_benutzerdatei.moc"
