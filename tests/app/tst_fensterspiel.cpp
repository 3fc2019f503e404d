// Whole games driven through the main window with keys, on a hand-driven clock, with the real
// pages in real web views. Dialogs are answered by a recorder, sounds recorded.
#include "hauptfenster.h"
#include "optionwindow.h"
#include "spiel.h"
#include "teilnehmer.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

class TestFensterspiel final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Hauptfenster> h;

    void taste(Qt::Key taste) { h->taste(taste); }
    void sekunden(int s) { h->sekunden(s); }
    QString frageSeite(const QString &ausdruck)
    {
        return js(h->fenster->frageAnsicht(), ausdruck).toString();
    }
    // The answer of handset `buzzer` of class set 1 to `frage`; -1 for none.
    int antwort(uint buzzer, int frage)
    {
        return antwortVon(h->fenster->getSpiel().getPersonen(), 1, buzzer, frage);
    }
    bool person(uint buzzer) { return dabei(h->fenster->getSpiel().getPersonen(), 1, buzzer); }
    // The classes of the elements of `auswahl` on the question page that the pause sign covers, or
    // why it cannot tell. Compared in shares of the window, whatever zoom the page has taken so far.
    QString pauseBedeckt(const QString &auswahl)
    {
        const auto *schild = h->fenster->findChild<QLabel *>(QStringLiteral("pauseHinweis"));
        if (!schild || !schild->isVisible())
            return QStringLiteral("no sign");
        const QWebEngineView *ansicht = h->fenster->frageAnsicht();
        const QRectF s = QRectF(schild->geometry().translated(-ansicht->pos())).adjusted(1, 1, -1, -1);
        return frageSeite(
            QStringLiteral("(function (l, t, r, b) { var e = Array.from(document.querySelectorAll('%1'));"
                           "  return e.length < 5 ? 'boxes not found' : e.filter(function (x) {"
                           "    var q = x.getBoundingClientRect(), w = innerWidth, h = innerHeight;"
                           "    return q.width > 0 && q.height > 0 && q.left / w < r && q.right / w > l &&"
                           "           q.top / h < b && q.bottom / h > t; }).map(function (x) {"
                           "    return x.className; }).join(';'); })(%2, %3, %4, %5)")
                .arg(auswahl)
                .arg(s.left() / ansicht->width())
                .arg(s.top() / ansicht->height())
                .arg(s.right() / ansicht->width())
                .arg(s.bottom() / ansicht->height()));
    }

