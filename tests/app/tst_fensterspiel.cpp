// Whole games driven through the main window with keys, on a hand-driven clock, with the real
// pages in real web views. Dialogs are answered by a recorder, sounds recorded.
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "klangrekorder.h"
#include "mainwindow.h"
#include "optionwindow.h"
#include "schluessel.h"
#include "spiel.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "webbruecke.h"
#include "webwarten.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace {

const QString Glocke = QStringLiteral(":/sound/sound/bell.wav");
const QString Ring = QStringLiteral(":/sound/sound/ring.wav");

QVariant js(QWebEngineView *ansicht, const QString &ausdruck)
{
    return wertLesen([&](auto antwort) { ansicht->page()->runJavaScript(ausdruck, antwort); });
}

} // namespace

class TestFensterspiel final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    std::unique_ptr<TestUhr> m_uhr;
    DialogRekorder m_dialoge;
    KlangRekorder m_klang;
    FakePortSystem m_ports;
    std::unique_ptr<MainWindow> m_fenster;

    void erzeugen(const QString &vorlage)
    {
        Einstellungen::setzen(Schluessel::GewaehltesTemplate, vorlage);
        m_fenster = std::make_unique<MainWindow>(
            Umgebung{m_uhr.get(), &m_dialoge, &m_klang, nullptr, &m_ports, m_einstellungen->ordner()});
        m_fenster->resize(1600, 1000);
        m_fenster->show();
    }
    void starten(const QString &vorlage = QStringLiteral("Morvane"))
    {
        erzeugen(vorlage);
        m_fenster->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_fenster.get()));
        QTRY_VERIFY_WITH_TIMEOUT(m_fenster->istEingerichtet(), 10000);
    }
    // Waits until a view shows `seite` with jQuery in it.
    bool geladen(QWebEngineView *ansicht, const QString &seite)
    {
        return QTest::qWaitFor(
            [&]() {
                return ansicht->url().toString().endsWith(seite) &&
                       js(ansicht, QStringLiteral("typeof qt")).toString() == QLatin1String("object");
            },
            30000);
    }
    void taste(Qt::Key taste) { QTest::keyClick(m_fenster.get(), taste); }
    void sekunden(int s) { m_uhr->vorspulen(qint64(s) * 1000); }
    QString frageSeite(const QString &ausdruck) { return js(m_fenster->frageAnsicht(), ausdruck).toString(); }
    const Person *person(uint klassensatz, uint buzzer)
    {
        static QList<Person> personen;
        personen = m_fenster->getSpiel().getPersonen();
        for (const Person &p : personen) {
            if (p.getKlassensatz() == klassensatz && p.getBuzzerNo() == buzzer)
                return &p;
        }
        return nullptr;
    }
    int antwort(uint buzzer, int frage)
    {
        const Person *p = person(1, buzzer);
        const AntwortDerPerson *a = p ? p->findeAntwort(frage) : nullptr;
        return a ? a->getAntwort() : -1;
    }
    // The boxes of `auswahl` on the question page that the pause sign covers, or why it cannot tell.
    QString pauseBedeckt(const QString &auswahl)
    {
        const auto *schild = m_fenster->findChild<QLabel *>(QStringLiteral("pauseHinweis"));
        if (!schild || !schild->isVisible())
            return QStringLiteral("no sign");
        QWebEngineView *ansicht = m_fenster->frageAnsicht();
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
            const double b = ansicht->width(), h = ansicht->height();
            const QRectF r(z.value(0).toDouble() * b, z.value(1).toDouble() * h, z.value(2).toDouble() * b,
                           z.value(3).toDouble() * h);
            if (r.isValid() && r.intersects(s))
                bedeckt << box;
        }
        return bedeckt.join(QLatin1Char(';'));
    }
    QString eigeneFragen(const QList<Testdaten::Frage> &fragen)
    {
        const QString pfad = m_einstellungen->ordner() + QStringLiteral("/eigene.xml");
        Testdaten::schreiben(pfad, fragen);
        return pfad;
    }

