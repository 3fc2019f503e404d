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

namespace {

const QString Glocke = QStringLiteral(":/sound/sound/bell.wav");
const QString Ring = QStringLiteral(":/sound/sound/ring.wav");

} // namespace

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
    // The boxes of `auswahl` on the question page that the pause sign covers, or why it cannot tell.
    QString pauseBedeckt(const QString &auswahl)
    {
        const auto *schild = h->fenster->findChild<QLabel *>(QStringLiteral("pauseHinweis"));
        if (!schild || !schild->isVisible())
            return QStringLiteral("no sign");
        QWebEngineView *ansicht = h->fenster->frageAnsicht();
        const QRectF s = QRectF(schild->geometry().translated(-ansicht->pos())).adjusted(1, 1, -1, -1);
        const QStringList boxen =
            frageSeite(QStringLiteral(
                           "Array.from(document.querySelectorAll('%1')).map(function (e) { var r = "
                           "e.getBoundingClientRect(), b = innerWidth, h = innerHeight; return [r.left / b, "
                           "r.top / h, r.width / b, r.height / h].join(); }).join(';')")
                           .arg(auswahl))
                .split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (boxen.size() < 5)
            return QStringLiteral("boxes not found");
        QStringList bedeckt;
        for (const QString &box : boxen) {
            const QStringList z = box.split(QLatin1Char(','));
            // Shares of the window, whatever zoom the page has taken so far.
            const double b = ansicht->width(), hoehe = ansicht->height();
            const QRectF r(z.value(0).toDouble() * b, z.value(1).toDouble() * hoehe,
                           z.value(2).toDouble() * b, z.value(3).toDouble() * hoehe);
            if (r.isValid() && r.intersects(s))
                bedeckt << box;
        }
        return bedeckt.join(QLatin1Char(';'));
    }

