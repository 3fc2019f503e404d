// A phone's browser joins a game through the address on the start screen and votes next to
// handsets; its answers land in the engine, the ranking and both exports. The browser is a real
// web view loading the page from the program's server.
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "geraetschluessel.h"
#include "handyabstimmung.h"
#include "klangrekorder.h"
#include "mainwindow.h"
#include "optionwindow.h"
#include "schluessel.h"
#include "spiel.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "webwarten.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>
#include <QtTest>

namespace {

QVariant js(QWebEngineView *ansicht, const QString &ausdruck)
{
    return wertLesen([&](auto antwort) { ansicht->page()->runJavaScript(ausdruck, antwort); });
}

quint16 freierPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

class TestFensterHandys final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    std::unique_ptr<TestUhr> m_uhr;
    DialogRekorder m_dialoge;
    KlangRekorder m_klang;
    FakePortSystem m_ports;
    std::unique_ptr<MainWindow> m_fenster;

    void starten()
    {
        m_fenster = std::make_unique<MainWindow>(
            Umgebung{m_uhr.get(), &m_dialoge, &m_klang, nullptr, &m_ports, m_einstellungen->ordner()});
        m_fenster->resize(1600, 1000);
        m_fenster->show();
        QTRY_VERIFY_WITH_TIMEOUT(m_fenster->istEingerichtet(), 10000);
    }
    void taste(Qt::Key taste) { QTest::keyClick(m_fenster.get(), taste); }
    int antwort(uint klassensatz, uint buzzer, int frage)
    {
        for (const Person &p : m_fenster->getSpiel().getPersonen()) {
            if (p.getKlassensatz() == klassensatz && p.getBuzzerNo() == buzzer) {
                const AntwortDerPerson *a = p.findeAntwort(frage);
                return a ? a->getAntwort() : 0;
            }
        }
        return -1;
    }
    bool telefonZustand(QWebEngineView &telefon, const QString &feld, const QVariant &wert)
    {
        const bool ok = QTest::qWaitFor(
            [&]() { return js(&telefon, QStringLiteral("Abstimmung.zustand().") + feld) == wert; }, 20000);
        if (!ok)
            qWarning() << "phone:"
                       << js(&telefon, QStringLiteral("JSON.stringify(Abstimmung.zustand())")).toString();
        return ok;
    }
    void exportieren(const QString &aktion, const QString &pfad)
    {
        m_dialoge.dateien = {pfad};
        auto *a = m_fenster->findChild<QAction *>(aktion);
        QVERIFY(a);
        a->trigger();
    }

private slots:
    void init()
    {
        m_einstellungen = std::make_unique<TestEinstellungen>();
        m_uhr = std::make_unique<TestUhr>();
        m_dialoge.leeren();
        m_dialoge.antwortJa = true;
    }
    void cleanup()
    {
        if (m_fenster)
            m_fenster->close();
        m_fenster.reset();
        m_uhr.reset();
        m_einstellungen.reset();
    }

