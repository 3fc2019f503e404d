// The game flow without a window: a recording window, the hand-driven clock, recorded dialogs and
// sounds. Key sequences as a presenter types them. Also the editor's two fields that steer a
// question: voting twice and the presenter's notes.
#include "dialogrekorder.h"
#include "druckjournal.h"
#include "einstellungen.h"
#include "fragedatei.h"
#include "frageneditor.h"
#include "geraetschluessel.h"
#include "klangrekorder.h"
#include "schluessel.h"
#include "spiel.h"
#include "spielablauf.h"
#include "teilnehmer.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "testuhr.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QString Glocke = ":/sound/sound/bell.wav";
const QString Ring = ":/sound/sound/ring.wav";

QString anteile(const QList<double> &prozente)
{
    QStringList teile;
    for (const double p : prozente)
        teile << QString::number(qRound(p));
    return teile.join(',');
}

// Per participant: answer/first round's answer/points/time (- unevaluated) to question 1.
QString zustand(const QList<Person> &personen)
{
    QStringList teile;
    for (const Person &p : personen) {
        const AntwortDerPerson *a = p.findeAntwort(1);
        teile
            << QString("%1/%2/%3/").arg(a->getAntwort()).arg(a->getAntwortErsteRunde()).arg(a->getPunkte()) +
                   (a->istAusgewertet() ? QString::number(a->getAntwortszeit()) : "-");
    }
    return teile.join(' ');
}

// Records what the flow asks its window to show, one line per call.
class FensterRekorder final : public SpielFenster
{
public:
    void ansichtZeigen(Ansicht a) override { aufrufe << QString("ansicht %1").arg(int(ansicht = a)); }
    void frageNrAnzeigen(const QString &text) override { frageNr = text; }
    void dateiAnzeigen(const QString &datei, const QString &) override { dateiText = datei; }
    void statusMeldung(const QString &text) override { meldungen << text; }
    void zuletztGeoeffnetAktualisieren() override {}
    bool templateErzeugen(const QString &name) override
    {
        if (!QStringList{"Morvane", "Tandrivelle", "Kahoot"}.contains(name))
            return false;
        templates << name;
        return true;
    }
    void frageAnzeigen(const QDomElement &frage, int nr) override
    {
        aufrufe << QString("frage %1 %2").arg(nr).arg(frage.firstChildElement().text());
    }
    void antwortenAnzeigen(const QDomElement &) override { aufrufe << "antworten"; }
    void countdownAnzeigen(int counter, int) override { aufrufe << QString("tick %1").arg(counter); }
    void countdownAbgelaufenAnzeigen() override { aufrufe << "ende"; }
    void richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                 const QString &loesung, const QList<double> &prozente,
                                 const QList<double> &ersteRunde) override
    {
        aufrufe << QString("ergebnis %1 %2/%3 ").arg(loesung).arg(richtig.size()).arg(falsch.size()) +
                       anteile(prozente) + " | " + anteile(ersteRunde);
    }
    void pauseAnzeigen(bool p) override { pause = p; }
    void druckAnzeigen(uint k, uint b, uint t) override
    {
        aufrufe << QString("druck %1/%2/%3").arg(k).arg(b).arg(t);
    }
    void startscreenZuruecksetzen(const QString &name) override { aufrufe << "startscreen " + name; }
    void ranglisteAnzeigen(const QList<Person> &p, int, int) override { rangliste = int(p.size()); }
    void goToSchliessen() override {}
    void empfaengerOeffnen() override {}

    QStringList aufrufe, templates, meldungen;
    Ansicht ansicht = Ansicht::Start;
    QString frageNr, dateiText;
    bool pause = false;
    int rangliste = -1;
};

QList<Testdaten::Frage> dreiFragen()
{
    const QStringList abcd{"A", "B", "C", "D"};
    return {{"Eins", abcd, "Answer1", "10", "1", "2", {}},
            {"Zwei", abcd, "Answer2", "15", "1", "0", {}},
            {"Drei", abcd, "NoAnswer", "15", "1", "0", {}}};
}

} // namespace

class TestSpielablaufKern final : public QObject
{
    Q_OBJECT

private:
    // Made afresh for each test, taken down in the reverse order.
    struct Stand
    {
        TestEinstellungen einstellungen;
        TestUhr uhr;
        DialogRekorder dialoge;
        KlangRekorder klang;
        FensterRekorder fenster;
        spiel engine{uhr, dialoge};
        Spielablauf ablauf{engine, fenster, dialoge, klang, uhr};
    };
    std::unique_ptr<Stand> m;
    QString m_datei;

