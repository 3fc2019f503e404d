#include "dialogrekorder.h"
#include "spiel.h"
#include "testdaten.h"
#include "testuhr.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const Person *finde(const QList<Person> &personen, uint klassensatz, uint buzzerNo)
{
    for (const Person &p : personen) {
        if (p.getKlassensatz() == klassensatz && p.getBuzzerNo() == buzzerNo)
            return &p;
    }
    return nullptr;
}

QList<uint> geraete(const QList<Person> &personen)
{
    QList<uint> nummern;
    for (const Person &p : personen)
        nummern.append(p.getBuzzerNo());
    return nummern;
}

} // namespace

class TestAntworten final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_ordner;
    DialogRekorder m_dialoge;
    TestUhr m_uhr;
    std::unique_ptr<spiel> m_spiel;

    void spielMit(const QList<Testdaten::Frage> &fragen)
    {
        const QString pfad = m_ordner.filePath("fragen.xml");
        Testdaten::schreiben(pfad, fragen);
        m_spiel = std::make_unique<spiel>(m_uhr, m_dialoge);
        QVERIFY(m_spiel->ladeFragen(pfad).ok());
    }
    static Testdaten::Frage frage(const QString &loesung, const QString &punkte = QStringLiteral("1"),
                                  const QStringList &antworten = {"A", "B", "C", "D"})
    {
        Testdaten::Frage f;
        f.loesung = loesung;
        f.punkte = punkte;
        f.antworten = antworten;
        f.zeit = QStringLiteral("10");
        return f;
    }
    // Shows the next question and starts its countdown.
    void naechsteFrageStarten()
    {
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
    }
    void druecken(qint64 nachMs, uint klassensatz, uint buzzer, uint knopf)
    {
        m_uhr.vorspulen(nachMs);
        m_spiel->antwortErfassen(klassensatz, buzzer, knopf);
    }
    const AntwortDerPerson *antwort(uint klassensatz, uint buzzer, int frageNr)
    {
        const QList<Person> personen = m_spiel->getPersonen();
        const Person *p = finde(personen, klassensatz, buzzer);
        if (!p)
            return nullptr;
        static QList<AntwortDerPerson> kopie;
        kopie = p->getAntworten();
        for (const AntwortDerPerson &a : kopie) {
            if (a.getFrageNr() == frageNr)
                return &a;
        }
        return nullptr;
    }