    void ausGeschaltetLauschtNichts()
    {
        const quint16 port = freierPort();
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(port));
        starten();
        QVERIFY(
            QTest::qWaitFor([&]() { return js(m_fenster->startAnsicht(), "typeof qt") == "object"; }, 30000));
        QVERIFY(!m_fenster->handys()->laeuft());
        QTcpSocket versuch;
        versuch.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(!versuch.waitForConnected(1000));
        QCOMPARE(js(m_fenster->startAnsicht(), "qt.jQuery('.handyBeitritt').is(':visible')").toBool(), false);
    }

    void schaltetMitDerOption()
    {
        const quint16 port = freierPort();
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(port));
        starten();
        QWebEngineView *start = m_fenster->startAnsicht();
        QVERIFY(QTest::qWaitFor([&]() { return js(start, "typeof qt") == "object"; }, 30000));
        OptionWindow *optionen = m_fenster->optionen();
        Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        emit optionen->einstellungGeaendert(Schluessel::HandyAbstimmung);
        QTRY_VERIFY(m_fenster->handys()->laeuft());
        QCOMPARE(m_fenster->handys()->port(), port);
        QTRY_VERIFY_WITH_TIMEOUT(js(start, "qt.jQuery('.handyBeitritt').is(':visible')").toBool(), 20000);

        // Another port: the server moves, the address on the start screen with it.
        const quint16 anderer = freierPort();
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(anderer));
        emit optionen->einstellungGeaendert(Schluessel::HandyPort);
        QTRY_COMPARE(m_fenster->handys()->port(), anderer);
        QTRY_VERIFY_WITH_TIMEOUT(
            js(start, "qt.jQuery('.handyAdresse').text()").toString().contains(QString::number(anderer)),
            20000);

        Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("false"));
        emit optionen->einstellungGeaendert(Schluessel::HandyAbstimmung);
        QTRY_VERIFY_WITH_TIMEOUT(!js(start, "qt.jQuery('.handyBeitritt').is(':visible')").toBool(), 20000);
        QTcpSocket versuch;
        QTRY_VERIFY([&]() {
            versuch.abort();
            versuch.connectToHost(QHostAddress::LocalHost, anderer);
            return !versuch.waitForConnected(500);
        }());
    }

    void belegterPortWirdGesagt()
    {
        QTcpServer belegt;
        QVERIFY(belegt.listen(QHostAddress::Any));
        Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(belegt.serverPort()));
        starten();
        QTRY_COMPARE_WITH_TIMEOUT(m_dialoge.hinweise.size(), 1, 10000);
        QVERIFY2(m_dialoge.hinweise.at(0).text.contains(QString::number(belegt.serverPort())),
                 qPrintable(m_dialoge.hinweise.at(0).text));
        QVERIFY(!m_fenster->handys()->laeuft());
    }

    void telefonStimmtImGanzenSpielMit()
    {
        Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(freierPort()));
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, QStringLiteral("Morvane"));
        starten();
        // After the first start has written its defaults: class sets shown in the results.
        Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("true"));
        MainWindow &f = *m_fenster;
        spiel &s = f.getSpiel();
        QTRY_VERIFY_WITH_TIMEOUT(f.handys()->laeuft(), 10000);

        // The start screen tells where to go; the browser opens exactly that address (on this
        // machine through the loopback interface).
        QWebEngineView *start = f.startAnsicht();
        QTRY_VERIFY_WITH_TIMEOUT(js(start, "qt.jQuery('.handyBeitritt').is(':visible')").toBool(), 30000);
        const QString adresse = js(start, "qt.jQuery('.handyAdresse').text()").toString();
        QVERIFY2(adresse.contains(QStringLiteral("c=") + f.handys()->code()), qPrintable(adresse));
        QCOMPARE(js(start, "qt.jQuery('.handyCode').text()").toString(), f.handys()->code());
        QVERIFY(js(start, "qt.jQuery('.handyQr').attr('src')").toString().startsWith("data:image/svg+xml"));
        QUrl url(adresse);
        url.setHost(QStringLiteral("127.0.0.1"));

        QWebEngineView telefon;
        telefon.resize(360, 640);
        telefon.show();
        telefon.load(url);
        QVERIFY(telefonZustand(telefon, "verbunden", true));
        QCOMPARE(js(&telefon, "Abstimmung.zustand().nummer").toInt(), 1);
        // It reports in on the start screen in the phones' box, not as handset 1.
        QTRY_COMPARE_WITH_TIMEOUT(js(start, "qt.jQuery('.handyAnzahl').text()").toString(),
                                  QString("Handys: 1"), 20000);
        QCOMPARE(js(start, "qt.jQuery('.imgGeraeteID1').css('display')").toString(), QString("none"));

        // A second device (a browser of its own) gets the next number.
        QWebEngineProfile zweitesProfil;
        QWebEngineView zweites;
        zweites.setPage(new QWebEnginePage(&zweitesProfil, &zweites));
        zweites.resize(360, 640);
        zweites.show();
        zweites.load(url);
        QVERIFY(telefonZustand(zweites, "verbunden", true));
        QCOMPARE(js(&zweites, "Abstimmung.zustand().nummer").toInt(), 2);

        // Question 1: the answer delay does not take presses, from phones neither.
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        taste(Qt::Key_Space);
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        QVERIFY(!f.stimmenVerbunden());
        QVERIFY(telefonZustand(telefon, "offen", false));
        js(&telefon, "document.getElementById('knopf4').click()");
        m_uhr->vorspulen(2000);
        QVERIFY(s.istCountdownAktiv());
        QVERIFY(telefonZustand(telefon, "offen", true));
        QCOMPARE(antwort(HandyKlassensatz, 1, 1), -1);

        // A press, changed while the countdown runs: the last one counts, as on a handset.
        js(&telefon, "document.getElementById('knopf1').click()");
        QVERIFY(telefonZustand(telefon, "gewaehlt", 1));
        js(&telefon, "document.getElementById('knopf2').click()");
        QVERIFY(telefonZustand(telefon, "gewaehlt", 2));
        QTRY_COMPARE_WITH_TIMEOUT(antwort(HandyKlassensatz, 1, 1), 2, 20000);
        js(&zweites, "document.getElementById('knopf4').click()");
        QTRY_COMPARE_WITH_TIMEOUT(antwort(HandyKlassensatz, 2, 1), 4, 20000);
        taste(Qt::Key_C);          // the keyboard's handset
        f.druckEmpfangen(1, 7, 1); // a receiver's handset
        QCOMPARE(antwort(1, 60, 1), 3);
        QCOMPARE(antwort(1, 7, 1), 1);

        // After the end the phone is told, and a press changes nothing.
        m_uhr->vorspulen(20000);
        QVERIFY(!s.istCountdownAktiv());
        QVERIFY(telefonZustand(telefon, "offen", false));
        js(&telefon, "document.getElementById('knopf3').click()");
        QTest::qWait(200);
        QCOMPARE(antwort(HandyKlassensatz, 1, 1), 2);
        m_uhr->vorspulen(2000);

        // The ranking names the phone as such.
        taste(Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(
            js(f.ranglisteAnsicht(), "qt.jQuery('.tabelleReiheRangliste').length").toInt(), 4, 20000);
        const QString zeilen = js(f.ranglisteAnsicht(), "qt.jQuery('.zeilenRangliste').text()").toString();
        QVERIFY2(zeilen.contains("Handy 1"), qPrintable(zeilen));

        // And both exports.
        const QString csv = m_einstellungen->ordner() + QStringLiteral("/handy.csv");
        exportieren(QStringLiteral("actionResultate_CSV"), csv);
        QFile csvDatei(csv);
        QVERIFY(csvDatei.open(QIODevice::ReadOnly));
        const QString csvText = QString::fromUtf8(csvDatei.readAll());
        QVERIFY2(csvText.contains(QStringLiteral(";Handy 1;")), qPrintable(csvText));
        const QString pdf = m_einstellungen->ordner() + QStringLiteral("/handy.pdf");
        exportieren(QStringLiteral("actionResultate_PDF"), pdf);
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext missing: install poppler-utils (tools/setup.sh)");
        QProcess text;
        text.start(pdftotext, {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(60000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("Handy 1")));

        // A restart is a new game with a new code: the phone is asked to scan again.
        const QString alterCode = f.handys()->code();
        f.on_actionSpiel_neu_starten_triggered();
        QVERIFY(f.handys()->code() != alterCode);
        QVERIFY(telefonZustand(telefon, "verbunden", false));
        QTRY_VERIFY_WITH_TIMEOUT(js(start, "qt.jQuery('.handyCode').text()").toString() == f.handys()->code(),
                                 20000);
    }

    // The voting page speaks the program's language from its first text on, whichever language the
    // phone's browser prefers.
    void telefonSprichtVonAnfangAnDieSpracheDesProgramms_data()
    {
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QString>("browser");
        QTest::addColumn<QString>("kopf"); // how the header begins, before and after joining
        QTest::newRow("German program, English phone") << false << "en-US"
                                                       << "Handsender ";
        QTest::newRow("English program, German phone") << true << "de-DE"
                                                       << "Handset ";
    }

    void telefonSprichtVonAnfangAnDieSpracheDesProgramms()
    {
        QFETCH(bool, englisch);
        QFETCH(QString, browser);
        QFETCH(QString, kopf);
        HandyAbstimmung handys;
        handys.spracheSetzen(englisch);
        handys.neuerCode();
        QSignalSpy gestartet(&handys, &HandyAbstimmung::gestartet);
        handys.starten(0, QHostAddress::LocalHost);
        QVERIFY(gestartet.wait(10000));

        QWebEngineProfile profil;
        profil.setHttpAcceptLanguage(browser);
        QWebEnginePage seite(&profil);
        // Every header the page ever shows, from before its script runs.
        QWebEngineScript mitschrift;
        mitschrift.setInjectionPoint(QWebEngineScript::DocumentCreation);
        mitschrift.setWorldId(QWebEngineScript::MainWorld);
        mitschrift.setSourceCode(QStringLiteral(
            "window.koepfe = [];"
            "new MutationObserver(function () {"
            "  var k = document.getElementById('nummer');"
            "  if (k && k.textContent && window.koepfe[window.koepfe.length - 1] !== k.textContent)"
            "    window.koepfe.push(k.textContent);"
            "}).observe(document, {subtree: true, childList: true, characterData: true});"));
        seite.scripts().insert(mitschrift);
        QWebEngineView telefon;
        telefon.setPage(&seite);
        telefon.resize(360, 640);
        telefon.show();
        telefon.load(QUrl(handys.seitenAdresse(QStringLiteral("127.0.0.1"))));
        QVERIFY(telefonZustand(telefon, "verbunden", true));

        QCOMPARE(js(&telefon, "navigator.language").toString(), browser);
        QCOMPARE(js(&telefon, "document.documentElement.lang").toString(), englisch ? "en" : "de");
        const QStringList koepfe = js(&telefon, "window.koepfe").toStringList();
        QVERIFY(koepfe.size() >= 2); // "… –" while it connects, then its number
        for (const QString &text : koepfe)
            QVERIFY2(text.startsWith(kopf), qPrintable(koepfe.join(QStringLiteral(" / "))));
        telefon.setPage(nullptr);
    }
};

QTEST_MAIN(TestFensterHandys)
#include "tst_fensterhandys.moc"