private slots:
    void init() { h = std::make_unique<Hauptfenster>(); }
    void cleanup() { h.reset(); }

    // The row's name is the template's. (Each template's marks and shares: the page tests.)
    void ganzesSpielMitTasten_data()
    {
        QTest::addColumn<QString>("seite");
        QTest::addColumn<QString>("frei");    // what the pause sign leaves in sight
        QTest::addColumn<QString>("prozent"); // the share of answer B
        QTest::newRow("Morvane") << QString("morvane.html") << QString(".textFrage, .kachel")
                                 << QString(".prozentAntwortB");
        QTest::newRow("Tandrivelle") << QString("tandrivelleneu.html") << QString(".textFrage, .antwortZeile")
                                     << QString(".prozent_B");
        QTest::newRow("Kahoot") << QString("kahoot.html") << QString(".textFrage, .antwort")
                                << QString(".prozentProzenangabeTextB");
    }
    void ganzesSpielMitTasten()
    {
        QFETCH(QString, seite);
        QFETCH(QString, frei);
        QFETCH(QString, prozent);
        QVERIFY(h->starten(QString::fromLatin1(QTest::currentDataTag())));
        MainWindow &f = *h->fenster;
        spiel &s = f.getSpiel();

        // First start: the German sample questions, the start screen in front.
        QCOMPARE(f.statusAnzahl(), QString("Anzahl Fragen: 9"));
        QVERIFY(Einstellungen::text(Schluessel::FrageFile).endsWith("/examples/DE/BspFragen.xml"));
        QVERIFY(f.startScreenAngezeigt() && f.startAnsicht()->isVisible() && !f.frageAnsicht()->isVisible());
        QVERIFY(h->geladen(f.frageAnsicht(), seite));
        QVERIFY(h->geladen(f.startAnsicht(), "startscreen.html"));

        // A handset reports in on the start screen.
        taste(Qt::Key_3);
        QVERIFY(person(60));
        QTRY_COMPARE(js(f.startAnsicht(), "qt.jQuery('.imgGeraeteID60').css('display')").toString(),
                     QString("inline"));

        // Question 1 has a 2-second answer delay.
        taste(Qt::Key_Space);
        QVERIFY(f.frageAktiv() && f.frageAnsicht()->isVisible() && !f.startAnsicht()->isVisible());
        QCOMPARE(f.statusAktuelleFrage(), QString("aktuelle Frage-Nr.: 1/9"));
        h->uhr.vorspulen(2000);
        QVERIFY(s.istCountdownAktiv() && f.stimmenVerbunden());
        QTRY_COMPARE(frageSeite("qt.jQuery('.textAntwortB').text()"), QString("Afrika"));
        sekunden(3);
        taste(Qt::Key_B);
        taste(Qt::Key_2);
        QCOMPARE(antwort(60, 1), 2);
        sekunden(17);
        QVERIFY(!s.istCountdownAktiv() && !f.stimmenVerbunden());
        sekunden(2);
        QTRY_COMPARE(frageSeite("qt.jQuery('" + prozent + "').text()"), QString("100.0%"));

        // The ranking after Return.
        taste(Qt::Key_Return);
        QVERIFY(f.ranglisteAnsicht()->isVisible() && !f.frageAnsicht()->isVisible());
        QTRY_COMPARE(js(f.ranglisteAnsicht(), "qt.jQuery('.tabelleReiheRangliste').length").toInt(), 1);
        QTRY_VERIFY(
            js(f.ranglisteAnsicht(), "qt.jQuery('.textTitelRangliste').text()").toString().contains("1/9"));

        // Question 2: Space skips the answer delay, and does nothing while the countdown runs; P
        // pauses without covering question or answers, T ends early.
        taste(Qt::Key_Space);
        taste(Qt::Key_Space);
        QVERIFY(s.istCountdownAktiv());
        taste(Qt::Key_Space);
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        sekunden(2);
        taste(Qt::Key_P);
        QVERIFY(s.istPausiert() && !f.stimmenVerbunden());
        QTRY_COMPARE(pauseBedeckt(frei), QString());
        taste(Qt::Key_P);
        QVERIFY(!s.istPausiert() && f.stimmenVerbunden());
        taste(Qt::Key_A);
        taste(Qt::Key_T);
        QVERIFY(!s.istCountdownAktiv());
        sekunden(2);
        QCOMPARE(s.getPersonenRichtig().size(), 1); // Merkur

        // Past the last question: the box, no new countdown.
        f.goToFrage(9);
        sekunden(60);
        taste(Qt::Key_Space);
        QCOMPARE(h->dialoge.hinweisTexte(), QStringList{"Keine weiteren Fragen."});
        sekunden(30);
        QVERIFY(s.istEndeErreicht() && !s.istCountdownAktiv());

        // F5 asks first and starts over on the start screen, the ranking emptied, not merely
        // unanswered: the table itself is still there. Quitting then asks nothing.
        taste(Qt::Key_F5);
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
        Testdaten::Frage f;
        f.zeit = "10";
        h->fragen({f, f, f, f, f});
        QVERIFY(h->starten());
        spiel &s = h->fenster->getSpiel();
        taste(Qt::Key_Space);
        h->uhr.vorspulen(0); // AnswerDelay 0 starts the countdown at once
        sekunden(3);
        const QList<QPair<Qt::Key, int>> schritte{{Qt::Key_Right, 2},    {Qt::Key_Up, 1},
                                                  {Qt::Key_PageDown, 2}, {Qt::Key_Down, 3},
                                                  {Qt::Key_PageUp, 2},   {Qt::Key_Left, 1}};
        for (const auto &[k, nr] : schritte) {
            QVERIFY(s.istCountdownAktiv());
            taste(k);
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
        Testdaten::Frage f;
        f.zeit = "10";
        f.verzoegerung = "1";
        h->fragen({f, f, f});
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
        sekunden(1);
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
        sekunden(1);
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
        QVERIFY(person(3) && !person(9));

        h->ports.namen = {"ttyS0"};
        sekunden(2);
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
        taste(Qt::Key_Plus);
        QTRY_COMPARE(prozent(), start + 10);
        taste(Qt::Key_Minus);
        QTRY_COMPARE(prozent(), start);
        for (int i = 0; i < 30; ++i)
            h->fenster->on_actionVerkleinern_triggered();
        QTRY_COMPARE(prozent(), 25);
        h->fenster->on_actionNormal_triggered();
        QTRY_COMPARE(prozent(), 110);
        QTRY_COMPARE(h->fenster->ranglisteAnsicht()->zoomFactor(), 1.0);
    }
};

PLENARO_SEITEN_TEST_MAIN(TestFensterspiel)

#include "tst_fensterspiel.moc"