private slots:
    void init()
    {
        m_einstellungen = std::make_unique<TestEinstellungen>();
        m_uhr = std::make_unique<TestUhr>();
        m_dialoge.leeren();
        m_dialoge.antwortJa = true;
        m_dialoge.dateien.clear();
        m_klang.gespielt.clear();
    }
    void cleanup()
    {
        if (m_fenster) {
            m_dialoge.antwortJa = true;
            m_fenster->close();
        }
        m_fenster.reset();
        m_uhr.reset();
        m_einstellungen.reset();
    }

    void ganzesSpielMitTasten_data()
    {
        QTest::addColumn<QString>("vorlage");
        QTest::addColumn<QString>("seite");
        QTest::addColumn<QString>("frei"); // what the pause sign leaves in sight
        QTest::newRow("Morvane") << "Morvane"
                                 << "morvane.html"
                                 << ".textFrage, .kachel";
        QTest::newRow("Tandrivelle") << "Tandrivelle"
                                     << "tandrivelleneu.html"
                                     << ".textFrage, .antwortZeile";
        QTest::newRow("Kahoot") << "Kahoot"
                                << "kahoot.html"
                                << ".textFrage, .antwort";
    }
    void ganzesSpielMitTasten()
    {
        QFETCH(QString, vorlage);
        QFETCH(QString, seite);
        QFETCH(QString, frei);
        starten(vorlage);
        MainWindow &f = *m_fenster;
        spiel &s = f.getSpiel();

        // First start: the German sample questions, the start screen in front.
        QCOMPARE(s.getAnzahlFragen(), 9);
        QVERIFY(Einstellungen::text(Schluessel::FrageFile).endsWith("/examples/DE/BspFragen.xml"));
        QCOMPARE(f.statusAnzahl(), QString("Anzahl Fragen: 9"));
        QVERIFY(f.startScreenAngezeigt() && f.startAnsicht()->isVisible() && !f.frageAnsicht()->isVisible());
        QVERIFY(geladen(f.frageAnsicht(), seite));
        QVERIFY(geladen(f.startAnsicht(), "startscreen.html"));

        // A handset reports in on the start screen.
        taste(Qt::Key_3);
        QVERIFY(person(1, 60));
        QTRY_COMPARE(js(f.startAnsicht(), "qt.jQuery('.imgGeraeteID60').css('display')").toString(),
                     QString("inline"));

        // Question 1 has a picture and a 2-second answer delay.
        taste(Qt::Key_Space);
        QVERIFY(f.frageAktiv() && f.frageAnsicht()->isVisible() && !f.startAnsicht()->isVisible());
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        QCOMPARE(f.statusAktuelleFrage(), QString("aktuelle Frage-Nr.: 1/9"));
        const QString bildKlasse = vorlage == "Morvane"  ? "imgfrageMorvane"
                                   : vorlage == "Kahoot" ? "imgfrageKahoot"
                                                         : "imgfrage";
        QTRY_VERIFY(frageSeite("qt.jQuery('." + bildKlasse + "').attr('src')")
                        .endsWith("/examples/bilder/weltkarte.png"));
        QTRY_VERIFY(frageSeite("qt.jQuery('." + bildKlasse + "')[0].naturalWidth > 0 ? 'ja' : 'nein'") ==
                    "ja");
        m_uhr->vorspulen(1999);
        QVERIFY(!s.istCountdownAktiv());
        taste(Qt::Key_2); // during the answer delay: not recorded
        QCOMPARE(antwort(60, 1), -1);
        m_uhr->vorspulen(1);
        QVERIFY(s.istCountdownAktiv() && f.stimmenVerbunden());
        QTRY_COMPARE(frageSeite("qt.jQuery('.textAntwortB').text()"), QString("Afrika"));

        m_klang.gespielt.clear();
        sekunden(3);
        taste(Qt::Key_B);
        taste(Qt::Key_2);
        QCOMPARE(antwort(60, 1), 2);
        QCOMPARE(m_klang.gespielt, QStringList{Glocke}); // once per handset and question

        sekunden(17);
        QVERIFY(!s.istCountdownAktiv() && !f.stimmenVerbunden());
        QCOMPARE(m_klang.gespielt.last(), Ring);
        taste(Qt::Key_1); // after the end: the evaluated answer stays
        QCOMPARE(antwort(60, 1), 2);
        QCOMPARE(s.getPersonenRichtig().size(), 1);

        sekunden(2);
        if (vorlage == "Morvane") {
            QTRY_COMPARE(frageSeite("qt.jQuery('.prozentAntwortB').text()"), QString("100.0%"));
        } else if (vorlage == "Tandrivelle") {
            QTRY_COMPARE(frageSeite("qt.jQuery('.prozent_B').text()"), QString("100.0%"));
            QTRY_COMPARE(frageSeite("qt.jQuery('.imghaken_B').is(':visible') ? 'ja' : 'nein'"),
                         QString("ja"));
        } else {
            QTRY_COMPARE(frageSeite("qt.jQuery('.prozentProzenangabeTextB').text()"), QString("100.0%"));
            QTRY_COMPARE(frageSeite("qt.jQuery('.hakenAntwortB').css('visibility')"), QString("visible"));
        }

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
        taste(Qt::Key_1);
        QCOMPARE(antwort(60, 2), -1);
        sekunden(60);
        QVERIFY(s.istCountdownAktiv());
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
        QCOMPARE(m_dialoge.hinweisTexte(), QStringList{"Keine weiteren Fragen."});
        QVERIFY(s.istEndeErreicht());
        sekunden(30);
        QVERIFY(!s.istCountdownAktiv());

        // Black screen on and off.
        taste(Qt::Key_K);
        QVERIFY(f.schwarzBild() && f.schwarzAnsicht()->isVisible());
        taste(Qt::Key_K);
        QVERIFY(!f.schwarzBild() && !f.schwarzAnsicht()->isVisible());

        // Restart asks first; No changes nothing, Yes starts over on the start screen.
        m_dialoge.antwortJa = false;
        taste(Qt::Key_F5);
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(m_dialoge.fragen.at(0).text, QString("Möchten Sie das Spiel wirklich neu starten?"));
        QCOMPARE(s.getPersonen().size(), 1);
        m_dialoge.antwortJa = true;
        taste(Qt::Key_F5);
        QVERIFY(f.startScreenAngezeigt() && f.stimmenVerbunden());
        QVERIFY(s.getPersonen().isEmpty());
        QCOMPARE(s.getAktuelleFrageNr(), 0);
        QVERIFY(f.statusAktuelleFrage().isEmpty());
        QTRY_COMPARE(js(f.ranglisteAnsicht(), "qt.jQuery('.tabelleReiheRangliste').length").toInt(), 0);

        // Right after a restart, quitting asks nothing.
        m_dialoge.fragen.clear();
        QVERIFY(f.close());
        QVERIFY(m_dialoge.fragen.isEmpty());
    }

    void beendenFragtNachDrueckenUndNichtNachExport()
    {
        starten();
        m_fenster->druckEmpfangen(1, 5, 1);
        m_dialoge.antwortJa = false;
        QVERIFY(!m_fenster->close());
        QCOMPARE(m_dialoge.fragen.size(), 1);
        QCOMPARE(
            m_dialoge.fragen.at(0).informativerText,
            QString(
                "Die Resultate eines Quiz oder die Auswertung einer Umfrage können dabei verloren gehen."));
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        m_dialoge.antwortJa = true;
        QVERIFY(m_fenster->close());
        QCOMPARE(m_dialoge.fragen.last().text, QString("Are you sure you want to quit Plenaro?"));
    }

    void tabellenExportNimmtDieWarnungWeg_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<QString>("datei");
        QTest::newRow("CSV") << "actionResultate_CSV"
                             << "ergebnis.csv";
        QTest::newRow("workbook") << "actionResultate_XLSX"
                                  << "ergebnis.xlsx";
    }
    void tabellenExportNimmtDieWarnungWeg()
    {
        QFETCH(QString, aktion);
        QFETCH(QString, datei);
        starten();
        auto *eintrag = m_fenster->findChild<QAction *>(aktion);
        auto *menue = m_fenster->findChild<QMenu *>("menuResultate");
        QVERIFY(eintrag && menue && menue->actions().contains(eintrag));
        m_fenster->druckEmpfangen(1, 5, 1);

        // A cancelled file dialog writes nothing and keeps the warning before quitting.
        eintrag->trigger();
        m_dialoge.antwortJa = false;
        QVERIFY(!m_fenster->close());
        // A written file takes it away.
        const QString pfad = m_einstellungen->ordner() + QLatin1Char('/') + datei;
        m_dialoge.dateien = {pfad};
        eintrag->trigger();
        QVERIFY(QFile::exists(pfad));
        m_dialoge.fragen.clear();
        QVERIFY(m_fenster->close());
        QVERIFY(m_dialoge.fragen.isEmpty());
    }

    void navigationOhneFragen()
    {
        Einstellungen::setzen(Schluessel::BereitsGestartet, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::FrageFile,
                              m_einstellungen->ordner() + QStringLiteral("/fehlt.xml"));
        starten();
        QCOMPARE(m_fenster->statusDatei(), QString("Keine Fragedatei ausgewählt."));
        for (const Qt::Key k : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left,
                                Qt::Key_PageUp, Qt::Key_PageDown})
            taste(k);
        QCOMPARE(m_dialoge.hinweise.size(), 7);
        QCOMPARE(m_dialoge.hinweise.at(0).text, QString("Keine Fragedatei ausgewählt."));
        QCOMPARE(m_dialoge.hinweise.at(0).bild, QString(":/images/frageneditor_50.png"));
        QVERIFY(m_fenster->startScreenAngezeigt());
    }

    void ueberspringenZurueckUndGoTo()
    {
        Testdaten::Frage f;
        f.zeit = "10";
        f.verzoegerung = "0";
        QList<Testdaten::Frage> fragen;
        for (int i = 1; i <= 5; ++i) {
            f.text = QString::number(i);
            fragen << f;
        }
        Einstellungen::setzen(Schluessel::BereitsGestartet, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::FrageFile, eigeneFragen(fragen));
        starten();
        spiel &s = m_fenster->getSpiel();
        taste(Qt::Key_Space);
        m_uhr->vorspulen(0); // AnswerDelay 0 starts the countdown at once
        QVERIFY(s.istCountdownAktiv());
        sekunden(3);
        taste(Qt::Key_Right); // skip: abandoned without evaluation
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        QVERIFY(!s.istCountdownAktiv());
        m_uhr->vorspulen(0);
        QVERIFY(s.istCountdownAktiv());
        taste(Qt::Key_Up);
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        taste(Qt::Key_PageDown);
        taste(Qt::Key_Down);
        QCOMPARE(s.getAktuelleFrageNr(), 3);
        taste(Qt::Key_PageUp);
        taste(Qt::Key_Left);
        QCOMPARE(s.getAktuelleFrageNr(), 1);

        m_fenster->goToFrage(4);
        QCOMPARE(s.getAktuelleFrageNr(), 4);
        QCOMPARE(m_fenster->statusAktuelleFrage(), QString("aktuelle Frage-Nr.: 4"));
        m_fenster->goToFrage(0);
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        m_fenster->goToFrage(99);
        QCOMPARE(s.getAktuelleFrageNr(), 5);
        QVERIFY(m_dialoge.hinweise.isEmpty());
        // Nothing of the skipped countdowns was ever evaluated.
        sekunden(60);
        QVERIFY(s.getPersonenRichtig().isEmpty() && s.getPersonenFalsch().isEmpty());
    }

    void automatisierungUndIhrAbbruch()
    {
        Testdaten::Frage f;
        f.zeit = "5";
        f.verzoegerung = "1";
        Einstellungen::setzen(Schluessel::BereitsGestartet, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::FrageFile, eigeneFragen({f, f, f, f}));
        Einstellungen::setzen(Schluessel::AutomatisierungAktiviert, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::AutomatisierungZeit, QStringLiteral("3"));
        Einstellungen::setzen(Schluessel::ToeneAutomatisierungLautlos, QStringLiteral("false"));
        Einstellungen::setzen(Schluessel::SoundFileToeneAutomatisierung, QStringLiteral("plop2.wav"));
        starten();
        spiel &s = m_fenster->getSpiel();
        taste(Qt::Key_Space);
        sekunden(1 + 5 + 2); // delay, countdown, result display
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        sekunden(3);
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        QCOMPARE(m_klang.gespielt.last(), QString(":/sound/sound/plop2.wav"));

        // The presenter goes on by hand before the automation: it must not skip a question.
        sekunden(1 + 5 + 2);
        taste(Qt::Key_Space);
        QCOMPARE(s.getAktuelleFrageNr(), 3);
        sekunden(3);
        QCOMPARE(s.getAktuelleFrageNr(), 3);
    }

    void drueckeUndKlaenge()
    {
        Einstellungen::setzen(Schluessel::BereitsGestartet, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::FrageFile, eigeneFragen({Testdaten::Frage(), Testdaten::Frage()}));
        Einstellungen::setzen(Schluessel::ToeneBuzzerLautlos, QStringLiteral("false"));
        Einstellungen::setzen(Schluessel::SoundFileToeneBuzzer, QStringLiteral("bell.wav (default)"));
        starten();
        taste(Qt::Key_Space);
        m_uhr->vorspulen(0);
        m_fenster->druckEmpfangen(1, 23, 1);
        m_fenster->druckEmpfangen(12, 3, 2); // another handset, though the digits read alike
        m_fenster->druckEmpfangen(1, 23, 2);
        QCOMPARE(m_klang.gespielt, (QStringList{Glocke, Glocke}));
        // Class set 1 is not in any filter here: the keys bypass the receiver anyway.
        taste(Qt::Key_4);
        QCOMPARE(m_klang.gespielt.size(), 3);

        // Silenced, or the silence flag missing: no sound.
        Einstellungen::setzen(Schluessel::ToeneBuzzerLautlos, QStringLiteral("true"));
        taste(Qt::Key_Down);
        m_uhr->vorspulen(0);
        m_fenster->druckEmpfangen(1, 1, 1);
        QCOMPARE(m_klang.gespielt.size(), 3);
    }

    void neuStartAufDemStartbildschirmFragtNicht()
    {
        starten();
        m_fenster->druckEmpfangen(1, 5, 1);
        taste(Qt::Key_F5);
        QVERIFY(m_dialoge.fragen.isEmpty());
        QVERIFY(m_fenster->getSpiel().getPersonen().isEmpty());
    }

    void fragedateiOeffnen()
    {
        starten();
        const QString gut = eigeneFragen({Testdaten::Frage(), Testdaten::Frage()});
        const QString kaputt = m_einstellungen->ordner() + QStringLiteral("/kaputt.xml");
        Testdaten::schreiben(kaputt, QByteArray("<ArrayOfQuestion><Question>"));
        const QString vorher = Einstellungen::text(Schluessel::FrageFile);

        // A file that cannot be loaded: a box naming it and why; nothing changes.
        m_dialoge.dateien = {kaputt};
        m_fenster->on_action_ffnen_triggered();
        QCOMPARE(m_dialoge.hinweise.size(), 1);
        QVERIFY(m_dialoge.hinweise.at(0).text.contains("kaputt.xml"));
        QVERIFY(m_dialoge.hinweise.at(0).informativerText.contains("XML-Fehler"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), vorher);
        QCOMPARE(m_fenster->getSpiel().getAnzahlFragen(), 9);
        QVERIFY(Einstellungen::liste(Schluessel::RecentFileList).isEmpty());

        m_dialoge.dateien = {gut};
        m_fenster->on_action_ffnen_triggered();
        QCOMPARE(m_dialoge.dateiDialoge.last().at(0), QString("Öffnen Fragen XML-Datei"));
        QCOMPARE(m_dialoge.dateiDialoge.last().at(2), QString("XML Files (*.xml)"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), gut);
        QCOMPARE(Einstellungen::text(Schluessel::DefaultPfadFrageFileOeffnen), m_einstellungen->ordner());
        QCOMPARE(m_fenster->getSpiel().getAnzahlFragen(), 2);
        QCOMPARE(m_fenster->statusAnzahl(), QString("Anzahl Fragen: 2"));
        QCOMPARE(Einstellungen::liste(Schluessel::RecentFileList), QStringList{gut});
        QVERIFY(m_fenster->zuletztGeoeffnet().at(0)->isVisible());
        QCOMPARE(m_fenster->zuletztGeoeffnet().at(0)->text(), QString("eigene.xml"));

        // A cancelled dialog keeps the file.
        m_fenster->on_action_ffnen_triggered();
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), gut);

        // A recent file that has gone.
        QFile::remove(gut);
        m_fenster->zuletztGeoeffnet().at(0)->trigger();
        QCOMPARE(m_dialoge.hinweise.last().text, QString("Datei existiert nicht."));
    }

    void zuletztGeoeffnetBehaeltFuenf()
    {
        starten();
        QStringList dateien;
        for (int i = 0; i < 6; ++i) {
            dateien << m_einstellungen->ordner() + QStringLiteral("/f%1.xml").arg(i);
            Testdaten::schreiben(dateien.last(), QList<Testdaten::Frage>{Testdaten::Frage()});
            m_fenster->frageDateiOeffnen(dateien.last());
        }
        m_fenster->frageDateiOeffnen(dateien.at(3));
        QCOMPARE(Einstellungen::liste(Schluessel::RecentFileList),
                 (QStringList{dateien[3], dateien[5], dateien[4], dateien[2], dateien[1]}));
    }

    void empfaengerUndMasterHandsender()
    {
        Einstellungen::setzen(Schluessel::BereitsGestartet, QStringLiteral("true"));
        Testdaten::Frage f;
        f.zeit = "10";
        f.verzoegerung = "1";
        Einstellungen::setzen(Schluessel::FrageFile, eigeneFragen({f, f, f}));
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::TemplateAutomatischErkennen, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::SteuerungUeberMaster, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::MasterBuzzer, QStringLiteral("9"));
        Einstellungen::setzen(Schluessel::MasterKlassensatz, QStringLiteral("1"));
        m_ports.namen = {"ttyS0", "ttyEMPF"};
        m_ports.geraete["ttyEMPF"] = {"#PLENARO_TANDRIVELLE$"};
        starten(QStringLiteral("Morvane"));
        MainWindow &fenster = *m_fenster;
        spiel &s = fenster.getSpiel();
        QVERIFY(geladen(fenster.startAnsicht(), "startscreen.html"));

        // Found: port in the status bar, the tick, the template of its family, the port open.
        m_uhr->vorspulen(200);
        QVERIFY(geladen(fenster.frageAnsicht(), "tandrivelleneu.html"));
        QCOMPARE(Einstellungen::text(Schluessel::GewaehltesTemplate), QString("Tandrivelle"));
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), QString("ttyEMPF"));
        QVERIFY(m_ports.letzterPort->isOpen());
        sekunden(1);
        QVERIFY(fenster.statusEmpfaenger().contains("verbunden") &&
                !fenster.statusEmpfaenger().contains("nicht"));
        QTRY_VERIFY(
            js(fenster.startAnsicht(), "qt.jQuery('.okicon').is(':visible') ? 'ja' : 'nein'").toString() ==
            "ja");

        const auto rahmen = [](uint geraet, uint knopf) {
            const char bytes[4] = {0, 1, char(geraet), char(knopf - 1)};
            return QByteArray(bytes, 4);
        };
        // Handsets report in on the start screen.
        m_ports.letzterPort->liefern(rahmen(3, 2) + rahmen(4, 1));
        QCOMPARE(s.getPersonen().size(), 2);

        // Master D: next question; during the answer delay presses do not count.
        m_ports.letzterPort->liefern(rahmen(9, 4));
        QCOMPARE(s.getAktuelleFrageNr(), 1);
        QVERIFY(fenster.frageAktiv());
        m_ports.letzterPort->liefern(rahmen(3, 3));
        QCOMPARE(antwort(3, 1), -1);
        // Master C before the countdown runs changes nothing.
        m_ports.letzterPort->liefern(rahmen(9, 3));
        QVERIFY(!fenster.stimmenVerbunden() && !s.istPausiert());
        sekunden(1);
        QVERIFY(s.istCountdownAktiv());
        m_ports.letzterPort->liefern(rahmen(3, 3));
        QCOMPARE(antwort(3, 1), 3);
        // Master C pauses and resumes.
        m_ports.letzterPort->liefern(rahmen(9, 3));
        QVERIFY(s.istPausiert() && !fenster.stimmenVerbunden());
        m_ports.letzterPort->liefern(rahmen(3, 1));
        QCOMPARE(antwort(3, 1), 3);
        m_ports.letzterPort->liefern(rahmen(9, 3));
        QVERIFY(!s.istPausiert() && fenster.stimmenVerbunden());
        // Master A ends the countdown; presses after it change nothing.
        m_ports.letzterPort->liefern(rahmen(9, 1));
        QVERIFY(!s.istCountdownAktiv());
        m_ports.letzterPort->liefern(rahmen(3, 2));
        QCOMPARE(antwort(3, 1), 3);
        // Master D and B move forward and back.
        m_ports.letzterPort->liefern(rahmen(9, 4));
        m_ports.letzterPort->liefern(rahmen(9, 4));
        QCOMPARE(s.getAktuelleFrageNr(), 3);
        m_ports.letzterPort->liefern(rahmen(9, 2));
        QCOMPARE(s.getAktuelleFrageNr(), 2);
        QVERIFY(!person(1, 9));

        // Moving on during a countdown abandons it, as the keys do: nothing is evaluated later.
        sekunden(1);
        QVERIFY(s.istCountdownAktiv());
        m_ports.letzterPort->liefern(rahmen(9, 4));
        QCOMPARE(s.getAktuelleFrageNr(), 3);
        QVERIFY(!s.istCountdownAktiv());
        QSignalSpy ausgewertet(&s, &spiel::ranglisteAktualisieren);
        taste(Qt::Key_T);
        QCOMPARE(ausgewertet.count(), 0);
        sekunden(1);
        QVERIFY(s.istCountdownAktiv());

        // Unplugged: the tick goes.
        m_ports.namen = {"ttyS0"};
        sekunden(2);
        QCOMPARE(Einstellungen::text(Schluessel::EmpfaengerVerbunden), QString("false"));
        QTRY_VERIFY(
            js(fenster.startAnsicht(), "qt.jQuery('.okicon').is(':visible') ? 'ja' : 'nein'").toString() ==
            "nein");
    }

    // The receiver, the options and the pages behind the start screen come once the start screen
    // is drawn; a teacher who is quicker than that gets them at once, and a receiver plugged in
    // before the start is found all the same.
    void bedienenBevorDasStartbildSteht()
    {
        Einstellungen::setzen(Schluessel::BereitsGestartet, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::EmpfaengerAutomatischFinden, QStringLiteral("true"));
        m_ports.namen = {"ttyEMPF"};
        m_ports.geraete["ttyEMPF"] = {"#PLENARO$"};
        erzeugen(QStringLiteral("Morvane"));
        MainWindow &f = *m_fenster;
        QVERIFY(!f.istEingerichtet() && !f.optionen() && !f.getComPort());
        // No engine page, and so no renderer, competes with the start screen.
        for (QWebEngineView *dahinter : {f.frageAnsicht(), f.ranglisteAnsicht(), f.schwarzAnsicht()})
            QVERIFY(!dahinter->findChild<QWebEnginePage *>());

        auto *optionen = f.findChild<QAction *>(QStringLiteral("actionOptionen"));
        QVERIFY(optionen);
        optionen->trigger();
        OptionWindow *fenster = f.optionen();
        QVERIFY(fenster && fenster->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(f.istEingerichtet(), 10000);
        QCOMPARE(f.optionen(), fenster);

        QVERIFY(geladen(f.startAnsicht(), "startscreen.html"));
        QVERIFY(geladen(f.frageAnsicht(), "morvane.html"));
        m_uhr->vorspulen(200);
        QCOMPARE(Einstellungen::text(Schluessel::SerialPort), QString("ttyEMPF"));
        QVERIFY(m_ports.letzterPort && m_ports.letzterPort->isOpen());
    }

    // The next question asked for before the start screen is drawn: the game starts, with the
    // question page on its way and the receiver's port open.
    void spielStartetVorDemStartbild()
    {
        erzeugen(QStringLiteral("Morvane"));
        QVERIFY(!m_fenster->istEingerichtet());
        m_fenster->findChild<QAction *>(QStringLiteral("actionN_chste_Frage"))->trigger();
        QCOMPARE(m_fenster->getSpiel().getAktuelleFrageNr(), 1);
        QVERIFY(m_fenster->frageAktiv() && m_fenster->frageAnsicht()->isVisible());
        QVERIFY(m_fenster->getComPort());
        QVERIFY(geladen(m_fenster->frageAnsicht(), "morvane.html"));
        QTRY_VERIFY_WITH_TIMEOUT(m_fenster->istEingerichtet(), 10000);
        QCOMPARE(m_fenster->getSpiel().getAktuelleFrageNr(), 1);
    }

    // Closed at once (a double click on the wrong icon): nothing is set up behind the closed
    // window, and it closes again without harm.
    void schliessenBevorDasStartbildSteht()
    {
        erzeugen(QStringLiteral("Morvane"));
        QVERIFY(m_fenster->close());
        sekunden(3); // past the latest moment a window that draws nothing is set up
        QTest::qWait(50);
        QVERIFY(!m_fenster->istEingerichtet() && !m_fenster->getComPort() && !m_fenster->handys());
    }

    // The projector shows the page and nothing else; the teacher gets the window back with V/N/Esc.
    void vollbildZeigtNurDieSeite()
    {
        starten();
        QVERIFY(m_fenster->statusBar()->findChildren<QLabel *>().size() > 0);
        const auto statusTexte = [&] {
            QStringList texte;
            for (const QLabel *l : m_fenster->statusBar()->findChildren<QLabel *>())
                texte.append(l->text());
            return texte.join(QLatin1Char('|'));
        };
        // No receiver yet: the port the first start stored is not shown as if it were one.
        QVERIFY2(statusTexte().contains(QStringLiteral("Port: –")), qPrintable(statusTexte()));
        taste(Qt::Key_V);
        QTRY_VERIFY(m_fenster->isFullScreen());
        QVERIFY(!m_fenster->menuBar()->isVisible() && !m_fenster->statusBar()->isVisible());
        for (const QToolBar *leiste : m_fenster->findChildren<QToolBar *>())
            QVERIFY(!leiste->isVisible());
        // The keys of the game still work, and a resting pointer goes.
        taste(Qt::Key_K);
        QVERIFY(m_fenster->schwarzBild());
        taste(Qt::Key_K);
        m_uhr->vorspulen(2000);
        QVERIFY(QGuiApplication::overrideCursor() &&
                QGuiApplication::overrideCursor()->shape() == Qt::BlankCursor);
        taste(Qt::Key_Escape);
        QTRY_VERIFY(!m_fenster->isFullScreen());
        QVERIFY(m_fenster->menuBar()->isVisible() && m_fenster->statusBar()->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
        // Esc outside Vollbild changes nothing.
        taste(Qt::Key_Escape);
        QVERIFY(!m_fenster->isFullScreen() && m_fenster->menuBar()->isVisible());
    }

    void zoom()
    {
        starten();
        QWebEngineView *frage = m_fenster->frageAnsicht();
        QVERIFY(geladen(frage, "morvane.html"));
        const double start = frage->zoomFactor();
        taste(Qt::Key_Plus);
        QTRY_COMPARE(qRound(frage->zoomFactor() * 100), qRound((start + 0.1) * 100));
        taste(Qt::Key_Minus);
        QTRY_COMPARE(qRound(frage->zoomFactor() * 100), qRound(start * 100));
        for (int i = 0; i < 5; ++i)
            m_fenster->on_actionVergr_ssern_triggered();
        QTRY_COMPARE(qRound(frage->zoomFactor() * 100), qRound((start + 0.5) * 100));
        for (int i = 0; i < 30; ++i)
            m_fenster->on_actionVerkleinern_triggered();
        QTRY_COMPARE(frage->zoomFactor(), 0.25);
        m_fenster->on_actionNormal_triggered();
        QTRY_COMPARE(frage->zoomFactor(), 1.1);
        QTRY_COMPARE(m_fenster->ranglisteAnsicht()->zoomFactor(), 1.0);
    }
};

int main(int argc, char *argv[])
{
    WebBruecke::qrcSchemaAnmelden();
    QApplication app(argc, argv);
    TestFensterspiel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fensterspiel.moc"
