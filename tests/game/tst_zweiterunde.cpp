// Voting again after discussion: the game flow headless on the hand-driven clock, the press
// journal in the middle of a second round, the editor's two optional question fields.
#include "dialogrekorder.h"
#include "druckjournal.h"
#include "einstellungen.h"
#include "fragedatei.h"
#include "frageneditor.h"
#include "klangrekorder.h"
#include "schluessel.h"
#include "spiel.h"
#include "spielablauf.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "testuhr.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QString anteile(const QList<double> &prozente)
{
    QStringList teile;
    for (const double p : prozente)
        teile << QString::number(qRound(p));
    return teile.join(',');
}

// Per participant: answer/first round's answer/points/time (- unevaluated).
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

// Records the results and how often the question was shown.
class Fenster final : public SpielFenster
{
public:
    void richtigeAntwortAnzeigen(const QList<Person> &richtig, const QList<Person> &falsch,
                                 const QString &loesung, const QList<double> &prozente,
                                 const QList<double> &ersteRunde) override
    {
        ergebnisse << QString("%1 %2/%3 ").arg(loesung).arg(richtig.size()).arg(falsch.size()) +
                          anteile(prozente) + " | " + anteile(ersteRunde);
    }
    void frageAnzeigen(const QDomElement &, int) override { ++fragen; }
    void ansichtZeigen(Ansicht) override {}
    void frageNrAnzeigen(const QString &) override {}
    void dateiAnzeigen(const QString &, const QString &) override {}
    void statusMeldung(const QString &) override {}
    void zuletztGeoeffnetAktualisieren() override {}
    bool templateErzeugen(const QString &) override { return true; }
    void antwortenAnzeigen(const QDomElement &) override {}
    void countdownAnzeigen(int, int) override {}
    void countdownAbgelaufenAnzeigen() override {}
    void pauseAnzeigen(bool) override {}
    void druckAnzeigen(uint, uint, uint) override {}
    void startscreenZuruecksetzen(const QString &) override {}
    void ranglisteAnzeigen(const QList<Person> &, int, int) override {}
    void goToSchliessen() override {}
    void empfaengerOeffnen() override {}

    QStringList ergebnisse;
    int fragen = 0;
};

// One question file: a question of 10 s after an answer delay of 1 s, A right for 3 points.
QString datei(const QString &ordner, const QByteArray &felder)
{
    const Testdaten::Frage frage{"Eins", {"A", "B", "C", "D"}, "Answer1", "10", "3", "1", {}};
    const QString pfad = ordner + "/fragen.xml";
    Testdaten::schreiben(pfad, Testdaten::dokument({frage}).replace("</Question>", felder + "</Question>"));
    return pfad;
}

// A game of that question, headless.
struct Spiel
{
    Spiel(const QString &ordner, int runden)
    {
        const QString pfad = datei(ordner, runden == 2 ? "<Runden>2</Runden>" : "");
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
        engine.ladeFragen(pfad);
        ablauf.templateAnfangen();
        ablauf.naechsteFrage();
    }
    // At `nach` ms into the countdown handsets 1 to 3 press (0: no press); then the end and the
    // result. While the countdown runs, the question cannot be asked again.
    void runde(int nach, std::array<uint, 3> knoepfe)
    {
        uhr.vorspulen(1000 + nach);
        for (uint h = 1; h <= 3; ++h) {
            if (knoepfe[h - 1])
                ablauf.druckEmpfangen(1, h, knoepfe[h - 1]);
        }
        QVERIFY(!ablauf.nochmalAbstimmenMoeglich());
        ablauf.nochmalAbstimmen();
        uhr.vorspulen(10000 - nach + spiel::AnzeigeVerzoegerung);
    }

    TestUhr uhr;
    DialogRekorder dialoge;
    KlangRekorder klang;
    Fenster fenster;
    spiel engine{uhr, dialoge};
    Spielablauf ablauf{engine, fenster, dialoge, klang, uhr};
};

} // namespace

class TestZweiteRunde final : public QObject
{
    Q_OBJECT

