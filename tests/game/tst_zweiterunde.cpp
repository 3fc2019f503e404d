// Voting again after discussion: the game flow headless with the hand-driven clock, the press
// journal in the middle of a second round, and the editor's two optional question fields.
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

// Records the results; the rest of the window does not matter here.
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

} // namespace

class TestZweiteRunde final : public QObject
{
    Q_OBJECT

private:
    TestEinstellungen m_einstellungen;
    DialogRekorder m_dialoge;
    KlangRekorder m_klang;
    std::unique_ptr<TestUhr> m_uhr;
    std::unique_ptr<Fenster> m_fenster;
    std::unique_ptr<spiel> m_spiel;
    std::unique_ptr<Spielablauf> m_ablauf;

    QString datei(const QByteArray &felder) const
    {
        const QString pfad = m_einstellungen.ordner() + "/fragen.xml";
        Testdaten::Frage frage{"Eins", {"A", "B", "C", "D"}, "Answer1", "10", "3", "1", {}};
        Testdaten::schreiben(pfad,
                             Testdaten::dokument({frage}).replace("</Question>", felder + "</Question>"));
        return pfad;
    }
    void laden(int runden)
    {
        const QString pfad = datei(runden == 2 ? "<Runden>2</Runden>" : "");
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
        QVERIFY(m_spiel->ladeFragen(pfad).ok());
        m_ablauf->templateAnfangen();
    }
    // After the answer delay (1 s), at `nach` ms into the countdown, the presses of handsets 1, 2
    // and 3 (button 0: no press); then the countdown's end and its result. While the countdown
    // runs, the question cannot be asked again.
    void runde(int nach, std::array<uint, 3> knoepfe)
    {
        QVERIFY(!m_ablauf->nochmalAbstimmenMoeglich());
        m_uhr->vorspulen(1000 + nach);
        for (uint h = 1; h <= 3; ++h) {
            if (knoepfe[h - 1])
                m_ablauf->druckEmpfangen(1, h, knoepfe[h - 1]);
        }
        QVERIFY(!m_ablauf->nochmalAbstimmenMoeglich());
        m_ablauf->nochmalAbstimmen();
        m_uhr->vorspulen(10000 - nach + spiel::AnzeigeVerzoegerung);
    }

private slots:
    void init()
    {
        m_uhr = std::make_unique<TestUhr>();
        m_fenster = std::make_unique<Fenster>();
        m_spiel = std::make_unique<spiel>(*m_uhr, m_dialoge);
        m_ablauf = std::make_unique<Spielablauf>(*m_spiel, *m_fenster, m_dialoge, m_klang, *m_uhr);
    }
    void cleanup()
    {
        m_ablauf.reset();
        m_spiel.reset();
    }

    void ablauf_data()
    {
        QTest::addColumn<int>("runden");
        QTest::addColumn<bool>("nochmal");
        QTest::addColumn<QString>("erstes");
        QTest::addColumn<QString>("stand");
        const QString nachZweiter = "2/1/0/3000 1/2/3/3000 0/2/0/-";
        // After the first round of a two-round question the class discusses without the mark.
        QTest::newRow("two rounds") << 2 << true << "NoAnswer 0/0 33,67,0,0 | " << nachZweiter;
        QTest::newRow("one round, voted again") << 1 << true << "Answer1 1/2 33,67,0,0 | " << nachZweiter;
        // Going on without the second round: the first counts.
        QTest::newRow("two rounds, not voted again") << 2 << false << "NoAnswer 0/0 33,67,0,0 | "
                                                     << "1/0/3/1000 2/0/0/1000 2/0/0/1000";
        QTest::newRow("one round") << 1 << false << "Answer1 1/2 33,67,0,0 | "
                                   << "1/0/3/1000 2/0/0/1000 2/0/0/1000";
    }
    void ablauf()
    {
        QFETCH(int, runden);
        QFETCH(bool, nochmal);
        QFETCH(QString, erstes);
        QFETCH(QString, stand);
        const QString zweites = "Answer1 1/1 50,50,0,0 | 33,67,0,0";
        laden(runden);
        QVERIFY(!m_ablauf->nochmalAbstimmenMoeglich());
        m_ablauf->naechsteFrage();
        runde(1000, {1, 2, 2});
        QCOMPARE(m_fenster->fragen, 1);
        QCOMPARE(m_fenster->ergebnisse, QStringList{erstes});
        QVERIFY(m_ablauf->nochmalAbstimmenMoeglich());
        if (nochmal) {
            m_ablauf->nochmalAbstimmen();
            QCOMPARE(m_fenster->fragen, 2);
            // The countdown starts from the beginning; handset 3 does not vote again.
            runde(3000, {2, 1, 0});
            QCOMPARE(m_fenster->ergebnisse.value(1), zweites);
            QVERIFY(!m_ablauf->nochmalAbstimmenMoeglich());
        }
        QCOMPARE(m_fenster->ergebnisse.size(), nochmal ? 2 : 1);
        QCOMPARE(zustand(m_spiel->getPersonen()), stand);
        QCOMPARE(m_spiel->getProzenteErsteRunde(1).isEmpty(), !nochmal);
        m_ablauf->ranglisteZeigen();
        QVERIFY(!m_ablauf->nochmalAbstimmenMoeglich());
    }

    void journalMittenInDerZweitenRunde()
    {
        laden(2);
        Druckjournal journal(*m_uhr, m_einstellungen.ordner());
        m_ablauf->journalSetzen(&journal);
        m_ablauf->journalStarten();
        m_ablauf->naechsteFrage();
        runde(1000, {1, 2, 2});
        m_ablauf->nochmalAbstimmen();
        m_uhr->vorspulen(1000 + 3000);
        m_ablauf->druckEmpfangen(1, 2, 1);
        // The program dies here.
        m_ablauf->journalSetzen(nullptr);
        const SpielStand stand = journal.lesen();
        spiel neu(*m_uhr, m_dialoge);
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
        const QString pfad = datei(nachher);
        QVERIFY(FrageDatei::schreiben(pfad, FrageDatei::lesen(pfad).fragen));
        const QByteArray erwartet = Testdaten::lesen(pfad);
        datei(vorher);
        const QDomElement gelesen = FrageDatei::lesen(pfad).fragen.value(0);
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
        FragenEditor editor(&m_dialoge);
        editor.show();
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