    QString datei(const QString &name, const QList<Testdaten::Frage> &fragen)
    {
        const QString pfad = m->einstellungen.ordner() + QLatin1Char('/') + name;
        Testdaten::schreiben(pfad, fragen);
        return pfad;
    }
    int antwort(uint klassensatz, uint buzzer, int frage) const
    {
        return antwortVon(m->engine.getPersonen(), klassensatz, buzzer, frage);
    }
    // The question file of one question of 10 s after an answer delay of 1 s, A right for 3
    // points, with `felder` added; with `zeigen` loaded and shown.
    void eineFrageMit(const QByteArray &felder, bool zeigen = true)
    {
        const Testdaten::Frage frage{"Eins", {"A", "B", "C", "D"}, "Answer1", "10", "3", "1", {}};
        m_datei = m->einstellungen.ordner() + "/runden.xml";
        Testdaten::schreiben(m_datei,
                             Testdaten::dokument({frage}).replace("</Question>", felder + "</Question>"));
        Einstellungen::setzen(Schluessel::FrageFile, m_datei);
        if (!zeigen)
            return;
        QVERIFY(m->engine.ladeFragen(m_datei).ok());
        m->ablauf.naechsteFrage();
    }
    // What a check of `spielen` reads, as text.
    QString messen(const QString &probe)
    {
        const QStringList w = probe.split(' ');
        if (w[0] == "antwort") {
            const QStringList z = w[1].split('/');
            return QString::number(antwort(z[0].toUInt(), z[1].toUInt(), z[2].toInt()));
        }
        if (w[0] == "einstellung")
            return Einstellungen::text(w[1]);
        if (w[0] == "beenden") // asks when results would be lost
            return QString::number(m->ablauf.beendenBestaetigt());
        if (probe == "stand") // needs an answer to question 1 from everyone
            return zustand(m->engine.getPersonen());
        if (probe.startsWith('#'))
            return QString::number(
                std::count_if(m->fenster.aufrufe.cbegin(), m->fenster.aufrufe.cend(),
                              [&](const QString &a) { return a.startsWith(probe.mid(1)); }));
        const QStringList ansichten{"Frage", "Start", "Rangliste", "RanglisteUnterSchwarz"};
        const QStringList &klaenge = m->klang.gespielt;
        const QHash<QString, QString> werte{
            {"countdown", QString::number(m->engine.istCountdownAktiv())},
            {"nr", QString::number(m->engine.getAktuelleFrageNr())},
            {"personen", QString::number(m->engine.getPersonen().size())},
            {"stimmen", QString::number(m->ablauf.stimmenVerbunden())},
            {"aktiv", QString::number(m->ablauf.frageAktiv())},
            {"template", m->ablauf.templateName()},
            {"pause", QString::number(m->fenster.pause)},
            {"frageNr", m->fenster.frageNr},
            {"ansicht", ansichten.value(int(m->fenster.ansicht))},
            {"rangliste", QString::number(m->fenster.rangliste)},
            {"zeitgeber", QString::number(m->uhr.aktiveZeitgeber())},
            {"moeglich", QString::number(m->ablauf.nochmalAbstimmenMoeglich())},
            {"ersteRunde", anteile(m->engine.getProzenteErsteRunde(1))},
            {"dateiText", m->fenster.dateiText},
            {"templates", m->fenster.templates.join(',')},
            {"meldungen", QString::number(m->fenster.meldungen.size())},
            {"fragen", QString::number(m->dialoge.fragen.size())},
            {"frage", m->dialoge.fragen.isEmpty() ? QString() : m->dialoge.fragen.last().text},
            {"hinweise", m->dialoge.hinweisTexte().join('|')},
            {"klaenge", QString::number(klaenge.size())},
            {"klang", QFileInfo(klaenge.isEmpty() ? QString() : klaenge.last()).fileName()},
        };
        return werte.value(probe, "no such check");
    }
    // Plays a presenter's steps, separated by semicolons. Keys: "weiter" (Space), "springen",
    // "zurueck", "pause", "neustart" (F5), "rangliste", "ranglistentaste", "nochmal". Events: "empfaenger" (a
    // receiver identified), "vorlage" (the options chose a template), "export", "beschriftungen"
    // (the file labels asked for), "frisch" (a new start without a question file), "runden N" (a question of
    // N rounds shown). "ja"/"nein" answers the questions from then on; "gehe N"; "s SECONDS" on the clock; "d
    // K/B/T ..." presses; "set KEY VALUE"; "zaehlen" counts window calls and sounds anew. "PROBE=VALUE" and
    // "PROBE~PART" check what `messen` reads.
    void spielen(const QString &skript)
    {
        const QHash<QString, void (Spielablauf::*)()> tasten{
            {"weiter", &Spielablauf::naechsteFrage},
            {"springen", &Spielablauf::frageUeberspringen},
            {"zurueck", &Spielablauf::frageZurueck},
            {"beschriftungen", &Spielablauf::dateiBeschriftungen},
            {"pause", &Spielablauf::pauseTaste},
            {"neustart", &Spielablauf::neuStarten},
            {"rangliste", &Spielablauf::ranglisteZeigen},
            {"ranglistentaste", &Spielablauf::ranglisteTaste},
            {"empfaenger", &Spielablauf::empfaengerGefunden},
            {"vorlage", &Spielablauf::templateAusgewaehlt},
            {"export", &Spielablauf::resultateExportiert},
            {"nochmal", &Spielablauf::nochmalAbstimmen}};
        for (const QString &roh : skript.split(';')) {
            const QString schritt = roh.trimmed();
            const qsizetype trenner = schritt.indexOf(QRegularExpression("[=~]"));
            const QStringList w = schritt.split(' ');
            if (trenner > 0 && schritt[trenner] == '~') {
                QVERIFY2(messen(schritt.left(trenner)).contains(schritt.mid(trenner + 1)),
                         qPrintable(schritt));
            } else if (trenner > 0) {
                QCOMPARE(schritt.left(trenner + 1) + messen(schritt.left(trenner)), schritt);
            } else if (w[0] == "d") {
                for (const QString &druck : w.mid(1)) {
                    const QStringList z = druck.split('/');
                    m->ablauf.druckEmpfangen(z[0].toUInt(), z[1].toUInt(), z[2].toUInt());
                }
            } else if (w[0] == "s") {
                m->uhr.vorspulen(qRound64(w[1].toDouble() * 1000));
            } else if (w[0] == "set") {
                Einstellungen::setzen(w[1], w[2]);
            } else if (w[0] == "gehe") {
                m->ablauf.goToFrage(w[1].toInt());
            } else if (w[0] == "ja" || w[0] == "nein") {
                m->dialoge.antwortJa = w[0] == "ja";
            } else if (w[0] == "runden") {
                eineFrageMit(w[1] == "2" ? "<Runden>2</Runden>" : "");
            } else if (w[0] == "frisch") { // fresh settings: no question file chosen
                m.reset();
                m = std::make_unique<Stand>();
            } else if (w[0] == "zaehlen") {
                m->fenster.aufrufe.clear();
                m->klang.gespielt.clear();
            } else {
                QVERIFY2(tasten.contains(w[0]), qPrintable(schritt));
                (m->ablauf.*tasten.value(w[0]))();
            }
        }
    }

private slots:
    void init()
    {
        m = std::make_unique<Stand>();
        m_datei = datei("fragen.xml", dreiFragen());
        Einstellungen::setzen({{Schluessel::ToeneBuzzerLautlos, "false"},
                               {Schluessel::ToeneCountdownLautlos, "false"},
                               {Schluessel::ToeneAutomatisierungLautlos, "false"},
                               {Schluessel::SoundFileToeneBuzzer, "bell.wav (default)"},
                               {Schluessel::SoundFileToeneCountdown, "ring.wav (default)"},
                               {Schluessel::SoundFileToeneAutomatisierung, "bell.wav (default)"},
                               {Schluessel::FrageFile, m_datei}});
        QVERIFY(m->engine.ladeFragen(m_datei).ok());
        m->ablauf.templateAnfangen();
    }
    void cleanup() { m.reset(); }

