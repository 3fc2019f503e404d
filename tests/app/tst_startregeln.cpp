#include "einstellungen.h"
#include "schluessel.h"
#include "startregeln.h"
#include "testdaten.h"
#include "testeinstellungen.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

class TestStartregeln final : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_einstellungen = std::make_unique<TestEinstellungen>(); }
    void cleanup() { m_einstellungen.reset(); }

    // Flags count only as the exact text "true", the interface is English only for exactly
    // "1033", and a number that is missing or no number reads as 0.
    void werteGenauWieGespeichert_data()
    {
        QTest::addColumn<QString>("schluessel");
        QTest::addColumn<QVariant>("wert");
        QTest::addColumn<bool>("ist");
        QTest::addColumn<int>("zahl");
        QTest::addColumn<bool>("englisch");
        const QString flag = Schluessel::Konferenzmodus;
        const QString sprache = Schluessel::InstallerLanguage;
        const QString zeit = Schluessel::AutomatisierungZeit;
        QTest::newRow("flag true") << flag << QVariant("true") << true << 0 << false;
        for (const char *wert : {"True", "1", "TRUE", "true "})
            QTest::newRow(qPrintable(QStringLiteral("flag '%1'").arg(wert)))
                << flag << QVariant(wert) << false << QByteArray(wert).trimmed().toInt() << false;
        QTest::newRow("missing") << sprache << QVariant() << false << 0 << false;
        QTest::newRow("language 1033") << sprache << QVariant("1033") << false << 1033 << true;
        QTest::newRow("language 1031") << sprache << QVariant("1031") << false << 1031 << false;
        QTest::newRow("language 0") << sprache << QVariant("0") << false << 0 << false;
        QTest::newRow("language blank after") << sprache << QVariant("1033 ") << false << 1033 << false;
        QTest::newRow("number abc") << zeit << QVariant("abc") << false << 0 << false;
        QTest::newRow("number 7") << zeit << QVariant("7") << false << 7 << false;
    }
    void werteGenauWieGespeichert()
    {
        QFETCH(QString, schluessel);
        QFETCH(QVariant, wert);
        QFETCH(bool, englisch);
        if (wert.isValid())
            Einstellungen::setzen(schluessel, wert);
        QCOMPARE(Einstellungen::vorhanden(schluessel), wert.isValid());
        QCOMPARE(Einstellungen::text(schluessel), wert.toString());
        QTEST(Einstellungen::ist(schluessel), "ist");
        QTEST(Einstellungen::zahl(schluessel), "zahl");
        QCOMPARE(Einstellungen::istEnglisch(), englisch);
        QCOMPARE(Einstellungen::meldung(QStringLiteral("Ja"), QStringLiteral("Yes")),
                 englisch ? QStringLiteral("Yes") : QStringLiteral("Ja"));
    }

    // OpenGL emulated on the processor is drawn in software; a real driver keeps the card.
    void softwareNurOhneGrafikkarte_data()
    {
        QTest::addColumn<QString>("renderer");
        QTest::addColumn<bool>("software");
        QTest::newRow("no OpenGL") << "" << true;
        QTest::newRow("llvmpipe") << "llvmpipe (LLVM 15.0.6, 256 bits)" << true;
        QTest::newRow("softpipe") << "Mesa softpipe" << true;
        QTest::newRow("SwiftShader") << "Google SwiftShader" << true;
        QTest::newRow("Intel") << "Mesa Intel(R) UHD Graphics 620 (KBL GT2)" << false;
        QTest::newRow("AMD") << "AMD Radeon Graphics (renoir, LLVM 15.0.6, DRM 3.49)" << false;
    }
    void softwareNurOhneGrafikkarte()
    {
        QFETCH(QString, renderer);
        QFETCH(bool, software);
        QCOMPARE(Startregeln::softwareZeichnen(renderer), software);
    }

    void dateienGrenzeBisZurHartenGrenze()
    {
        rlimit vorher{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &vorher), 0);
        if (vorher.rlim_max == RLIM_INFINITY || vorher.rlim_max <= 64)
            QSKIP("no finite hard limit above 64 to raise to");
        rlimit niedrig = vorher;
        niedrig.rlim_cur = 64;
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &niedrig), 0);
        const quint64 jetzt = Startregeln::dateienGrenzeAnheben();
        rlimit danach{};
        ::getrlimit(RLIMIT_NOFILE, &danach);
        ::setrlimit(RLIMIT_NOFILE, &vorher);
        QCOMPARE(jetzt, quint64(vorher.rlim_max));
        QCOMPARE(danach.rlim_cur, vorher.rlim_max);
    }

    // The first start takes the sample of the interface language and writes the first-start
    // values only once it is done; a later one changes nothing.
    void ersterStart_data()
    {
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QString>("datei");
        QTest::newRow("German") << QString() << QString("/opt/plenaro/examples/DE/BspFragen.xml");
        QTest::newRow("English") << QString("1033") << QString("/opt/plenaro/examples/EN/BspFragen.xml");
    }
    void ersterStart()
    {
        QFETCH(QString, sprache);
        if (!sprache.isEmpty())
            Einstellungen::setzen(Schluessel::InstallerLanguage, sprache);
        const auto start = Startregeln::startDatei(QStringLiteral("/opt/plenaro/bin"));
        QVERIFY(start.ersterStart);
        QTEST(start.pfad, "datei");
        // Choosing the file writes nothing yet.
        QVERIFY(!Einstellungen::vorhanden(Schluessel::FrageFile));

        Startregeln::ersterStartAbschliessen(start.pfad);
        // The whole store, under the names earlier versions read: the first-start values and
        // nothing else, none of the keys the options dialog writes.
        QSettings datei(QStringLiteral("Corvanta"), QStringLiteral("plenaro.example"));
        QStringList gespeichert;
        for (const QString &schluessel : datei.allKeys())
            gespeichert << schluessel + QLatin1Char('=') + datei.value(schluessel).toString();
        QCOMPARE(
            gespeichert.join(QLatin1Char(' ')),
            QStringLiteral("AutomatisierungAktiviert=false EmpfaengerAutomatischFinden=true "
                           "FilePathCSVRangliste= FilePathPDFRangliste= FrageFile=%1 FragetextFett=false "
                           "%2Konferenzmodus=false LösungAnzeigen=true "
                           "MultilingualApplikationBereitsEinmalGestartet=true "
                           "QuizProzentAntwortenAnzeigen=true SteuerungUeberMaster=false "
                           "TemplateAutomatischErkennen=true ToeneAutomatisierungLautlos=false "
                           "ToeneBuzzerLautlos=false ToeneCountdownLautlos=false "
                           "UmfrageProzentAntwortenAnzeigen=false")
                .arg(start.pfad, sprache.isEmpty() ? QString() : QStringLiteral("InstallerLanguage=1033 ")));

        // A later start takes the file in use and writes nothing.
        Einstellungen::setzen(Schluessel::FrageFile, QStringLiteral("/kurs/fragen.xml"));
        Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("true"));
        const auto spaeter = Startregeln::startDatei(QStringLiteral("/opt/plenaro/bin"));
        QVERIFY(!spaeter.ersterStart);
        QCOMPARE(spaeter.pfad, QStringLiteral("/kurs/fragen.xml"));
        QCOMPARE(Einstellungen::text(Schluessel::Konferenzmodus), QStringLiteral("true"));
    }

    // A build tree keeps the samples beside "bin", an installation below share/plenaro; the program
    // must find them from its own folder whichever it runs from, beside "bin" first. Found nowhere:
    // the place beside "bin" is named.
    void beispieleImBaumUndInstalliert_data()
    {
        QTest::addColumn<QStringList>("dateien");
        QTest::addColumn<QString>("bin");
        QTest::addColumn<QString>("beispiele");
        QTest::addColumn<QString>("logo"); // where the companion folder imagespdf is found
        QTest::newRow("build tree") << QStringList{"b/bin/plenaro", "b/examples/EN/BspFragen.xml",
                                                   "b/bin/imagespdf/logo.png"}
                                    << QString("b/bin") << QString("b/examples")
                                    << QString("b/bin/imagespdf");
        QTest::newRow("installed") << QStringList{"u/bin/plenaro",
                                                  "u/share/plenaro/examples/EN/BspFragen.xml",
                                                  "u/share/plenaro/imagespdf/logo.png"}
                                   << QString("u/bin") << QString("u/share/plenaro/examples")
                                   << QString("u/share/plenaro/imagespdf");
        QTest::newRow("both layouts")
            << QStringList{"u/examples/EN/BspFragen.xml", "u/share/plenaro/examples/EN/BspFragen.xml"}
            << QString("u/bin") << QString("u/examples") << QString("u/bin/imagespdf");
        QTest::newRow("a file named examples")
            << QStringList{"o/examples", "o/share/plenaro/examples/DE/BspFragen.xml"} << QString("o/bin")
            << QString("o/share/plenaro/examples") << QString("o/bin/imagespdf");
        // Nothing there: a "bin" folder, the last one or a "debug" folder instead, becomes "examples".
        const auto nirgends = [](const char *name, const QString &bin, const QString &beispiele) {
            QTest::newRow(name) << QStringList() << bin << beispiele << bin + QStringLiteral("/imagespdf");
        };
        nirgends("bin folder", "opt/plenaro/bin", "opt/plenaro/examples");
        nirgends("bin inside a name", "home/robin/plenaro/bin", "home/robin/plenaro/examples");
        nirgends("only the last bin", "srv/bin/plenaro/bin", "srv/bin/plenaro/examples");
        nirgends("debug tree", "home/k/build/debug", "home/k/build/examples");
        nirgends("debug before bin", "home/k/debug/bin", "home/k/examples/bin");
        nirgends("debugger is no debug folder", "home/debugger/bin", "home/debugger/examples");
        nirgends("neither", "usr/local/plenaro", "usr/local/plenaro");
    }
    void beispieleImBaumUndInstalliert()
    {
        QFETCH(QStringList, dateien);
        QFETCH(QString, bin);
        QFETCH(QString, beispiele);
        QFETCH(QString, logo);
        QTemporaryDir wurzel;
        const QString w = wurzel.path() + QLatin1Char('/');
        for (const QString &datei : dateien)
            QVERIFY(QDir().mkpath(QFileInfo(w + datei).absolutePath()) &&
                    Testdaten::schreiben(w + datei, QByteArray()));
        QCOMPARE(Startregeln::beispielVerzeichnisSuchen(w + bin), w + beispiele);
        QCOMPARE(Startregeln::begleitDatei(w + bin, QStringLiteral("imagespdf")), w + logo);
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        QCOMPARE(Startregeln::startDatei(w + bin).pfad, w + beispiele + QLatin1String("/EN/BspFragen.xml"));
    }

    // Every start resets what belongs to one run and stores the screen; the file is rewritten only
    // for a change, and keeps lists and keys with umlauts.
    void jederStart()
    {
        Einstellungen::setzen({{Schluessel::ZoomFaktorTemplateTandrivelle, "0.85"},
                               {Schluessel::EmpfaengerVerbunden, "true"},
                               {Schluessel::SoundFileToeneBuzzer, "plop2.wav"},
                               {Schluessel::RecentFileList, QStringList{"/a.xml", "/b.xml"}},
                               {Schluessel::LoesungAnzeigen, "false"}});
        Startregeln::jederStart(QSize(1920, 1080));
        QCOMPARE(Einstellungen::texte(
                     {Schluessel::ZoomFaktorTemplateTandrivelle, Schluessel::EmpfaengerVerbunden,
                      Schluessel::DefaultPfadFrageFileOeffnen, Schluessel::SoundFileToeneBuzzer,
                      Schluessel::SoundFileToeneCountdown, Schluessel::SoundFileToeneAutomatisierung}),
                 QStringList({"1.2", "false", "/", "plop2.wav", "ring.wav", "bell.wav"}));
        Einstellungen::setzen(Schluessel::SerialPort, QStringLiteral("COM1"));
        const auto gespeichert = [](const QString &schluessel) {
            return QSettings(QStringLiteral("Corvanta"), QStringLiteral("plenaro.example")).value(schluessel);
        };
        QCOMPARE(gespeichert(Schluessel::RecentFileList).toStringList(), QStringList({"/a.xml", "/b.xml"}));
        QCOMPARE(gespeichert(QStringLiteral("LösungAnzeigen")).toString(), QStringLiteral("false"));

        // A line the program never writes: gone as soon as the file is written again.
        const QString pfad =
            QSettings(QStringLiteral("Corvanta"), QStringLiteral("plenaro.example")).fileName();
        QVERIFY(Testdaten::schreiben(pfad, Testdaten::lesen(pfad) + "; Merkzeile\n"));
        const auto merkzeileDa = [&pfad]() {
            return Testdaten::lesen(pfad).contains("; Merkzeile");
        };
        Startregeln::jederStart(QSize(1920, 1080));
        Einstellungen::setzen({{Schluessel::SerialPort, QStringLiteral("COM1")},
                               {Schluessel::EmpfaengerVerbunden, QStringLiteral("false")}});
        QVERIFY(merkzeileDa());

        // One changed value among unchanged ones is written, and the others keep theirs.
        Einstellungen::setzen({{Schluessel::SerialPort, QStringLiteral("COM1")},
                               {Schluessel::EmpfaengerVerbunden, QStringLiteral("true")}});
        QVERIFY(!merkzeileDa());
        QCOMPARE(gespeichert(Schluessel::EmpfaengerVerbunden).toString(), QStringLiteral("true"));
        QCOMPARE(gespeichert(Schluessel::SerialPort).toString(), QStringLiteral("COM1"));
        QCOMPARE(gespeichert(Schluessel::DesktopWidth).toInt(), 1920);

        // A screen of another size on the next start is stored.
        Startregeln::jederStart(QSize(1366, 768));
        QCOMPARE(Einstellungen::zahl(Schluessel::DesktopWidth), 1366);
        QCOMPARE(gespeichert(Schluessel::DesktopHeight).toInt(), 768);
    }

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
};

QTEST_GUILESS_MAIN(TestStartregeln)
#include "tst_startregeln.moc"