    TestEinstellungen m_einstellungen;

private slots:
    void ablauf_data()
    {
        QTest::addColumn<int>("runden");
        QTest::addColumn<bool>("nochmal");
        QTest::addColumn<QString>("erstes");
        QTest::addColumn<QString>("stand");
        const QString nachZweiter = "1/1/3/500 1/2/3/500 0/2/0/-"; // and gone back to
        const QString nachErster = "1/0/3/1000 2/0/0/1000 2/0/0/1000";
        // After the first round of a two-round question the class discusses without the mark.
        QTest::newRow("two rounds") << 2 << true << "NoAnswer 0/0 33,67,0,0 | " << nachZweiter;
        QTest::newRow("one round, voted again") << 1 << true << "Answer1 1/2 33,67,0,0 | " << nachZweiter;
        // Going on without the second round: the first counts.
        QTest::newRow("two rounds, not again") << 2 << false << "NoAnswer 0/0 33,67,0,0 | " << nachErster;
        QTest::newRow("one round") << 1 << false << "Answer1 1/2 33,67,0,0 | " << nachErster;
    }
    void ablauf()
    {
        QFETCH(int, runden);
        QFETCH(bool, nochmal);
        QFETCH(QString, erstes);
        Spiel s(m_einstellungen.ordner(), runden);
        s.runde(1000, {1, 2, 2});
        QVERIFY(s.ablauf.nochmalAbstimmenMoeglich());
        QStringList ergebnisse{erstes};
        if (nochmal) {
            s.ablauf.nochmalAbstimmen();
            // The countdown starts from the beginning; handset 3 does not vote again.
            s.runde(3000, {2, 1, 0});
            ergebnisse << "Answer1 1/1 50,50,0,0 | 33,67,0,0";
            QVERIFY(!s.ablauf.nochmalAbstimmenMoeglich());
            // Gone back to, it is asked as its second round: marked, its first round kept.
            s.ablauf.goToFrage(1);
            s.runde(500, {1, 1, 0});
            ergebnisse << "Answer1 2/0 100,0,0,0 | 33,67,0,0";
            QVERIFY(!s.ablauf.nochmalAbstimmenMoeglich());
        }
        QCOMPARE(s.fenster.ergebnisse, ergebnisse);
        QCOMPARE(s.fenster.fragen, nochmal ? 3 : 1);
        QTEST(zustand(s.engine.getPersonen()), "stand");
        QCOMPARE(s.engine.getProzenteErsteRunde(1).isEmpty(), !nochmal);
        s.ablauf.ranglisteZeigen();
        QVERIFY(!s.ablauf.nochmalAbstimmenMoeglich());
    }

    void journalMittenInDerZweitenRunde()
    {
        Spiel s(m_einstellungen.ordner(), 2);
        Druckjournal journal(s.uhr, m_einstellungen.ordner());
        s.ablauf.journalSetzen(&journal);
        journal.beginnen(Einstellungen::text(Schluessel::FrageFile));
        s.runde(1000, {1, 2, 2});
        s.ablauf.nochmalAbstimmen();
        s.uhr.vorspulen(1000 + 3000);
        s.ablauf.druckEmpfangen(1, 2, 1);
        // The program dies here.
        s.ablauf.journalSetzen(nullptr);
        const SpielStand stand = journal.lesen();
        spiel neu(s.uhr, s.dialoge);
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
        const QString pfad = datei(m_einstellungen.ordner(), nachher);
        QVERIFY(FrageDatei::schreiben(pfad, FrageDatei::lesen(pfad).fragen));
        const QByteArray erwartet = Testdaten::lesen(pfad);
        datei(m_einstellungen.ordner(), vorher);
        const QDomElement gelesen = FrageDatei::lesen(pfad).fragen.value(0);
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
        DialogRekorder dialoge;
        FragenEditor editor(&dialoge);
        editor.editorInitialisieren();
        auto *box = editor.findChild<QCheckBox *>("checkBox_ZweiRunden");
        auto *feld = editor.findChild<QPlainTextEdit *>("plainTextEdit_Notizen");
        QCOMPARE(box->isChecked(), FrageDatei::runden(gelesen) == 2);
        QCOMPARE(feld->toPlainText(), FrageDatei::notizen(gelesen));
        box->setChecked(zwei);
        feld->setPlainText(notizen);
        editor.findChild<QPushButton *>("pushButton_Fenster_Schliessen")->click();
        QCOMPARE(Testdaten::lesen(pfad), erwartet);
    }
};

QTEST_MAIN(TestZweiteRunde)
#include "tst_zweiterunde.moc"