    // Key sequences as a presenter types them, played by `spielen`.
    void tasten_data()
    {
        QTest::addColumn<QString>("schritte");
        // Handsets register on the start screen; the answer delay takes no press; the last press
        // counts, with a sound once per handset (class set 1 handset 23 and class set 12 handset 3
        // are two), none when silenced; presses after the end change nothing.
        QTest::newRow("one question from start to result") << QString(
            "templates=Tandrivelle; einstellung GewaehltesTemplate=Tandrivelle; d 1/5/2; #druck 1/5/2=1; "
            "weiter; ansicht=Frage; #frage 1 Eins=1; frageNr=aktuelle Frage-Nr.: 1/3; stimmen=0; d 1/7/1; "
            "antwort 1/7/1=-1; s 1.999; #antworten=0; s 0.001; #antworten=1; stimmen=1; zaehlen; "
            "d 1/7/2 1/7/1 1/23/3 12/3/1; antwort 1/7/1=1; klaenge=3; klang=bell.wav; "
            "set ToeneBuzzerLautlos true; d 1/8/1; klaenge=3; antwort 1/8/1=1; s 1; #tick 9=1; s 9; "
            "#ende=1; stimmen=0; klang=ring.wav; d 1/23/1; antwort 1/23/1=3; s 1.999; #ergebnis=0; "
            "s 0.001; #ergebnis Answer1 3/1 =1; rangliste=5");
        // Pause only while a countdown runs: it takes the presses off and shows its sign; leaving a
        // paused question takes the sign away, and the next one counts down. (End-now and leaving
        // in every phase of the countdown: the engine test; the master handset's: the window test.)
        QTest::newRow("pause") << QString(
            "weiter; pause; pause=0; stimmen=0; s 5.4; pause; pause=1; stimmen=0; s 5; pause; pause=0; "
            "stimmen=1; pause; springen; pause=0; s 0; countdown=1; s 15; #ende=1");
        // F5 and quitting ask only when results would be lost: not on the start screen, not after
        // an export until the next press.
        QTest::newRow("restart asks") << QString(
            "d 1/1/1; neustart; fragen=0; weiter; s 2; d 1/1/1; nein; neustart; fragen=1; nr=1; beenden=0; "
            "export; beenden=1; neustart; fragen=2; nr=0; weiter; s 2; d 1/1/1; beenden=0; "
            "frage=Möchten Sie Plenaro wirklich beenden?");
        // The same family found again (a wobble of the USB bus) changes nothing. Another family
        // asks with the reason: No keeps game and template, Yes starts a new game with the new
        // template, asked once only; on the start screen it asks nothing but says why. The
        // options' choice restarts each time; a template that does not exist keeps the one before.
        QTest::newRow("receiver and template change") << QString(
            "weiter; s 2; d 1/3/2; empfaenger; fragen=0; templates=Tandrivelle; countdown=1; "
            "set GewaehltesTemplate Morvane; nein; empfaenger; fragen=1; frage~Morvane; "
            "templates=Tandrivelle; einstellung GewaehltesTemplate=Tandrivelle; antwort 1/3/1=2; "
            "set GewaehltesTemplate Morvane; ja; empfaenger; fragen=2; templates=Tandrivelle,Morvane; "
            "template=Morvane; personen=0; ansicht=Start; meldungen=1; set GewaehltesTemplate Tandrivelle; "
            "empfaenger; fragen=2; templates=Tandrivelle,Morvane,Tandrivelle; meldungen=2; zaehlen; "
            "set GewaehltesTemplate Kahoot; vorlage; template=Kahoot; set GewaehltesTemplate Quiz; "
            "vorlage; template=Kahoot; templates=Tandrivelle,Morvane,Tandrivelle,Kahoot; #startscreen=2");
        // The automation moves on its time after the result, with its sound; a presenter who went on
        // by hand first is not moved on once more (question 3 is the last: a late step would show
        // nothing new, but it would sound).
        QTest::newRow("automation") << QString(
            "set AutomatisierungAktiviert true; set AutomatisierungZeit 3; "
            "set SoundFileToeneAutomatisierung plop2.wav; weiter; s 2; countdown=1; s 14.999; nr=1; "
            "s 0.001; nr=2; klang=plop2.wav; s 17; weiter; zaehlen; s 3; nr=3; klaenge=0; hinweise=");
        QTest::newRow("no questions: only the file is asked for")
            << QString("frisch; weiter; springen; zurueck; gehe 2; beschriftungen; hinweise=%1|%1|%1|%1; "
                       "dateiText=%1; #frage=0; ansicht=Start")
                   .arg("Keine Fragedatei ausgewählt.");
        QTest::newRow("ranking only without a running countdown") << QString(
            "weiter; s 2; rangliste; ranglistentaste; ansicht=Frage; s 10; rangliste; ansicht=Rangliste; "
            "aktiv=0; ranglistentaste; ansicht=RanglisteUnterSchwarz");
        // Ended as by end-now once every handset heard so far has answered; a handset first heard in
        // one question is waited for from the next on, and a restart forgets the old game's handsets.
        QTest::newRow("ends when all have answered") << QString(
            "set FrageBeendenWennAlleGeantwortet true; d 1/1/1 1/2/1; weiter; s 2; d 1/1/2 1/1/3; "
            "countdown=1; d 1/2/4; countdown=0; #ende=1; klang=ring.wav; s 2; #ergebnis=1; "
            "antwort 1/1/1=3; weiter; s 0; d 1/3/1 1/1/1; countdown=1; d 1/2/1; countdown=0; s 2; weiter; "
            "s 0; d 1/1/1 1/2/1; countdown=1; d 1/3/1; countdown=0; "
            // Off: the countdown runs its time.
            "set FrageBeendenWennAlleGeantwortet false; gehe 2; s 0; d 1/1/2 1/2/2 1/3/2; countdown=1; "
            "set FrageBeendenWennAlleGeantwortet true; neustart; d 1/9/1; weiter; s 2; countdown=1; "
            "d 1/9/1; countdown=0");
        // Voting again after discussion: the countdown starts from the beginning, and handset 3 does
        // not vote again. After the first round of a two-round question the class discusses
        // without the mark. Gone back to, the question is asked as its second round: marked, its
        // first round kept. Going on without the second round, the first counts. While a countdown
        // runs, after the second round or on the ranking, it cannot be asked again.
        const QString erste = "zaehlen; s 2; d 1/1/1 1/2/2 1/3/2; moeglich=0; nochmal; s 11; moeglich=1; ";
        const QString zweite =
            "nochmal; s 4; d 1/1/2 1/2/1; moeglich=0; nochmal; s 9; moeglich=0; gehe 1; s 1.5; "
            "d 1/1/1 1/2/1; moeglich=0; nochmal; s 11.5; moeglich=0; #frage 1=2; #ergebnis=3; "
            "#ergebnis Answer1 1/1 50,50,0,0 | 33,67,0,0=1; #ergebnis Answer1 2/0 100,0,0,0 | 33,67,0,0=1; "
            "stand=1/1/3/500 1/2/3/500 0/2/0/-; ersteRunde=33,67,0,0; rangliste; moeglich=0";
        const QString ohne = "#frage 1=0; #ergebnis=1; stand=1/0/3/1000 2/0/0/1000 2/0/0/1000; ersteRunde=; "
                             "rangliste; moeglich=0";
        const QString zweiRunden = "runden 2; " + erste + "#ergebnis NoAnswer 0/0 33,67,0,0 | =1; ";
        const QString eineRunde = "runden 1; " + erste + "#ergebnis Answer1 1/2 33,67,0,0 | =1; ";
        QTest::newRow("two rounds") << zweiRunden + zweite;
        QTest::newRow("one round, voted again") << eineRunde + zweite;
        QTest::newRow("two rounds, not again") << zweiRunden + ohne;
        QTest::newRow("one round") << eineRunde + ohne;
    }
    void tasten()
    {
        QFETCH(QString, schritte);
        spielen(schritte);
    }