private slots:
    void letzterDruckZaehltMitSeinerZeit()
    {
        spielMit({frage("Answer2")});
        naechsteFrageStarten();
        druecken(1200, 1, 5, 2);
        druecken(800, 1, 5, 3);
        const AntwortDerPerson *a = antwort(1, 5, 1);
        QVERIFY(a);
        QCOMPARE(a->getAntwort(), 3);
        QCOMPARE(a->getAntwortszeit(), 2000.0);
        QCOMPARE(m_spiel->getPersonen().size(), 1);
    }

    void pauseZaehltNichtZurAntwortzeit()
    {
        spielMit({frage("Answer1")});
        naechsteFrageStarten();
        m_uhr.vorspulen(1500);
        m_spiel->fragePausieren();
        m_uhr.vorspulen(30'000);
        m_spiel->fragePausieren();
        druecken(250, 1, 9, 1);
        QCOMPARE(antwort(1, 9, 1)->getAntwortszeit(), 1750.0);
    }

    void fehlendeAntwortenWerdenNichtGespeichertAberGestempelt()
    {
        spielMit({frage("Answer2", "1", {"A", "B", "C", ""}), frage("Answer1", "1", {"A", "B", "", ""})});
        naechsteFrageStarten();
        druecken(1000, 1, 1, 4); // D on a three-answer question only
        druecken(0, 1, 2, 2);
        druecken(500, 1, 2, 4); // B stays, the time is the D press's
        QCOMPARE(antwort(1, 1, 1)->getAntwort(), 0);
        QCOMPARE(antwort(1, 1, 1)->getAntwortszeit(), 1000.0);
        QCOMPARE(antwort(1, 2, 1)->getAntwort(), 2);
        QCOMPARE(antwort(1, 2, 1)->getAntwortszeit(), 1500.0);

        m_spiel->countdownSofortBeenden();
        QCOMPARE(geraete(m_spiel->getPersonenFalsch()), QList<uint>{1});
        QCOMPARE(geraete(m_spiel->getPersonenRichtig()), QList<uint>{2});
        QCOMPARE(m_spiel->getProzenteAntworten(1), (QList<double>{0.0, 100.0, 0.0, 0.0}));

        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        druecken(100, 1, 1, 3);
        druecken(100, 1, 3, 4);
        QCOMPARE(antwort(1, 1, 2)->getAntwort(), 0);
        QCOMPARE(antwort(1, 3, 2)->getAntwort(), 0);
    }

    void auswertungPunkteUndListen()
    {
        spielMit({frage("Answer3", "3")});
        naechsteFrageStarten();
        druecken(1000, 1, 10, 3);
        druecken(1000, 1, 11, 1);
        druecken(1000, 2, 10, 3); // same handset number, other class set: another participant
        QSignalSpy rangliste(m_spiel.get(), &spiel::ranglisteAktualisieren);
        m_spiel->countdownSofortBeenden();
        QCOMPARE(rangliste.count(), 1);

        QCOMPARE(m_spiel->getPersonen().size(), 3);
        QCOMPARE(geraete(m_spiel->getPersonenRichtig()), (QList<uint>{10, 10}));
        QCOMPARE(geraete(m_spiel->getPersonenFalsch()), QList<uint>{11});
        QCOMPARE(antwort(1, 10, 1)->getPunkte(), 3);
        QCOMPARE(antwort(2, 10, 1)->getPunkte(), 3);
        QCOMPARE(antwort(1, 11, 1)->getPunkte(), 0);
        QVERIFY(antwort(1, 11, 1)->istAusgewertet());
        // The copies in the lists were taken before the mark.
        QVERIFY(!m_spiel->getPersonenRichtig().at(0).getAntworten().at(0).istAusgewertet());

        Person p = *finde(m_spiel->getPersonen(), 1, 10);
        p.punkteBerechnen();
        p.antwortszeitBerechnen();
        QCOMPARE(p.getPunkte(), 3);
        QCOMPARE(p.getAntwortszeit(), 1000.0);
    }

    void punkteFeld_data()
    {
        QTest::addColumn<QString>("punkte");
        QTest::addColumn<int>("erwartet");
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("0 gives 1") << "0" << 1;
        QTest::newRow("empty gives 1") << "" << 1;
        QTest::newRow("text gives 1") << "viel" << 1;
        QTest::newRow("negative stays") << "-2" << -2;
    }
    void punkteFeld()
    {
        QFETCH(QString, punkte);
        QFETCH(int, erwartet);
        spielMit({frage("Answer1", punkte)});
        naechsteFrageStarten();
        druecken(100, 1, 1, 1);
        druecken(100, 1, 2, 2);
        m_spiel->countdownSofortBeenden();
        QCOMPARE(antwort(1, 1, 1)->getPunkte(), erwartet);
        QCOMPARE(antwort(1, 2, 1)->getPunkte(), 0);
    }

    void loesungOhneGueltigeAntwortMachtNiemandenRichtig()
    {
        // Only the exact names mark an answer; "answer1" or an empty solution mark none, and a
        // participant without a stored button can never match.
        for (const QString loesung : {"answer1", "", "Answer9", "Answer"}) {
            spielMit({frage(loesung, "1", {"A", "B", "C", ""})});
            naechsteFrageStarten();
            druecken(100, 1, 1, 1);
            druecken(100, 1, 2, 4); // not stored
            m_spiel->countdownSofortBeenden();
            QVERIFY2(m_spiel->getPersonenRichtig().isEmpty(), qPrintable(loesung));
            QCOMPARE(m_spiel->getPersonenFalsch().size(), 2);
        }
    }

    void umfrage()
    {
        spielMit({frage("NoAnswer")});
        naechsteFrageStarten();
        druecken(1500, 1, 1, 1);
        druecken(500, 1, 2, 2);
        druecken(500, 1, 3, 2);
        QCOMPARE(antwort(1, 1, 1)->getAntwortszeit(), 0.0);
        m_spiel->countdownSofortBeenden();
        QVERIFY(m_spiel->getPersonenRichtig().isEmpty());
        QVERIFY(m_spiel->getPersonenFalsch().isEmpty());
        QVERIFY(!antwort(1, 1, 1)->istAusgewertet());
        const QList<double> prozente = m_spiel->getProzenteAntworten(1);
        QCOMPARE(prozente.at(0), 100.0 / 3);
        QCOMPARE(prozente.at(1), 200.0 / 3);
    }

    void prozente()
    {
        spielMit({frage("Answer1"), frage("Answer1")});
        naechsteFrageStarten();
        QCOMPARE(m_spiel->getProzenteAntworten(1), (QList<double>{0.0, 0.0, 0.0, 0.0}));
        druecken(10, 1, 1, 1);
        druecken(10, 1, 2, 1);
        druecken(10, 1, 3, 2);
        druecken(10, 1, 4, 4);
        druecken(10, 1, 5, 7); // stored as it is, never counted
        QCOMPARE(m_spiel->getProzenteAntworten(1), (QList<double>{50.0, 25.0, 0.0, 25.0}));
        m_spiel->countdownSofortBeenden();
        QCOMPARE(m_spiel->getPersonenFalsch().size(), 3);
        QCOMPARE(m_spiel->getProzenteAntworten(2), (QList<double>{0.0, 0.0, 0.0, 0.0}));
    }

    void startbildschirmMeldungenUndGesamtwerte()
    {
        spielMit({frage("Answer1", "2"), frage("Answer2", "1"), frage("NoAnswer")});
        // Before the first question a press registers the handset without an answer time.
        m_spiel->antwortErfassen(1, 7, 3);
        m_spiel->antwortErfassen(1, 8, 1);
        QCOMPARE(m_spiel->getPersonen().size(), 2);
        QCOMPARE(antwort(1, 7, 0)->getAntwort(), 3);
        QCOMPARE(antwort(1, 7, 0)->getAntwortszeit(), AntwortDerPerson::KeineZeit);

        naechsteFrageStarten();
        druecken(1000, 1, 7, 1);
        m_spiel->countdownSofortBeenden();
        naechsteFrageStarten();
        druecken(2500, 1, 7, 3);
        druecken(0, 1, 9, 2);
        m_spiel->countdownSofortBeenden();
        naechsteFrageStarten();
        druecken(700, 1, 7, 2);
        m_spiel->countdownSofortBeenden();

        QList<Person> personen = m_spiel->getPersonen();
        QCOMPARE(geraete(personen), (QList<uint>{7, 8, 9}));
        for (Person &p : personen) {
            p.punkteBerechnen();
            p.antwortszeitBerechnen();
        }
        QCOMPARE(personen.at(0).getPunkte(), 2);
        QCOMPARE(personen.at(0).getAntwortszeit(), 3500.0); // right and wrong count, survey not
        QCOMPARE(personen.at(1).getPunkte(), 0);
        QCOMPARE(personen.at(1).getAntwortszeit(), 0.0);
        QCOMPARE(personen.at(2).getPunkte(), 1);
        QCOMPARE(personen.at(2).getAntwortszeit(), 2500.0);
    }

    void zurueckUndNochmalUeberschreibt()
    {
        spielMit({frage("Answer1"), frage("Answer2")});
        naechsteFrageStarten();
        druecken(500, 1, 1, 1);
        druecken(500, 1, 2, 2);
        m_spiel->countdownSofortBeenden();
        m_spiel->getVorherigeFrage();
        QVERIFY(m_spiel->getPersonenRichtig().isEmpty());
        m_spiel->qountdownStarten();
        druecken(300, 1, 2, 1);
        m_spiel->countdownSofortBeenden();
        // Handset 1 did not press again: its earlier answer is evaluated again.
        QCOMPARE(geraete(m_spiel->getPersonenRichtig()), (QList<uint>{1, 2}));
        QCOMPARE(antwort(1, 2, 1)->getAntwortszeit(), 300.0);
        QCOMPARE(antwort(1, 1, 1)->getAntwortszeit(), 500.0);
    }

    void zuruecksetzenLeertAlles()
    {
        spielMit({frage("Answer1")});
        naechsteFrageStarten();
        druecken(500, 1, 1, 1);
        m_spiel->countdownSofortBeenden();
        m_spiel->spielZuruecksetzen();
        QVERIFY(m_spiel->getPersonen().isEmpty());
        QVERIFY(m_spiel->getPersonenRichtig().isEmpty());
        m_spiel->antwortErfassen(1, 1, 2);
        QCOMPARE(m_spiel->getPersonen().size(), 1);
    }

    void grosseHandsetNummern()
    {
        spielMit({frage("Answer1")});
        naechsteFrageStarten();
        druecken(10, 65535, 255, 1);
        druecken(10, 0, 128, 1);
        QVERIFY(finde(m_spiel->getPersonen(), 65535, 255));
        QVERIFY(finde(m_spiel->getPersonen(), 0, 128));
    }
};

QTEST_GUILESS_MAIN(TestAntworten)
#include "tst_antworten.moc"
