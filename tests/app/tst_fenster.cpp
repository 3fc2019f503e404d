// The main window driven as a teacher drives it: full screen, size and start-up; whole games with
// keys, a receiver and phones, on a hand-driven clock with the real pages in real web views; and
// the small windows around it. Dialogs are answered by a recorder, sounds recorded.
#include "freierport.h"
#include "geraetschluessel.h"
#include "goto.h"
#include "handyabstimmung.h"
#include "hauptfenster.h"
#include "meldungsdialoge.h"
#include "optionwindow.h"
#include "shortcutkeys.h"
#include "spiel.h"
#include "teilnehmer.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTcpServer>
#include <QToolBar>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QtTest>

class TestFenster final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Hauptfenster> h;

    // Whether the start screen shows the box that tells phones where to join; "absent" when the page
    // has no such box, so that a page without it never passes for one that hides it.
    static QString beitrittSichtbar(QWebEngineView *start)
    {
        return js(start, QStringLiteral("qt.jQuery('.handyBeitritt').length != 1 ? 'absent' : "
                                        "qt.jQuery('.handyBeitritt').is(':visible') ? 'shown' : 'hidden'"))
            .toString();
    }
    // The answer of handset `buzzer` of `klassensatz` to `frage`; -1 for none.
    int antwort(uint buzzer, int frage, uint klassensatz = 1)
    {
        return antwortVon(h->fenster->getSpiel().getPersonen(), klassensatz, buzzer, frage);
    }
    // The classes of the elements of `auswahl` on the question page that the pause sign covers, or
    // why it cannot tell. Compared in shares of the window, whatever zoom the page has taken so far.
    QString pauseBedeckt(const QString &auswahl)
    {
        const auto *schild = h->fenster->findChild<QLabel *>(QStringLiteral("pauseHinweis"));
        if (!schild || !schild->isVisible())
            return QStringLiteral("no sign");
        QWebEngineView *ansicht = h->fenster->frageAnsicht();
        const QRectF s = QRectF(schild->geometry().translated(-ansicht->pos())).adjusted(1, 1, -1, -1);
        return js(ansicht,
                  QStringLiteral(
                      "(function (l, t, r, b) { var e = Array.from(document.querySelectorAll('%1'));"
                      "  return e.length < 5 ? 'boxes not found' : e.filter(function (x) {"
                      "    var q = x.getBoundingClientRect(), w = innerWidth, h = innerHeight;"
                      "    return q.width > 0 && q.height > 0 && q.left / w < r && q.right / w > l &&"
                      "           q.top / h < b && q.bottom / h > t; }).map(function (x) {"
                      "    return x.className; }).join(';'); })(%2, %3, %4, %5)")
                      .arg(auswahl)
                      .arg(s.left() / ansicht->width())
                      .arg(s.top() / ansicht->height())
                      .arg(s.right() / ansicht->width())
                      .arg(s.bottom() / ansicht->height()))
            .toString();
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

private slots:
    void init() { h = std::make_unique<Hauptfenster>(); }
    void cleanup() { h.reset(); }

    // The row's name is the template's. (Each template's marks and shares: the page tests.)
    void ganzesSpielMitTasten_data()
    {
        QTest::addColumn<QString>("seite");
        QTest::addColumn<QString>("frei"); // what the pause sign leaves in sight
        QTest::newRow("Morvane") << QString("morvane.html") << QString(".textFrage, .kachel");
        QTest::newRow("Tandrivelle") << QString("tandrivelleneu.html")
                                     << QString(".textFrage, .antwortZeile");
        QTest::newRow("Kahoot") << QString("kahoot.html") << QString(".textFrage, .antwort");
    }
    void ganzesSpielMitTasten()
    {
        QFETCH(QString, seite);
        QFETCH(QString, frei);
        QVERIFY(h->starten(QString::fromLatin1(QTest::currentDataTag())));
        MainWindow &f = *h->fenster;
        spiel &s = f.getSpiel();

        // First start: the German sample questions, the start screen in front, the phones off.
        QCOMPARE(f.statusAnzahl(), QString("Anzahl Fragen: 9"));
        QVERIFY(!f.handys()->laeuft());
        QVERIFY(f.startScreenAngezeigt() && f.startAnsicht()->isVisible() && !f.frageAnsicht()->isVisible());
        QVERIFY(h->geladen(f.frageAnsicht(), seite));
        QVERIFY(h->geladen(f.startAnsicht(), "startscreen.html"));

        // A handset reports in on the start screen.
        h->taste(Qt::Key_3);
        QVERIFY(dabei(s.getPersonen(), 1, 60));
        QTRY_COMPARE(js(f.startAnsicht(), "qt.jQuery('.imgGeraeteID60').css('display')").toString(),
                     QString("inline"));

        // Question 1 has a 2-second answer delay.
        h->taste(Qt::Key_Space);
        QVERIFY(f.frageAktiv() && f.frageAnsicht()->isVisible() && !f.startAnsicht()->isVisible());
        QCOMPARE(f.statusAktuelleFrage(), QString("aktuelle Frage-Nr.: 1/9"));
        h->uhr.vorspulen(2000);
        QVERIFY(s.istCountdownAktiv() && f.stimmenVerbunden());
        QTRY_COMPARE(js(f.frageAnsicht(), "qt.jQuery('.textAntwortB').text()").toString(), QString("Afrika"));
        h->sekunden(3);
        h->taste(Qt::Key_B);
        h->taste(Qt::Key_2);
        QCOMPARE(antwort(60, 1), 2);
        h->sekunden(17);
        QVERIFY(!s.istCountdownAktiv() && !f.stimmenVerbunden());
        h->sekunden(2);

        // The ranking after Return.
        h->taste(Qt::Key_Return);
        QVERIFY(f.ranglisteAnsicht()->isVisible() && !f.frageAnsicht()->isVisible());
        QTRY_COMPARE(js(f.ranglisteAnsicht(), "qt.jQuery('.tabelleReiheRangliste').length").toInt(), 1);
        QTRY_VERIFY(
            js(f.ranglisteAnsicht(), "qt.jQuery('.textTitelRangliste').text()").toString().contains("1/9"));

        // Question 2: Space skips the answer delay, and does nothing while the countdown runs; P
        // pauses without covering question or answers, T ends early.
        h->taste(Qt::Key_Space);
        h->taste(Qt::Key_Space);
        QVERIFY(s.istCountdownAktiv());
        h->taste(Qt::Key_Space);
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        h->sekunden(2);
        h->taste(Qt::Key_P);
        QVERIFY(s.istPausiert() && !f.stimmenVerbunden());
        QTRY_COMPARE(pauseBedeckt(frei), QString());
        h->taste(Qt::Key_P);
        QVERIFY(!s.istPausiert() && f.stimmenVerbunden());
        h->taste(Qt::Key_A);
        h->taste(Qt::Key_T);
        QVERIFY(!s.istCountdownAktiv());
        h->sekunden(2);
        QCOMPARE(s.getPersonenRichtig().size(), 1); // Merkur

        // Past the last question: the box, no new countdown.
        f.goToFrage(9);
        h->sekunden(60);
        h->taste(Qt::Key_Space);
        QCOMPARE(h->dialoge.hinweisTexte(), QStringList{"Keine weiteren Fragen."});
        h->sekunden(30);
        QVERIFY(s.istEndeErreicht() && !s.istCountdownAktiv());

        // F5 asks first and starts over on the start screen, the ranking emptied, not merely
        // unanswered: the table itself is still there. Quitting then asks nothing.
        h->taste(Qt::Key_F5);
        QCOMPARE(h->dialoge.fragen.size(), 1);
        QVERIFY(f.startScreenAngezeigt() && f.stimmenVerbunden() && s.getPersonen().isEmpty());
        QCOMPARE(s.getAktuelleFrageNr(), 0);
        QVERIFY(f.statusAktuelleFrage().isEmpty());
        QTRY_COMPARE(js(f.ranglisteAnsicht(), "qt.jQuery('.zeilenRangliste').length + ':' + "
                                              "qt.jQuery('.tabelleReiheRangliste').length")
                         .toString(),
                     QString("1:0"));
        QVERIFY(f.close());
        QCOMPARE(h->dialoge.fragen.size(), 1);
    }

    // Quitting with presses asks, in the interface language, until a table of the results is
    // written; a cancelled file dialog writes nothing and keeps the warning.
    void beendenFragtBisZumExport_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QString>("frage");
        QTest::newRow("csv") << QString("actionResultate_CSV") << QString("1031")
                             << QString("Möchten Sie Plenaro wirklich beenden?");
        QTest::newRow("xlsx") << QString("actionResultate_XLSX") << QString("1033")
                              << QString("Are you sure you want to quit Plenaro?");
    }
    void beendenFragtBisZumExport()
    {
        QFETCH(QString, aktion);
        QFETCH(QString, sprache);
        QVERIFY(h->starten());
        auto *eintrag = h->fenster->findChild<QAction *>(aktion);
        QVERIFY(eintrag && h->fenster->findChild<QMenu *>("menuResultate")->actions().contains(eintrag));
        h->fenster->druckEmpfangen(1, 5, 1);
        Einstellungen::setzen(Schluessel::InstallerLanguage, sprache);
        eintrag->trigger();
        h->dialoge.antwortJa = false;
        QVERIFY(!h->fenster->close());
        QCOMPARE(h->dialoge.fragen.size(), 1);
        QTEST(h->dialoge.fragen.at(0).text, "frage");
        const QString pfad =
            h->einstellungen.ordner() + QStringLiteral("/ergebnis.") + QLatin1String(QTest::currentDataTag());
        h->dialoge.dateien = {pfad};
        eintrag->trigger();
        QVERIFY(QFile::exists(pfad));
        QVERIFY(h->fenster->close());
        QCOMPARE(h->dialoge.fragen.size(), 1);
    }

    void ueberspringenZurueckUndGoTo()
    {
        h->fragen(Testdaten::fragen(5));
        QVERIFY(h->starten());
        spiel &s = h->fenster->getSpiel();
        h->taste(Qt::Key_Space);
        h->uhr.vorspulen(0); // AnswerDelay 0 starts the countdown at once
        h->sekunden(3);
        const QList<QPair<Qt::Key, int>> schritte{{Qt::Key_Right, 2},    {Qt::Key_Up, 1},
                                                  {Qt::Key_PageDown, 2}, {Qt::Key_Down, 3},
                                                  {Qt::Key_PageUp, 2},   {Qt::Key_Left, 1}};
        for (const auto &[k, nr] : schritte) {
            QVERIFY(s.istCountdownAktiv());
            h->taste(k);
            QCOMPARE(s.getAktuelleFrageNr(), nr);
            QVERIFY(!s.istCountdownAktiv()); // the left one abandoned, the new one starts next
            h->uhr.vorspulen(0);
        }
        // Out of range: the first or the last.
        for (const auto &[ziel, nr] : QList<QPair<int, int>>{{4, 4}, {0, 1}, {99, 5}}) {
            h->fenster->goToFrage(ziel);
            QCOMPARE(s.getAktuelleFrageNr(), nr);
        }
        QVERIFY(h->dialoge.hinweise.isEmpty());
    }

    // An opened file shows in the status bar and first among the recent files; one gone since
    // says so.
    void fragedateiOeffnen()
    {
        QVERIFY(h->starten());
        const QString gut = h->einstellungen.ordner() + QStringLiteral("/eigene.xml");
        Testdaten::schreiben(gut, {Testdaten::Frage(), Testdaten::Frage()});
        h->dialoge.dateien = {gut};
        h->fenster->on_action_ffnen_triggered();
        QCOMPARE(h->fenster->statusAnzahl(), QString("Anzahl Fragen: 2"));
        QAction *zuletzt = h->fenster->zuletztGeoeffnet().at(0);
        QVERIFY(zuletzt->isVisible());
        QCOMPARE(zuletzt->text(), QString("eigene.xml"));
        QFile::remove(gut);
        zuletzt->trigger();
        QCOMPARE(h->dialoge.hinweisTexte(), QStringList{"Datei existiert nicht."});
    }

    // The receiver is found, chooses its family's template and shows its tick and port; each of the
    // master handset's buttons reaches the game (what it does there: the game flow's tests);
    // unplugged, the tick goes.
    void empfaengerUndMasterHandsender()
    {
        h->fragen(Testdaten::fragen(3));
        Einstellungen::setzen({{Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true")},
                               {Schluessel::TemplateAutomatischErkennen, QStringLiteral("true")},
                               {Schluessel::SteuerungUeberMaster, QStringLiteral("true")},
                               {Schluessel::MasterBuzzer, QStringLiteral("9")},
                               {Schluessel::MasterKlassensatz, QStringLiteral("1")}});
        h->ports.namen = {"ttyS0", "ttyEMPF"};
        h->ports.geraete["ttyEMPF"] = {"#PLENARO_TANDRIVELLE$"};
        QVERIFY(h->starten(QStringLiteral("Morvane")));
        MainWindow &fenster = *h->fenster;
        spiel &s = fenster.getSpiel();
        const auto haken = [&]() {
            return js(fenster.startAnsicht(), "qt.jQuery('.okicon').is(':visible') ? 'ja' : 'nein'")
                .toString();
        };
        QVERIFY(h->geladen(fenster.startAnsicht(), "startscreen.html"));
        h->uhr.vorspulen(200);
        QVERIFY(h->geladen(fenster.frageAnsicht(), "tandrivelleneu.html"));
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), QString("ttyEMPF"));
        QVERIFY(h->ports.letzterPort->isOpen());
        h->sekunden(1);
        QVERIFY(fenster.statusEmpfaenger().contains("verbunden") &&
                !fenster.statusEmpfaenger().contains("nicht"));
        QVERIFY2(h->statusTexte().contains(QStringLiteral("Port: ttyEMPF")), qPrintable(h->statusTexte()));
        QTRY_COMPARE(haken(), QString("ja"));

        // A frame of the receiver: handset `geraet` pressed `knopf` (1..4).
        const auto senden = [this](uint geraet, uint knopf) {
            const char bytes[4] = {0, 1, char(geraet), char(knopf - 1)};
            h->ports.letzterPort->liefern(QByteArray(bytes, 4));
        };
        senden(3, 2); // reports in on the start screen
        senden(9, 4); // D: the next question
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        h->sekunden(1);
        senden(3, 3);
        senden(9, 3); // C: pause, and again: resume
        QVERIFY(s.istPausiert() && !fenster.stimmenVerbunden());
        senden(9, 3);
        QVERIFY(!s.istPausiert() && fenster.stimmenVerbunden());
        senden(9, 1); // A: ends the countdown
        QVERIFY(!s.istCountdownAktiv());
        QCOMPARE(antwort(3, 1), 3);
        senden(9, 4);
        senden(9, 4);
        QCOMPARE(s.getAktuelleFrageNr(), 3);
        senden(9, 2); // B: back
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        QVERIFY(dabei(s.getPersonen(), 1, 3) && !dabei(s.getPersonen(), 1, 9));

        h->ports.namen = {"ttyS0"};
        h->sekunden(2);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));
        QTRY_COMPARE(haken(), QString("nein"));
    }

    // The receiver, the options and the pages behind the start screen come once the start screen
    // is drawn; a teacher who is quicker than that gets them at once, the game starts with the
    // receiver's port open, and a receiver plugged in before the start is found all the same.
    void bedienenBevorDasStartbildSteht()
    {
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        h->ports.namen = {"ttyEMPF"};
        h->ports.geraete["ttyEMPF"] = {"#PLENARO$"};
        MainWindow &f = h->erzeugen(QStringLiteral("Morvane"));
        QVERIFY(!f.istEingerichtet() && !f.optionen() && !f.getComPort());
        // No engine page, and so no renderer, competes with the start screen.
        for (QWebEngineView *dahinter : {f.frageAnsicht(), f.ranglisteAnsicht(), f.schwarzAnsicht()})
            QVERIFY(!dahinter->findChild<QWebEnginePage *>());

        f.findChild<QAction *>(QStringLiteral("actionOptionen"))->trigger();
        OptionWindow *fenster = f.optionen();
        QVERIFY(fenster && fenster->isVisible());
        f.findChild<QAction *>(QStringLiteral("actionN_chste_Frage"))->trigger();
        QVERIFY(f.frageAktiv() && f.frageAnsicht()->isVisible() && f.getComPort());
        QTRY_VERIFY_WITH_TIMEOUT(f.istEingerichtet(), 10000);
        QCOMPARE(f.optionen(), fenster);
        QCOMPARE(f.getSpiel().getAktuelleFrageNr(), 1);
        QVERIFY(h->geladen(f.frageAnsicht(), "morvane.html"));
        QVERIFY(f.frageAnsicht()->findChild<QWebEnginePage *>()); // where the look above would see one
        h->uhr.vorspulen(200);
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), QString("ttyEMPF"));
        QVERIFY(h->ports.letzterPort && h->ports.letzterPort->isOpen());
    }

    void zoom()
    {
        QVERIFY(h->starten());
        QWebEngineView *frage = h->fenster->frageAnsicht();
        QVERIFY(h->geladen(frage, "morvane.html"));
        const auto prozent = [frage]() {
            return qRound(frage->zoomFactor() * 100);
        };
        const int start = prozent();
        h->taste(Qt::Key_Plus);
        QTRY_COMPARE(prozent(), start + 10);
        h->taste(Qt::Key_Minus);
        QTRY_COMPARE(prozent(), start);
        for (int i = 0; i < 30; ++i)
            h->fenster->on_actionVerkleinern_triggered();
        QTRY_COMPARE(prozent(), 25);
        h->fenster->on_actionNormal_triggered();
        QTRY_COMPARE(prozent(), 110);
        QTRY_COMPARE(h->fenster->ranglisteAnsicht()->zoomFactor(), 1.0);
    }

    // A phone plays a whole game; then the options move the phones' server to another port, with
    // the address on the start screen, and turn it off; turned on at a port another program holds,
    // it names the port in a box.
    void telefonStimmtImGanzenSpielMit()
    {
        Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(freierPort()));
        QVERIFY(h->starten() && h->geladen(h->fenster->startAnsicht(), "startscreen.html"));
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
        telefon.resize(360, 640);
        telefon.show();
        telefon.load(url);
        QVERIFY(telefonZustand(telefon, "verbunden", true));
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
        QTRY_COMPARE_WITH_TIMEOUT(antwort(1, 1, HandyKlassensatz), 2, 20000);

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
        QTRY_COMPARE_WITH_TIMEOUT(antwort(1, 1, HandyKlassensatz), 3, 20000);
        h->uhr.vorspulen(22000);

        // (How the ranking and the exports name a phone: the results' tests.)
        // A restart is a new game with a new code: the phone is asked to scan again.
        const QString alterCode = f.handys()->code();
        f.on_actionSpiel_neu_starten_triggered();
        QVERIFY(f.handys()->code() != alterCode);
        QVERIFY(telefonZustand(telefon, "verbunden", false));
        QTRY_VERIFY_WITH_TIMEOUT(js(start, "qt.jQuery('.handyCode').text()").toString() == f.handys()->code(),
                                 20000);

        const auto lauscht = [](quint16 wo) {
            QTcpSocket versuch;
            versuch.connectToHost(QHostAddress::LocalHost, wo);
            return versuch.waitForConnected(1000);
        };
        // As the options dialog changes a setting.
        const auto aendern = [this](const QString &schluessel, const QString &wert) {
            Einstellungen::setzen(schluessel, wert);
            emit h->fenster->optionen()->einstellungGeaendert(schluessel);
        };
        const quint16 anderer = freierPort();
        aendern(Schluessel::HandyPort, QString::number(anderer));
        QTRY_COMPARE(f.handys()->port(), anderer);
        QTRY_VERIFY(lauscht(anderer)); // so that its end below is seen
        QTRY_VERIFY_WITH_TIMEOUT(
            js(start, "qt.jQuery('.handyAdresse').text()").toString().contains(QString::number(anderer)),
            20000);
        aendern(Schluessel::HandyAbstimmung, QStringLiteral("false"));
        QTRY_COMPARE_WITH_TIMEOUT(beitrittSichtbar(start), QString("hidden"), 20000);
        QTRY_VERIFY(!lauscht(anderer));

        QTcpServer belegt;
        QVERIFY(belegt.listen(QHostAddress::Any));
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(belegt.serverPort()));
        aendern(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        QTRY_COMPARE_WITH_TIMEOUT(h->dialoge.hinweise.size(), 1, 10000);
        QVERIFY2(h->dialoge.hinweise.at(0).text.contains(QString::number(belegt.serverPort())),
                 qPrintable(h->dialoge.hinweise.at(0).text));
        QVERIFY(!f.handys()->laeuft());
    }

    // Closed at once (a double click on the wrong icon): nothing is set up behind the closed
    // window, and it closes again without harm.
    void schliessenBevorDasStartbildSteht()
    {
        MainWindow &f = h->erzeugen(QStringLiteral("Morvane"));
        QVERIFY(f.close());
        h->sekunden(3);                    // past the latest moment a window that draws nothing is set up
        QCoreApplication::processEvents(); // the set-up's last step is queued
        QVERIFY(!f.istEingerichtet() && !f.getComPort() && !f.handys());
    }

    // The projector shows the page and nothing else; the teacher gets the window back with V, N or
    // Esc, but an Esc meant for an open dialog stays with it.
    void vollbildZeigtNurDieSeite_data()
    {
        QTest::addColumn<int>("zurueck");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("N") << int(Qt::Key_N);
        QTest::newRow("V") << int(Qt::Key_V);
    }
    void vollbildZeigtNurDieSeite()
    {
        QFETCH(int, zurueck);
        MainWindow &f = h->erzeugen();
        QVERIFY(h->aktivieren());
        // No receiver yet: the port the first start stored is not shown as if it were one.
        QVERIFY2(h->statusTexte().contains(QStringLiteral("Port: –")), qPrintable(h->statusTexte()));
        const QList<QToolBar *> leisten = f.findChildren<QToolBar *>();
        QVERIFY(!leisten.isEmpty() && leisten.first()->isVisible());
        const auto leistenSichtbar = [&]() {
            return std::any_of(leisten.begin(), leisten.end(), [](QToolBar *l) { return l->isVisible(); });
        };
        h->taste(Qt::Key_V);
        QTRY_VERIFY(f.isFullScreen());
        QVERIFY(!f.menuBar()->isVisible() && !f.statusBar()->isVisible() && !leistenSichtbar());
        // The keys of the game still work, and a resting pointer goes.
        h->taste(Qt::Key_K);
        QVERIFY(f.schwarzBild() && f.schwarzAnsicht()->isVisible());
        h->taste(Qt::Key_K);
        QVERIFY(!f.schwarzBild() && !f.schwarzAnsicht()->isVisible());
        h->uhr.vorspulen(2000);
        QVERIFY(QGuiApplication::overrideCursor() &&
                QGuiApplication::overrideCursor()->shape() == Qt::BlankCursor);

        // Esc in the go-to window closes that window, not the full screen.
        h->taste(Qt::Key_G);
        QLineEdit *feld = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w != &f && (feld = w->findChild<QLineEdit *>("lineEdit_Fragenummer")))
                break;
        }
        QVERIFY(feld);
        QTest::keyClick(feld, Qt::Key_Escape);
        QVERIFY(!feld->window()->isVisible());
        QVERIFY(f.isFullScreen() && !f.menuBar()->isVisible());

        h->taste(Qt::Key(zurueck));
        QEXPECT_FAIL("V", "V only enters the full screen; it should leave it as N does", Abort);
        QTRY_VERIFY_WITH_TIMEOUT(!f.isFullScreen(), 2000);
        QVERIFY(f.menuBar()->isVisible() && f.statusBar()->isVisible() && leistenSichtbar());
        QVERIFY(!QGuiApplication::overrideCursor());
        // Esc outside Vollbild changes nothing.
        h->taste(Qt::Key_Escape);
        QVERIFY(!f.isFullScreen() && f.menuBar()->isVisible());
    }

    // A small screen (the offscreen one is 800x800): the window opens no larger, grows not when the
    // status bar names the first question, stays so when the teacher takes it out of the maximised
    // state, and can be made as small as a netbook's 1024x600, even with a question file of a long
    // path in its status bar.
    void passtAufKleinenSchirm()
    {
        h->fragen({Testdaten::Frage()}, QStringLiteral("Unterricht/Naturwissenschaften und Technik/Klasse "
                                                       "7b/Einheit Kontinente und Ozeane/Wiederholung.xml"));
        MainWindow &f = h->erzeugen(QStringLiteral("Morvane"), QSize());
        // The size only: where the frame goes is the window manager's affair.
        const QSize frei = f.screen()->availableGeometry().size();
        QCOMPARE(f.size().boundedTo(frei), f.size());
        f.goToFrage(1);
        QCoreApplication::processEvents();
        QCOMPARE(f.size().boundedTo(frei), f.size());
        f.showNormal();
        QTRY_VERIFY(!f.isMaximized());
        QCOMPARE(f.size().boundedTo(frei), f.size());
        f.resize(1024, 600);
        QTRY_COMPARE(f.size(), QSize(1024, 600));
    }

    // The go-to window takes question numbers only, up to four digits, and jumps on the button or
    // Return; opened again it starts empty; it sits in the middle of the main window. (Escape closes
    // it: the full screen test.)
    void goToNimmtNurFragenummern()
    {
        QWidget haupt;
        haupt.setGeometry(100, 80, 1200, 800);
        haupt.show();
        goTo fenster;
        auto *feld = fenster.findChild<QLineEdit *>("lineEdit_Fragenummer");
        auto *knopf = fenster.findChild<QPushButton *>("pushButton");
        QVERIFY(feld && knopf);
        QSignalSpy sprung(&fenster, &goTo::goToButtonEvent);

        fenster.zeigen(&haupt);
        QVERIFY(fenster.isVisible());
        QCOMPARE(fenster.frameGeometry().center(), haupt.frameGeometry().center());
        knopf->click(); // empty field
        QTest::keyClicks(feld, "ab12c345");
        QCOMPARE(feld->text(), QString("1234"));
        knopf->click();
        fenster.close();

        fenster.zeigen(&haupt);
        QCOMPARE(feld->text(), QString());
        QTest::keyClicks(feld, "7");
        QTest::keyClick(feld, Qt::Key_Return);
        QCOMPARE(QList<QVariantList>(sprung), (QList<QVariantList>{{0}, {1234}, {7}}));
    }

    // The keys a presenter presses to go on answer the question of an interrupted game with Yes;
    // every other question keeps No as the default.
    void frageMitTasteBeantwortet_data()
    {
        QTest::addColumn<bool>("jaAlsVorgabe");
        QTest::addColumn<int>("taste");
        for (const bool ja : {true, false}) {
            QTest::addRow("space, %s", ja ? "Yes first" : "No first") << ja << int(Qt::Key_Space);
            QTest::addRow("return, %s", ja ? "Yes first" : "No first") << ja << int(Qt::Key_Return);
        }
    }

    void frageMitTasteBeantwortet()
    {
        QFETCH(bool, jaAlsVorgabe);
        QFETCH(int, taste);
        QWidget fenster;
        MeldungsDialoge dialoge(&fenster);
        bool gedrueckt = false;
        // Runs inside the box's own loop, once it is shown.
        QTimer::singleShot(0, &fenster, [&]() {
            auto *box = fenster.findChild<QMessageBox *>();
            if (!box)
                return;
            QWidget *ziel = box->focusWidget();
            gedrueckt = ziel != nullptr;
            QTest::keyClick(ziel ? ziel : box, Qt::Key(taste));
            // A key that answered nothing must not leave the test waiting.
            if (box->isVisible())
                box->done(QMessageBox::Cancel);
        });
        QCOMPARE(dialoge.frage({QStringLiteral("Weiter?"), {}, {}, false, jaAlsVorgabe}), jaAlsVorgabe);
        QVERIFY(gedrueckt);
    }

    // The shortcut card is 800x600 up to a desktop 2,000 pixels wide.
    void shortcutFensterGroesse_data()
    {
        QTest::addColumn<int>("breite");
        QTest::addColumn<bool>("klein");
        QTest::newRow("2000") << 2000 << true;
        QTest::newRow("2001") << 2001 << false;
    }
    void shortcutFensterGroesse()
    {
        QFETCH(int, breite);
        Einstellungen::setzen(Schluessel::DesktopWidth, breite);
        QTEST(shortcutkeys().size() == QSize(800, 600), "klein");
    }
};

PLENARO_SEITEN_TEST_MAIN(TestFenster)
#include "tst_fenster.moc"