private slots:
    void init() { h = std::make_unique<Hauptfenster>(); }
    void cleanup() { h.reset(); }

    void ganzesSpielMitTasten_data()
    {
        // The row's name is the template's.
        QTest::addColumn<QString>("seite");
        QTest::addColumn<QString>("frei");    // what the pause sign leaves in sight
        QTest::addColumn<QString>("bild");    // the question picture's class
        QTest::addColumn<QString>("prozent"); // the share of answer B
        QTest::addColumn<QString>("haken");   // 'ja' once B is marked correct; empty: no tick
        using S = QString;
        QTest::newRow("Morvane") << S("morvane.html") << S(".textFrage, .kachel") << S("imgfrageMorvane")
                                 << S(".prozentAntwortB") << S();
        QTest::newRow("Tandrivelle") << S("tandrivelleneu.html") << S(".textFrage, .antwortZeile")
                                     << S("imgfrage") << S(".prozent_B")
                                     << S("qt.jQuery('.imghaken_B').is(':visible') ? 'ja' : 'nein'");
        QTest::newRow("Kahoot")
            << S("kahoot.html") << S(".textFrage, .antwort") << S("imgfrageKahoot")
            << S(".prozentProzenangabeTextB")
            << S("qt.jQuery('.hakenAntwortB').css('visibility') == 'visible' ? 'ja' : ''");
    }
    void ganzesSpielMitTasten()
    {
        const QString vorlage = QString::fromLatin1(QTest::currentDataTag());
        QFETCH(QString, seite);
        QFETCH(QString, frei);
        QFETCH(QString, bild);
        QFETCH(QString, prozent);
        QFETCH(QString, haken);
        QVERIFY(h->starten(vorlage));
        MainWindow &f = *h->fenster;
        spiel &s = f.getSpiel();

        // First start: the German sample questions, the start screen in front.
        QCOMPARE(s.getAnzahlFragen(), 9);
        QVERIFY(Einstellungen::text(Schluessel::FrageFile).endsWith("/examples/DE/BspFragen.xml"));
        QCOMPARE(f.statusAnzahl(), QString("Anzahl Fragen: 9"));
        QVERIFY(f.startScreenAngezeigt() && f.startAnsicht()->isVisible() && !f.frageAnsicht()->isVisible());
        QVERIFY(h->geladen(f.frageAnsicht(), seite));
        QVERIFY(h->geladen(f.startAnsicht(), "startscreen.html"));

        // A handset reports in on the start screen.
        taste(Qt::Key_3);
        QVERIFY(person(60));
        QTRY_COMPARE(js(f.startAnsicht(), "qt.jQuery('.imgGeraeteID60').css('display')").toString(),
                     QString("inline"));

        // Question 1 has a picture and a 2-second answer delay.
        taste(Qt::Key_Space);
        QVERIFY(f.frageAktiv() && f.frageAnsicht()->isVisible() && !f.startAnsicht()->isVisible());
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        QCOMPARE(f.statusAktuelleFrage(), QString("aktuelle Frage-Nr.: 1/9"));
        QTRY_VERIFY(
            frageSeite("qt.jQuery('." + bild + "').attr('src')").endsWith("/examples/bilder/weltkarte.png"));
        QTRY_VERIFY(frageSeite("qt.jQuery('." + bild + "')[0].naturalWidth > 0 ? 'ja' : 'nein'") == "ja");
        h->uhr.vorspulen(2000);
        QVERIFY(s.istCountdownAktiv() && f.stimmenVerbunden());
        QTRY_COMPARE(frageSeite("qt.jQuery('.textAntwortB').text()"), QString("Afrika"));

        h->klang.gespielt.clear();
        sekunden(3);
        taste(Qt::Key_B);
        taste(Qt::Key_2);
        QCOMPARE(antwort(60, 1), 2);
        QCOMPARE(h->klang.gespielt, QStringList{Glocke}); // once per handset and question

        sekunden(17);
        QVERIFY(!s.istCountdownAktiv() && !f.stimmenVerbunden());
        QCOMPARE(h->klang.gespielt.last(), Ring);
        QCOMPARE(s.getPersonenRichtig().size(), 1);

        sekunden(2);
        QTRY_COMPARE(frageSeite("qt.jQuery('" + prozent + "').text()"), QString("100.0%"));
        if (!haken.isEmpty())
            QTRY_COMPARE(frageSeite(haken), QString("ja"));

        // The ranking after Return.
        taste(Qt::Key_Return);
        QVERIFY(f.ranglisteAnsicht()->isVisible() && !f.frageAnsicht()->isVisible());
        QTRY_COMPARE(js(f.ranglisteAnsicht(), "qt.jQuery('.tabelleReiheRangliste').length").toInt(), 1);
        QTRY_VERIFY(
            js(f.ranglisteAnsicht(), "qt.jQuery('.textTitelRangliste').text()").toString().contains("1/9"));

        // Question 2: Space skips the answer delay; P pauses, T ends early.
        taste(Qt::Key_Space);
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        QVERIFY(!s.istCountdownAktiv());
        taste(Qt::Key_Space);
        QVERIFY(s.istCountdownAktiv());
        taste(Qt::Key_Space); // while the countdown runs nothing happens
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        sekunden(2);
        taste(Qt::Key_P);
        QVERIFY(s.istPausiert() && !f.stimmenVerbunden());
        QTRY_COMPARE(pauseBedeckt(frei), QString());
        taste(Qt::Key_P);
        QVERIFY(!s.istPausiert() && f.stimmenVerbunden());
        taste(Qt::Key_A);
        QCOMPARE(antwort(60, 2), 1);
        taste(Qt::Key_T);
        QVERIFY(!s.istCountdownAktiv());
        sekunden(2);
        QCOMPARE(s.getPersonenRichtig().size(), 1); // Merkur

        // The rest of the file, answering D each time.
        for (int frage = 3; frage <= 9; ++frage) {
            taste(Qt::Key_Space);
            taste(Qt::Key_Space);
            QCOMPARE(s.getAktuelleFrageNr(), frage);
            taste(Qt::Key_D);
            sekunden(30);
            QVERIFY(!s.istCountdownAktiv());
        }
        // Past the end: the box, no new countdown.
        taste(Qt::Key_Space);
        QCOMPARE(h->dialoge.hinweisTexte(), QStringList{"Keine weiteren Fragen."});
        QVERIFY(s.istEndeErreicht());
        sekunden(30);
        QVERIFY(!s.istCountdownAktiv());

        // Black screen on and off.
        taste(Qt::Key_K);
        QVERIFY(f.schwarzBild() && f.schwarzAnsicht()->isVisible());
        taste(Qt::Key_K);
        QVERIFY(!f.schwarzBild() && !f.schwarzAnsicht()->isVisible());

        // F5 asks first and starts over on the start screen.
        taste(Qt::Key_F5);
        QCOMPARE(h->dialoge.fragen.size(), 1);
        QVERIFY(f.startScreenAngezeigt() && f.stimmenVerbunden());
        QVERIFY(s.getPersonen().isEmpty());
        QCOMPARE(s.getAktuelleFrageNr(), 0);
        QVERIFY(f.statusAktuelleFrage().isEmpty());
        // Emptied, not merely unanswered: the table itself is still there.
        QTRY_COMPARE(js(f.ranglisteAnsicht(), "qt.jQuery('.zeilenRangliste').length + ':' + "
                                              "qt.jQuery('.tabelleReiheRangliste').length")
                         .toString(),
                     QString("1:0"));

        // Right after a restart, quitting asks nothing.
        h->dialoge.fragen.clear();
        QVERIFY(f.close());
        QVERIFY(h->dialoge.fragen.isEmpty());
    }

    // Quitting with presses asks, in the interface language, until a table of the results is
    // written.
    void beendenFragtBisZumExport_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QString>("frage");
        QTest::newRow("CSV") << QString("actionResultate_CSV") << QString("ergebnis.csv") << QString("1031")
                             << QString("Möchten Sie Plenaro wirklich beenden?");
        QTest::newRow("workbook") << QString("actionResultate_XLSX") << QString("ergebnis.xlsx")
                                  << QString("1033") << QString("Are you sure you want to quit Plenaro?");
    }
    void beendenFragtBisZumExport()
    {
        QFETCH(QString, aktion);
        QFETCH(QString, datei);
        QFETCH(QString, sprache);
        QVERIFY(h->starten());
        auto *eintrag = h->fenster->findChild<QAction *>(aktion);
        auto *menue = h->fenster->findChild<QMenu *>("menuResultate");
        QVERIFY(eintrag && menue && menue->actions().contains(eintrag));
        h->fenster->druckEmpfangen(1, 5, 1);
        Einstellungen::setzen(Schluessel::InstallerLanguage, sprache);
        // A cancelled file dialog writes nothing and keeps the warning before quitting.
        eintrag->trigger();
        h->dialoge.antwortJa = false;
        QVERIFY(!h->fenster->close());
        QCOMPARE(h->dialoge.fragen.size(), 1);
        QTEST(h->dialoge.fragen.at(0).text, "frage");
        if (sprache == QLatin1String("1031"))
            QCOMPARE(h->dialoge.fragen.at(0).informativerText,
                     QString("Die Resultate eines Quiz oder die Auswertung einer Umfrage können dabei "
                             "verloren gehen."));
        // A written file takes it away.
        const QString pfad = h->einstellungen.ordner() + QLatin1Char('/') + datei;
        h->dialoge.dateien = {pfad};
        eintrag->trigger();
        QVERIFY(QFile::exists(pfad));
        h->dialoge.fragen.clear();
        QVERIFY(h->fenster->close());
        QVERIFY(h->dialoge.fragen.isEmpty());
    }

    void ueberspringenZurueckUndGoTo()
    {
        Testdaten::Frage f;
        f.zeit = "10";
        f.verzoegerung = "0";
        h->fragen({f, f, f, f, f});
        QVERIFY(h->starten());
        spiel &s = h->fenster->getSpiel();
        taste(Qt::Key_Space);
        h->uhr.vorspulen(0); // AnswerDelay 0 starts the countdown at once
        QVERIFY(s.istCountdownAktiv());
        sekunden(3);
        const QList<QPair<Qt::Key, int>> schritte{{Qt::Key_Right, 2},    {Qt::Key_Up, 1},
                                                  {Qt::Key_PageDown, 2}, {Qt::Key_Down, 3},
                                                  {Qt::Key_PageUp, 2},   {Qt::Key_Left, 1}};
        for (const auto &[k, nr] : schritte) {
            taste(k);
            QCOMPARE(s.getAktuelleFrageNr(), nr);
            QVERIFY(!s.istCountdownAktiv()); // the left one abandoned, the new one starts next
            h->uhr.vorspulen(0);
            QVERIFY(s.istCountdownAktiv());
        }

        h->fenster->goToFrage(4);
        QCOMPARE(s.getAktuelleFrageNr(), 4);
        QCOMPARE(h->fenster->statusAktuelleFrage(), QString("aktuelle Frage-Nr.: 4"));
        h->fenster->goToFrage(0);
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        h->fenster->goToFrage(99);
        QCOMPARE(s.getAktuelleFrageNr(), 5);
        QVERIFY(h->dialoge.hinweise.isEmpty());
        // Nothing of the skipped countdowns was ever evaluated.
        sekunden(60);
        QVERIFY(s.getPersonenRichtig().isEmpty() && s.getPersonenFalsch().isEmpty());
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
        QCOMPARE(h->fenster->getSpiel().getAnzahlFragen(), 2);
        QCOMPARE(h->fenster->statusAnzahl(), QString("Anzahl Fragen: 2"));
        QVERIFY(h->fenster->zuletztGeoeffnet().at(0)->isVisible());
        QCOMPARE(h->fenster->zuletztGeoeffnet().at(0)->text(), QString("eigene.xml"));

        QFile::remove(gut);
        h->fenster->zuletztGeoeffnet().at(0)->trigger();
        QCOMPARE(h->dialoge.hinweisTexte(), QStringList{"Datei existiert nicht."});
    }

    void empfaengerUndMasterHandsender()
    {
        Testdaten::Frage f;
        f.zeit = "10";
        f.verzoegerung = "1";
        h->fragen({f, f, f});
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::TemplateAutomatischErkennen, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::SteuerungUeberMaster, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::MasterBuzzer, QStringLiteral("9"));
        Einstellungen::setzen(Schluessel::MasterKlassensatz, QStringLiteral("1"));
        h->ports.namen = {"ttyS0", "ttyEMPF"};
        h->ports.geraete["ttyEMPF"] = {"#PLENARO_TANDRIVELLE$"};
        QVERIFY(h->starten(QStringLiteral("Morvane")));
        MainWindow &fenster = *h->fenster;
        spiel &s = fenster.getSpiel();
        QVERIFY(h->geladen(fenster.startAnsicht(), "startscreen.html"));

        // Found: port in the status bar, the tick, the template of its family, the port open.
        h->uhr.vorspulen(200);
        QVERIFY(h->geladen(fenster.frageAnsicht(), "tandrivelleneu.html"));
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate), QString("Tandrivelle"));
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), QString("ttyEMPF"));
        QVERIFY(h->ports.letzterPort->isOpen());
        sekunden(1);
        QVERIFY(fenster.statusEmpfaenger().contains("verbunden") &&
                !fenster.statusEmpfaenger().contains("nicht"));
        QVERIFY2(h->statusTexte().contains(QStringLiteral("Port: ttyEMPF")), qPrintable(h->statusTexte()));
        QTRY_VERIFY(
            js(fenster.startAnsicht(), "qt.jQuery('.okicon').is(':visible') ? 'ja' : 'nein'").toString() ==
            "ja");

        // A frame of the receiver: handset `geraet` pressed `knopf` (1..4).
        const auto senden = [this](uint geraet, uint knopf) {
            const char bytes[4] = {0, 1, char(geraet), char(knopf - 1)};
            h->ports.letzterPort->liefern(QByteArray(bytes, 4));
        };
        // Handsets report in on the start screen.
        senden(3, 2);
        senden(4, 1);
        QCOMPARE(s.getPersonen().size(), 2);

        // Master D: next question; during the answer delay presses do not count.
        senden(9, 4);
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        QVERIFY(fenster.frageAktiv());
        senden(3, 3);
        QCOMPARE(antwort(3, 1), -1);
        // Master C before the countdown runs changes nothing.
        senden(9, 3);
        QVERIFY(!fenster.stimmenVerbunden() && !s.istPausiert());
        sekunden(1);
        QVERIFY(s.istCountdownAktiv());
        senden(3, 3);
        QCOMPARE(antwort(3, 1), 3);
        // Master C pauses and resumes.
        senden(9, 3);
        QVERIFY(s.istPausiert() && !fenster.stimmenVerbunden());
        senden(3, 1);
        QCOMPARE(antwort(3, 1), 3);
        senden(9, 3);
        QVERIFY(!s.istPausiert() && fenster.stimmenVerbunden());
        // Master A ends the countdown; presses after it change nothing.
        senden(9, 1);
        QVERIFY(!s.istCountdownAktiv());
        senden(3, 2);
        QCOMPARE(antwort(3, 1), 3);
        // Master D and B move forward and back.
        senden(9, 4);
        senden(9, 4);
        QCOMPARE(s.getAktuelleFrageNr(), 3);
        senden(9, 2);
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        QVERIFY(person(3) && !person(9));

        // Moving on during a countdown abandons it, as the keys do (whose test sees that nothing
        // of it is evaluated later).
        sekunden(1);
        QVERIFY(s.istCountdownAktiv());
        senden(9, 4);
        QCOMPARE(s.getAktuelleFrageNr(), 3);
        QVERIFY(!s.istCountdownAktiv());

        // Unplugged: the tick goes.
        h->ports.namen = {"ttyS0"};
        sekunden(2);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));
        QTRY_VERIFY(
            js(fenster.startAnsicht(), "qt.jQuery('.okicon').is(':visible') ? 'ja' : 'nein'").toString() ==
            "nein");
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
        QCOMPARE(f.getSpiel().getAktuelleFrageNr(), 1);
        QVERIFY(f.frageAktiv() && f.frageAnsicht()->isVisible());
        QVERIFY(f.getComPort());
        QTRY_VERIFY_WITH_TIMEOUT(f.istEingerichtet(), 10000);
        QCOMPARE(f.optionen(), fenster);
        QCOMPARE(f.getSpiel().getAktuelleFrageNr(), 1);

        QVERIFY(h->geladen(f.startAnsicht(), "startscreen.html"));
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
