// A phone's browser joins a game through the address on the start screen and votes in the
// program's language; its answers land in the engine. The browser is a real web view loading the
// page from the program's server.
#include "freierport.h"
#include "geraetschluessel.h"
#include "handyabstimmung.h"
#include "hauptfenster.h"
#include "optionwindow.h"
#include "spiel.h"
#include "teilnehmer.h"

#include <QTcpServer>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QtTest>

namespace {

// Whether the start screen shows the box that tells phones where to join; "absent" when the page
// has no such box, so that a page without it never passes for one that hides it.
QString beitrittSichtbar(QWebEngineView *start)
{
    return js(start, QStringLiteral("qt.jQuery('.handyBeitritt').length != 1 ? 'absent' : "
                                    "qt.jQuery('.handyBeitritt').is(':visible') ? 'shown' : 'hidden'"))
        .toString();
}

} // namespace

class TestFensterHandys final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Hauptfenster> h;

    bool starten() { return h->starten() && h->geladen(h->fenster->startAnsicht(), "startscreen.html"); }
    int antwort(uint klassensatz, uint buzzer, int frage)
    {
        return antwortVon(h->fenster->getSpiel().getPersonen(), klassensatz, buzzer, frage);
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
    // A phone's screen opening `url`; whether it got connected.
    bool verbinden(QWebEngineView &telefon, const QUrl &url)
    {
        telefon.resize(360, 640);
        telefon.show();
        telefon.load(url);
        return telefonZustand(telefon, "verbunden", true);
    }

private slots:
    void init() { h = std::make_unique<Hauptfenster>(); }
    void cleanup() { h.reset(); }

    // Off, the program listens on no port; the option turns the server on, moves it to another
    // port and turns it off again, with the join box on the start screen following.
    void schaltetMitDerOption()
    {
        const quint16 port = freierPort();
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(port));
        QVERIFY(starten());
        QWebEngineView *start = h->fenster->startAnsicht();
        const auto lauscht = [](quint16 wo) {
            QTcpSocket versuch;
            versuch.connectToHost(QHostAddress::LocalHost, wo);
            return versuch.waitForConnected(1000);
        };
        QVERIFY(!h->fenster->handys()->laeuft());
        QVERIFY(!lauscht(port));
        QCOMPARE(beitrittSichtbar(start), QString("hidden"));

        // As the options dialog changes a setting.
        const auto aendern = [this](const QString &schluessel, const QString &wert) {
            Einstellungen::setzen(schluessel, wert);
            emit h->fenster->optionen()->einstellungGeaendert(schluessel);
        };
        aendern(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        QTRY_VERIFY(h->fenster->handys()->laeuft());
        QCOMPARE(h->fenster->handys()->port(), port);
        QVERIFY(lauscht(port));
        QTRY_COMPARE_WITH_TIMEOUT(beitrittSichtbar(start), QString("shown"), 20000);

        // Another port: the server moves, the address on the start screen with it.
        const quint16 anderer = freierPort();
        aendern(Schluessel::HandyPort, QString::number(anderer));
        QTRY_COMPARE(h->fenster->handys()->port(), anderer);
        QTRY_VERIFY(lauscht(anderer)); // so that its end below is seen
        QTRY_VERIFY_WITH_TIMEOUT(
            js(start, "qt.jQuery('.handyAdresse').text()").toString().contains(QString::number(anderer)),
            20000);

        aendern(Schluessel::HandyAbstimmung, QStringLiteral("false"));
        QTRY_COMPARE_WITH_TIMEOUT(beitrittSichtbar(start), QString("hidden"), 20000);
        QTRY_VERIFY(!lauscht(anderer));
    }

    void belegterPortWirdGesagt()
    {
        QTcpServer belegt;
        QVERIFY(belegt.listen(QHostAddress::Any));
        Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(belegt.serverPort()));
        QVERIFY(starten());
        QTRY_COMPARE_WITH_TIMEOUT(h->dialoge.hinweise.size(), 1, 10000);
        QVERIFY2(h->dialoge.hinweise.at(0).text.contains(QString::number(belegt.serverPort())),
                 qPrintable(h->dialoge.hinweise.at(0).text));
        QVERIFY(!h->fenster->handys()->laeuft());
    }

    void telefonStimmtImGanzenSpielMit()
    {
        Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(freierPort()));
        QVERIFY(starten());
        MainWindow &f = *h->fenster;
        spiel &s = f.getSpiel();
        QTRY_VERIFY_WITH_TIMEOUT(f.handys()->laeuft(), 10000);

        // The start screen tells where to go; the browser opens exactly that address (on this
        // machine through the loopback interface).
        QWebEngineView *start = f.startAnsicht();
        QTRY_COMPARE_WITH_TIMEOUT(beitrittSichtbar(start), QString("shown"), 30000);
        const QString adresse = js(start, "qt.jQuery('.handyAdresse').text()").toString();
        QVERIFY2(adresse.contains(QStringLiteral("c=") + f.handys()->code()), qPrintable(adresse));
        QCOMPARE(js(start, "qt.jQuery('.handyCode').text()").toString(), f.handys()->code());
        QVERIFY(js(start, "qt.jQuery('.handyQr').attr('src')").toString().startsWith("data:image/svg+xml"));
        QUrl url(adresse);
        url.setHost(QStringLiteral("127.0.0.1"));

        // A phone whose browser prefers English: the page speaks the program's German from its
        // first text on, which a script put in before the page's own records.
        QWebEngineProfile profil;
        profil.setHttpAcceptLanguage(QStringLiteral("en-US"));
        QWebEngineView telefon;
        telefon.setPage(new QWebEnginePage(&profil, &telefon));
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
        telefon.page()->scripts().insert(mitschrift);
        QVERIFY(verbinden(telefon, url));
        QCOMPARE(js(&telefon, "Abstimmung.zustand().nummer").toInt(), 1);
        QCOMPARE(js(&telefon, "navigator.language").toString(), QString("en-US"));
        const QStringList koepfe = js(&telefon, "window.koepfe").toStringList();
        QVERIFY(koepfe.size() >= 2); // "… –" while it connects, then its number
        for (const QString &kopf : koepfe)
            QVERIFY2(kopf.startsWith("Handsender "), qPrintable(koepfe.join(QStringLiteral(" / "))));
        // Counts what the phone sends: a press it must not send is seen at once, not only if the
        // server happens to take it before the test looks.
        js(&telefon,
           "window.gesendet = 0; var senden = WebSocket.prototype.send; "
           "WebSocket.prototype.send = function (d) { ++window.gesendet; return senden.call(this, d); }");
        // It reports in on the start screen in the phones' box, not as handset 1.
        QTRY_COMPARE_WITH_TIMEOUT(js(start, "qt.jQuery('.handyAnzahl').text()").toString(),
                                  QString("Handys: 1"), 20000);
        QCOMPARE(js(start, "qt.jQuery('.imgGeraeteID1').css('display')").toString(), QString("none"));

        // Question 1: the answer delay does not take presses, from phones neither.
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        h->taste(Qt::Key_Space);
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        QVERIFY(!f.stimmenVerbunden());
        QVERIFY(telefonZustand(telefon, "offen", false));
        QCOMPARE(js(&telefon, "document.getElementById('knopf4').click(), window.gesendet").toInt(), 0);
        h->uhr.vorspulen(2000);
        QVERIFY(s.istCountdownAktiv());
        QVERIFY(telefonZustand(telefon, "offen", true));

        // A press, changed while the countdown runs: the last one counts, as on a handset.
        js(&telefon, "document.getElementById('knopf1').click()");
        QVERIFY(telefonZustand(telefon, "gewaehlt", 1));
        js(&telefon, "document.getElementById('knopf2').click()");
        QVERIFY(telefonZustand(telefon, "gewaehlt", 2));
        QTRY_COMPARE_WITH_TIMEOUT(antwort(HandyKlassensatz, 1, 1), 2, 20000);

        // After the end the phone is told, and a press changes nothing.
        h->uhr.vorspulen(20000);
        QVERIFY(!s.istCountdownAktiv());
        QVERIFY(telefonZustand(telefon, "offen", false));
        QCOMPARE(js(&telefon, "document.getElementById('knopf3').click(), window.gesendet").toInt(), 2);
        h->uhr.vorspulen(2000);

        // Asked again, it is a new vote: the phone forgets its first choice, and its press counts.
        h->taste(Qt::Key_R);
        h->uhr.vorspulen(2000);
        QVERIFY(telefonZustand(telefon, "offen", true));
        QVERIFY(telefonZustand(telefon, "gewaehlt === null", true));
        js(&telefon, "document.getElementById('knopf3').click()");
        QTRY_COMPARE_WITH_TIMEOUT(antwort(HandyKlassensatz, 1, 1), 3, 20000);
        h->uhr.vorspulen(22000);

        // (How the ranking and the exports name a phone: the results' tests.)
        // A restart is a new game with a new code: the phone is asked to scan again.
        const QString alterCode = f.handys()->code();
        f.on_actionSpiel_neu_starten_triggered();
        QVERIFY(f.handys()->code() != alterCode);
        QVERIFY(telefonZustand(telefon, "verbunden", false));
        QTRY_VERIFY_WITH_TIMEOUT(js(start, "qt.jQuery('.handyCode').text()").toString() == f.handys()->code(),
                                 20000);
    }
};

QTEST_MAIN(TestFensterHandys)
#include "tst_fensterhandys.moc"