    // F5, or Open answered Yes, in every phase of a question: nothing of the old round fires
    // afterwards and no press of it counts; the new game's first question runs, ends and is
    // evaluated once. Open answered No, cancelled or with a file that does not load, and F5 with
    // the file gone, keep the round: it ends and shows its result once.
    void neuStartMittenInDerFrage_data()
    {
        QTest::addColumn<QString>("phase");
        QTest::addColumn<QString>("aktion");
        for (const char *phase :
             {"answer delay", "countdown", "paused", "result pending", "advance pending"}) {
            QTest::addRow("%s, F5", phase) << phase << "F5";
            QTest::addRow("%s, Open", phase) << phase << "Open";
        }
        QTest::newRow("countdown, Open: No") << QString("countdown") << "No";
        QTest::newRow("countdown, Open cancelled") << QString("countdown") << "cancelled";
        QTest::newRow("result pending, Open a broken file") << QString("result pending") << "broken";
        QTest::newRow("result pending, F5 with the file gone") << QString("result pending") << "gone";
    }
    void neuStartMittenInDerFrage()
    {
        QFETCH(QString, phase);
        QFETCH(QString, aktion);
        const bool neu = aktion == "F5" || aktion == "Open";
        const bool automatisch = phase == "advance pending";
        Einstellungen::setzen({{Schluessel::AutomatisierungAktiviert, automatisch ? "true" : "false"},
                               {Schluessel::AutomatisierungZeit, 3}});
        // Handset 4 registers on the start screen and answers A, which is right.
        spielen("d 1/4/2; weiter; s 1");
        if (phase != "answer delay")
            spielen("s 1; d 1/4/1; s 1");
        if (phase == "paused")
            spielen("pause");
        if (phase.endsWith("pending"))
            spielen(automatisch ? "s 12" : "s 10");
        QCOMPARE(m->ablauf.automatisierungGeplant(), automatisch);
        spielen(automatisch ? "#ergebnis=1" : "#ergebnis=0");

        const QString andere = datei("andere.xml", {Testdaten::Frage{}});
        const QString kaputt = m->einstellungen.ordner() + "/kaputt.xml";
        QVERIFY(Testdaten::schreiben(kaputt, QByteArray("<ArrayOfQuestion><Question>")));
        const qsizetype ab = m->fenster.aufrufe.size();
        if (aktion == "gone")
            QFile::remove(m_datei);
        if (aktion == "F5" || aktion == "gone") {
            m->ablauf.neuStarten();
        } else {
            m->dialoge.antwortJa = aktion != "No";
            if (aktion != "cancelled")
                m->dialoge.dateien = {aktion == "broken" ? kaputt : andere};
            m->ablauf.frageDateiOeffnen();
        }
        // The new game goes on by hand.
        Einstellungen::setzen(Schluessel::AutomatisierungAktiviert, "false");
        QCOMPARE(m->dialoge.fragen.size(), aktion == "cancelled" ? 0 : 1);
        if (!m->dialoge.fragen.isEmpty())
            QCOMPARE(m->dialoge.fragen.at(0).text, QString("Möchten Sie das Spiel wirklich neu starten?"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), aktion == "Open" ? andere : m_datei);
        QCOMPARE(Einstellungen::liste(Schluessel::RecentFileList),
                 aktion == "Open" ? QStringList{andere} : QStringList{});
        QCOMPARE(Einstellungen::text(Schluessel::DefaultPfadFrageFileOeffnen),
                 aktion == "Open" ? m->einstellungen.ordner() : QString());
        // A file that does not load says so, naming it and why.
        const QString ladefehler = aktion == "broken" ? "kaputt.xml" : aktion == "gone" ? "fragen.xml" : "";
        QCOMPARE(m->dialoge.hinweise.size(), ladefehler.isEmpty() ? 0 : 1);
        if (!ladefehler.isEmpty())
            QVERIFY(m->dialoge.hinweise.at(0).text.contains(ladefehler) &&
                    !m->dialoge.hinweise.at(0).informativerText.isEmpty());

        if (!neu) {
            spielen(QString("nr=1; s 30; antwort 1/4/1=%1; #ende=1; #ergebnis=1; zeitgeber=0")
                        .arg(phase == "answer delay" ? -1 : 1));
            return;
        }
        spielen("ansicht=Start; pause=0; stimmen=1; nr=0; personen=0; rangliste=0; zeitgeber=0; s 30");
        QCOMPARE(
            m->fenster.aufrufe.mid(ab).filter(QRegularExpression("^(antworten|tick|ende|ergebnis|frage)")),
            QStringList{});
        // The new game's first question (Space twice: shown, then counted down at once): only
        // handset 7 answers, right.
        spielen(
            "zaehlen; weiter; s 0; weiter; countdown=1; d 1/7/1; s 30; #antworten=1; #ende=1; #ergebnis=1; "
            "#ergebnis Answer1 1/0 100,0,0,0 | =1; rangliste=1; zeitgeber=0");
    }

    // A spreadsheet becomes a question file beside it, which is opened; the lines left out are
    // named. One without a valid question writes and opens nothing.
    void tabelleImportieren()
    {
        const QString ordner = m->einstellungen.ordner();
        QVERIFY(Testdaten::schreiben(ordner + "/klasse.csv",
                                     QByteArray("Frage;A;B;C;D;Lösung;Zeit\nEins;a;b;;;B;5\n"
                                                "kaputt;a;;;;\nZwei;x;y;z;;;\n")));
        m->dialoge.dateien = {ordner + "/klasse.csv"};
        m->ablauf.fragenImportieren();
        const QString xml = ordner + "/klasse.xml";
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), xml);
        QCOMPARE(m->engine.getAnzahlFragen(), 2);
        QCOMPARE(m->fenster.ansicht, SpielFenster::Ansicht::Start);
        QCOMPARE(m->dialoge.hinweise.size(), 1);
        QVERIFY(m->dialoge.hinweise.at(0).text.startsWith("2 Fragen wurden nach"));
        QVERIFY(m->dialoge.hinweise.at(0).informativerText.contains("Zeile 3: "));

        QVERIFY(Testdaten::schreiben(ordner + "/leer.csv", QByteArray("nur;eine\n")));
        m->ablauf.fragenImportieren(ordner + "/leer.csv");
        QVERIFY(!QFile::exists(ordner + "/leer.xml"));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), xml);
        QVERIFY(m->dialoge.hinweise.last().text.startsWith("Aus "));
    }

    // A game a crash interrupted is offered at the next start: Return and Space take it up as it
    // was, only a No confirmed sets it aside. A damaged journal is never thrown away: what can be
    // read is offered, the presenter hears what came back, and the file is kept as it was.
    void journalBeimStart_data()
    {
        QTest::addColumn<QList<bool>>("antworten");
        QTest::addColumn<int>("zeile"); // whose question number loses a bit; -1: all noise; -2: none
        QTest::addColumn<int>("personen");
        QTest::addColumn<bool>("kopieBleibt");
        QTest::addColumn<QString>("bericht"); // empty: nothing restored
        const auto bericht = [](int antworten, bool beschaedigt) {
            return QString("Das unterbrochene Spiel ist wiederhergestellt (Antworten: %1, ausgewertete "
                           "Fragen: 1%2). Weiter mit der Leertaste.")
                .arg(antworten)
                .arg(beschaedigt ? ", unlesbare Zeilen übersprungen: 1" : "");
        };
        QTest::newRow("taken up") << QList<bool>{} << -2 << 3 << false << bericht(3, false);
        QTest::newRow("declined and confirmed") << QList<bool>{false, true} << -2 << 0 << true << QString();
        QTest::newRow("declined, then taken up")
            << QList<bool>{false, false} << -2 << 3 << false << bericht(3, false);
        // The question file is the one in use.
        QTest::newRow("file line damaged") << QList<bool>{} << 1 << 3 << true << bericht(3, true);
        QTest::newRow("all noise") << QList<bool>{} << -1 << 0 << true << QString();
    }
    void journalBeimStart()
    {
        QFETCH(QList<bool>, antworten);
        QFETCH(int, zeile);
        QFETCH(bool, kopieBleibt);
        QFETCH(QString, bericht);
        const QString ordner = m->einstellungen.ordner() + "/journal";
        QList<QByteArray> zeilen;
        {
            // A game interrupted in question 1: lines 0 header, 1 file, 2 F 0, 3 F 1, 4-6 presses (the
            // last a phone's), 7 its evaluation, 8 F 2. The process dies without a normal end; what
            // it handed over had reached the file.
            Druckjournal unterbrochen(m->uhr, ordner);
            m->ablauf.journalSetzen(&unterbrochen);
            m->ablauf.journalStarten();
            spielen(QString("weiter; s 2; d 1/1/1 1/2/3 %1/3/4; s 12; weiter").arg(HandyKlassensatz));
            m->ablauf.journalSetzen(nullptr);
            unterbrochen.leeren();
            zeilen = Testdaten::lesen(unterbrochen.pfad()).split('\n');
        }
        if (zeile >= 0)
            zeilen[zeile][2] = char(zeilen[zeile][2] ^ 0x02);
        else if (zeile == -1)
            zeilen = {QByteArray(500, '\xa5')};
        const QByteArray vorher = zeilen.join('\n');
        Druckjournal journal(m->uhr, ordner);
        QVERIFY(Testdaten::schreiben(journal.pfad(), vorher));
        // The journal names its question file unless that line is damaged.
        if (zeile != 1)
            Einstellungen::setzen(Schluessel::FrageFile, QString());

        spiel neu(m->uhr, m->dialoge);
        QVERIFY(neu.ladeFragen(m_datei).ok());
        FensterRekorder fenster;
        Spielablauf ablauf(neu, fenster, m->dialoge, m->klang, m->uhr);
        ablauf.journalSetzen(&journal);
        m->dialoge.leeren();
        m->dialoge.antworten = antworten;
        ablauf.journalStarten();

        QCOMPARE(m->dialoge.fragen.size() + m->dialoge.hinweise.size(), antworten.isEmpty() ? 1 : 2);
        if (zeile != -1) {
            QVERIFY(m->dialoge.fragen.at(0).jaAlsVorgabe);
            QVERIFY(m->dialoge.fragen.at(0).text.contains("fragen.xml"));
        }
        if (antworten.size() > 1)
            QVERIFY(!m->dialoge.fragen.at(1).jaAlsVorgabe);
        // The copies kept beside the journal, each named with its date.
        const QStringList kopien = QDir(ordner).entryList({"druckjournal-*"});
        QCOMPARE(
            kopien.filter(QRegularExpression("^druckjournal-\\d{4}(-\\d\\d){2}T\\d\\d(-\\d\\d){2}\\.txt$")),
            kopien);
        QCOMPARE(kopien.size(), kopieBleibt ? 1 : 0);
        if (kopieBleibt)
            QCOMPARE(Testdaten::lesen(ordner + QLatin1Char('/') + kopien.first()), vorher);
        if (zeile != -2) {
            const Meldung &meldung = bericht.isEmpty() ? m->dialoge.hinweise.at(0) : m->dialoge.fragen.at(0);
            QVERIFY2((meldung.text + meldung.informativerText).contains(kopien.value(0)),
                     qPrintable(meldung.text));
        }
        QCOMPARE(fenster.meldungen.value(0), bericht);
        QTEST(int(neu.getPersonen().size()), "personen");
        if (bericht.isEmpty()) {
            // A fresh journal for the game that starts now: nothing from before in it.
            QCOMPARE(neu.getAktuelleFrageNr(), 0);
            QVERIFY(!journal.vorhanden());
            return;
        }
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), m_datei);
        QCOMPARE(neu.getAktuelleFrageNr(), 2);
        QCOMPARE(fenster.ansicht, SpielFenster::Ansicht::Rangliste);
        QCOMPARE(fenster.rangliste, neu.getPersonen().size());
        // Every answer that could be read comes back; the phone is itself again, not a handset.
        for (const Person &p : neu.getPersonen()) {
            QCOMPARE(antwort(p.getKlassensatz(), p.getBuzzerNo(), 1), p.findeAntwort(1)->getAntwort());
            QVERIFY(p.getKlassensatz() == 1 ||
                    (p.getKlassensatz() == HandyKlassensatz && p.getBuzzerNo() == 3));
        }
        // The restored results are worth a question before quitting.
        const qsizetype gefragt = m->dialoge.fragen.size();
        ablauf.beendenBestaetigt();
        QCOMPARE(m->dialoge.fragen.size(), gefragt + 1);
        // Space goes on with question 3, and a normal end leaves nothing to offer.
        ablauf.naechsteFrage();
        QCOMPARE(neu.getAktuelleFrageNr(), 3);
        ablauf.beendet();
        QVERIFY(!journal.vorhanden());
    }

    // A file named on the command line is taken as Open takes it, before there is a window; one
    // that does not load changes nothing and says why.
    void startDateiVorgeben_data()
    {
        QTest::addColumn<QString>("inhalt");
        QTest::addColumn<bool>("bereitsGestartet");
        QTest::addColumn<bool>("uebernommen");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("first start") << "gut" << false << true << "";
        QTest::newRow("later start") << "gut" << true << true << "";
        QTest::newRow("beyond the limit") << "zuViele" << true << true << "1000";
        QTest::newRow("missing") << "" << true << false << "start.xml";
        QTest::newRow("missing at first start") << "" << false << false << "start.xml";
        QTest::newRow("no question file") << "<html/>" << true << false << "start.xml";
    }
    void startDateiVorgeben()
    {
        QFETCH(QString, inhalt);
        QFETCH(bool, bereitsGestartet);
        QFETCH(bool, uebernommen);
        QFETCH(QString, meldung);
        if (bereitsGestartet)
            Einstellungen::setzen(Schluessel::BereitsGestartet, "true");
        const QString ordner = m->einstellungen.ordner() + "/Unterricht";
        QVERIFY(QDir().mkpath(ordner));
        const QString pfad = ordner + "/start.xml";
        // A list longer than the menu keeps (as an older version left it) with the file in it: the
        // file comes first, once, and the list is cut to five.
        const QStringList zuletzt{m_datei, "/a.xml", pfad, "/b.xml", "/c.xml", "/d.xml"};
        Einstellungen::setzen(Schluessel::RecentFileList, zuletzt);
        if (inhalt == "gut")
            QVERIFY(Testdaten::schreiben(pfad, dreiFragen()));
        else if (inhalt == "zuViele")
            QVERIFY(Testdaten::schreiben(pfad, QList<Testdaten::Frage>(FrageDatei::MaxFragen + 1)));
        else if (!inhalt.isEmpty())
            QVERIFY(Testdaten::schreiben(pfad, inhalt.toUtf8()));

        const std::optional<Meldung> gesagt = Spielablauf::startDateiVorgeben(pfad);

        QCOMPARE(gesagt.has_value(), !meldung.isEmpty());
        if (gesagt)
            QVERIFY2((gesagt->text + gesagt->informativerText).contains(meldung), qPrintable(gesagt->text));
        QCOMPARE(Einstellungen::text(Schluessel::FrageFile), uebernommen ? pfad : m_datei);
        QCOMPARE(Einstellungen::liste(Schluessel::RecentFileList),
                 uebernommen ? QStringList({pfad, m_datei, "/a.xml", "/b.xml", "/c.xml"}) : zuletzt);
        QCOMPARE(Einstellungen::text(Schluessel::DefaultPfadFrageFileOeffnen),
                 uebernommen ? ordner : QString());
        // The first start is completed with this file, and only by a file that loads.
        QCOMPARE(Einstellungen::ist(Schluessel::BereitsGestartet), bereitsGestartet || uebernommen);
        QCOMPARE(Einstellungen::ist(Schluessel::LoesungAnzeigen), !bereitsGestartet && uebernommen);
        // Nothing is shown before the window exists.
        QVERIFY(m->dialoge.hinweise.isEmpty());
    }

    void journalMittenInDerZweitenRunde()
    {
        eineFrageMit("<Runden>2</Runden>");
        Druckjournal journal(m->uhr, m->einstellungen.ordner());
        m->ablauf.journalSetzen(&journal);
        journal.beginnen(m_datei);
        spielen("s 2; d 1/1/1 1/2/2 1/3/2; s 11; nochmal; s 4; d 1/2/1");
        // The program dies here.
        m->ablauf.journalSetzen(nullptr);
        const SpielStand stand = journal.lesen();
        spiel neu(m->uhr, m->dialoge);
        QVERIFY(Druckjournal::anwenden(stand, neu).ok());
        QCOMPARE(zustand(neu.getPersonen()), "0/1/0/- 1/2/0/- 0/2/0/-");
        QCOMPARE(anteile(neu.getProzenteErsteRunde(1)), "33,67,0,0");
        // Taken up, the journal is written anew and keeps the second round.
        QVERIFY(journal.fortsetzen(stand));
        QCOMPARE(journal.lesen().zweiteRunden, (QList<SpielStand::Auswertung>{{1, 3}}));
    }

    // The editor writes the optional fields only when they differ from their default.
    void editorFelder_data()
    {
        QTest::addColumn<QByteArray>("vorher");
        QTest::addColumn<bool>("zwei");
        QTest::addColumn<QString>("notizen");
        QTest::addColumn<QByteArray>("nachher");
        QTest::newRow("set") << QByteArray() << true << "Erst\nallein"
                             << QByteArray("<Runden>2</Runden><Notizen>Erst\nallein</Notizen>");
        QTest::newRow("cleared") << QByteArray("<Runden>2</Runden><Notizen>n</Notizen>") << false << QString()
                                 << QByteArray();
        QTest::newRow("changed in place")
            << QByteArray("<Notizen>alt</Notizen><Runden> 2 </Runden>") << true << "neu"
            << QByteArray("<Notizen>neu</Notizen><Runden> 2 </Runden>");
    }
    void editorFelder()
    {
        QFETCH(QByteArray, vorher);
        QFETCH(bool, zwei);
        QFETCH(QString, notizen);
        QFETCH(QByteArray, nachher);
        eineFrageMit(nachher, false);
        QVERIFY(FrageDatei::schreiben(m_datei, FrageDatei::lesen(m_datei).fragen));
        const QByteArray erwartet = Testdaten::lesen(m_datei);
        eineFrageMit(vorher, false);
        const QDomElement gelesen = FrageDatei::lesen(m_datei).fragen.value(0);
        FragenEditor editor(&m->dialoge);
        editor.editorInitialisieren();
        auto *box = editor.findChild<QCheckBox *>("checkBox_ZweiRunden");
        auto *feld = editor.findChild<QPlainTextEdit *>("plainTextEdit_Notizen");
        QCOMPARE(box->isChecked(), FrageDatei::runden(gelesen) == 2);
        QCOMPARE(feld->toPlainText(), FrageDatei::notizen(gelesen));
        box->setChecked(zwei);
        feld->setPlainText(notizen);
        editor.findChild<QPushButton *>("pushButton_Fenster_Schliessen")->click();
        QCOMPARE(Testdaten::lesen(m_datei), erwartet);
    }
};

QTEST_MAIN(TestSpielablaufKern)
#include "tst_spielablauf.moc"
