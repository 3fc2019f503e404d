// The game engine on its own, against the hand-driven clock: the countdown's ticks, pauses and
// end; answers, points, shares and the ranking order.
#include "dialogrekorder.h"
#include "rangfolge.h"
#include "spiel.h"
#include "testdaten.h"
#include "testuhr.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Writes down every signal of the engine with the clock time it came at.
class Protokoll final
{
public:
    Protokoll(spiel &s, const TestUhr &uhr)
    {
        QObject::connect(&s, &spiel::timerSlotSpiel, &s, [this, &uhr](int zaehler, int laenge) {
            eintraege << QStringLiteral("%1 tick %2/%3").arg(uhr.jetzt()).arg(zaehler).arg(laenge);
        });
        QObject::connect(&s, &spiel::countdownAbgelaufen, &s,
                         [this, &uhr]() { eintraege << QStringLiteral("%1 ende").arg(uhr.jetzt()); });
        QObject::connect(&s, &spiel::ranglisteAktualisieren, &s,
                         [this, &uhr]() { eintraege << QStringLiteral("%1 rangliste").arg(uhr.jetzt()); });
        QObject::connect(&s, &spiel::richtigeAntwortAnzeigen, &s,
                         [this, &uhr]() { eintraege << QStringLiteral("%1 loesung").arg(uhr.jetzt()); });
    }
    // The entries so far, with times relative to `start`; the record starts afresh.
    QStringList nehmen(qint64 start = 0)
    {
        QStringList genommen = std::exchange(eintraege, {});
        for (QString &e : genommen) {
            const qsizetype blank = e.indexOf(QLatin1Char(' '));
            e = QString::number(e.left(blank).toLongLong() - start) + e.mid(blank);
        }
        return genommen;
    }
    QStringList eintraege;
};

// What a countdown of `zeit` seconds started at 0 sends when nobody interrupts it.
QStringList ungestoert(int zeit)
{
    QStringList erwartet;
    for (int s = 1; s < zeit; ++s)
        erwartet << QStringLiteral("%1 tick %2/%3").arg(s * 1000).arg(zeit - s).arg(zeit);
    const int ende = std::max(zeit, 1) * 1000;
    erwartet << QStringLiteral("%1 ende").arg(ende) << QStringLiteral("%1 rangliste").arg(ende)
             << QStringLiteral("%1 tick %2/%3").arg(ende).arg(std::min(zeit - 1, 0)).arg(zeit)
             << QStringLiteral("%1 loesung").arg(ende + spiel::AnzeigeVerzoegerung);
    return erwartet;
}

QList<uint> geraete(const QList<Person> &personen)
{
    QList<uint> nummern;
    for (const Person &p : personen)
        nummern.append(p.getBuzzerNo());
    return nummern;
}

} // namespace

class TestSpiel final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_ordner;
    DialogRekorder m_dialoge;
    std::unique_ptr<TestUhr> m_uhr;
    std::unique_ptr<spiel> m_spiel;
    std::unique_ptr<Protokoll> m_protokoll;

    void spielMit(const QList<Testdaten::Frage> &fragen)
    {
        const QString pfad = m_ordner.filePath("fragen.xml");
        QVERIFY(Testdaten::schreiben(pfad, fragen));
        m_protokoll.reset();
        m_spiel.reset();
        m_uhr = std::make_unique<TestUhr>();
        m_spiel = std::make_unique<spiel>(*m_uhr, m_dialoge);
        m_protokoll = std::make_unique<Protokoll>(*m_spiel, *m_uhr);
        QVERIFY(m_spiel->ladeFragen(pfad).ok());
    }
    // A game whose questions have the given times, its first question shown.
    void spielMitZeiten(const QStringList &zeiten)
    {
        QList<Testdaten::Frage> fragen(zeiten.size());
        for (qsizetype i = 0; i < zeiten.size(); ++i)
            fragen[i].zeit = zeiten.at(i);
        spielMit(fragen);
        m_spiel->getNaechsteFrage();
    }
    static Testdaten::Frage frage(const QString &loesung, const QString &punkte = "1",
                                  const QStringList &antworten = {"A", "B", "C", "D"})
    {
        return {"Frage", antworten, loesung, "10", punkte, "0", {}};
    }
    // Shows the next question and starts its countdown.
    void naechsteFrageStarten()
    {
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
    }
    void druecken(qint64 nachMs, uint klassensatz, uint buzzer, uint knopf)
    {
        m_uhr->vorspulen(nachMs);
        m_spiel->antwortErfassen(klassensatz, buzzer, knopf);
    }
    // The answer of a handset to a question as the engine holds it.
    std::optional<AntwortDerPerson> antwort(uint klassensatz, uint buzzer, int frageNr) const
    {
        for (const Person &p : m_spiel->getPersonen()) {
            if (p.getKlassensatz() == klassensatz && p.getBuzzerNo() == buzzer && p.findeAntwort(frageNr))
                return *p.findeAntwort(frageNr);
        }
        return std::nullopt;
    }

private slots:
    // Ticks on whole seconds of the countdown, the end with its evaluation, the result two
    // seconds later; then no timer is left. A time of 0 or no number ends after one second.
    void tickenUndEndeZurVollenSekunde_data()
    {
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<int>("sekunden");
        QTest::newRow("3 s") << "3" << 3;
        QTest::newRow("1 s") << "1" << 1;
        QTest::newRow("0 s") << "0" << 0;
        QTest::newRow("no number") << "abc" << 0;
    }
    void tickenUndEndeZurVollenSekunde()
    {
        QFETCH(QString, zeit);
        QFETCH(int, sekunden);
        spielMitZeiten({zeit});
        m_uhr->vorspulen(500);
        m_spiel->qountdownStarten();
        QVERIFY(m_spiel->istCountdownAktiv());
        m_uhr->vorspulen(20'000);
        QCOMPARE(m_protokoll->nehmen(500), ungestoert(sekunden));
        QVERIFY(!m_spiel->istCountdownAktiv());
        QCOMPARE(m_uhr->aktiveZeitgeber(), 0);
    }

    // Pauses of a minute at the given running times: the running time stands still in them, and
    // every tick and the end come at the same running time as without the pauses, however many
    // pauses fell into one second.
    void pausenHaltenDenTakt_data()
    {
        QTest::addColumn<QList<int>>("pausenBei");
        QTest::newRow("1 ms before a tick") << QList<int>{4999};
        QTest::newRow("right after a tick") << QList<int>{5000};
        QTest::newRow("inside a second") << QList<int>{2300};
        QTest::newRow("three in one second") << QList<int>{300, 500, 900};
        QTest::newRow("in two seconds") << QList<int>{1700, 13'001};
    }
    void pausenHaltenDenTakt()
    {
        QFETCH(QList<int>, pausenBei);
        constexpr qint64 Pause = 60'000;
        spielMitZeiten({"15"});
        m_spiel->qountdownStarten();
        for (const int bei : pausenBei) {
            m_uhr->vorspulen(bei - m_spiel->laufzeit());
            m_spiel->fragePausieren();
            QVERIFY(m_spiel->istPausiert());
            const qsizetype vorher = m_protokoll->eintraege.size();
            m_uhr->vorspulen(Pause);
            QCOMPARE(m_spiel->laufzeit(), qint64(bei));
            QCOMPARE(m_protokoll->eintraege.size(), vorher);
            m_spiel->fragePausieren();
            QVERIFY(!m_spiel->istPausiert());
        }
        m_uhr->vorspulen(20'000);

        // Back to running time: each entry less the pauses that ended before it.
        QStringList laufzeiten = m_protokoll->nehmen();
        for (QString &e : laufzeiten) {
            const qsizetype blank = e.indexOf(QLatin1Char(' '));
            qint64 zeit = e.left(blank).toLongLong();
            int vorbei = 0;
            for (const int bei : pausenBei)
                vorbei += zeit - vorbei * Pause > bei ? 1 : 0;
            zeit -= vorbei * Pause;
            e = QString::number(zeit) + e.mid(blank);
        }
        QCOMPARE(laufzeiten, ungestoert(15));
    }

    // End now, running, paused or within the rest of a second after a pause: evaluated at once
    // and once only, the result two seconds later; a second end, a pause after the end or the
    // pending resume change nothing. Leaving the question (as the game flow does it) paused,
    // with the resume pending or its result waiting: nothing of it fires later, and the next
    // question counts down as if it were the first.
    void beendenOderVerlassen_data()
    {
        QTest::addColumn<QString>("zustand");
        QTest::addColumn<bool>("beenden");
        for (const char *zustand : {"running", "paused", "resume pending"})
            QTest::addRow("%s, end now", zustand) << QString(zustand) << true;
        for (const char *zustand : {"paused", "resume pending", "result pending"})
            QTest::addRow("%s, left", zustand) << QString(zustand) << false;
    }
    void beendenOderVerlassen()
    {
        QFETCH(QString, zustand);
        QFETCH(bool, beenden);
        spielMitZeiten({"15", "3"});
        m_spiel->fragePausieren(); // no countdown yet: nothing to pause
        QVERIFY(!m_spiel->istPausiert());
        m_spiel->qountdownStarten();
        m_uhr->vorspulen(zustand == "result pending" ? 15'500 : 2500);
        if (zustand == "paused" || zustand == "resume pending")
            m_spiel->fragePausieren();
        m_uhr->vorspulen(900);
        if (zustand == "resume pending")
            m_spiel->fragePausieren();
        m_uhr->vorspulen(100);
        m_protokoll->nehmen();
        const qint64 start = m_uhr->jetzt();
        if (beenden) {
            m_spiel->countdownSofortBeenden();
            QCOMPARE(m_protokoll->nehmen(start), (QStringList{"0 ende", "0 rangliste"}));
            QVERIFY(!m_spiel->istCountdownAktiv());
            QVERIFY(!m_spiel->istPausiert());
            m_spiel->countdownSofortBeenden();
            m_spiel->fragePausieren();
            m_spiel->fragePausieren();
            m_uhr->vorspulen(20'000);
            QCOMPARE(m_protokoll->nehmen(start), QStringList{"2000 loesung"});
        } else {
            m_spiel->frageAbbrechen();
            QVERIFY(!m_spiel->istCountdownAktiv());
            m_spiel->getNaechsteFrage();
            QVERIFY(!m_spiel->istPausiert());
            m_spiel->qountdownStarten();
            m_uhr->vorspulen(20'000);
            QCOMPARE(m_protokoll->nehmen(start), ungestoert(3));
        }
        QCOMPARE(m_uhr->aktiveZeitgeber(), 0);
    }

    // The last press counts, with the running time of the countdown: a pause does not count.
    void letzterDruckZaehltMitSeinerNettozeit()
    {
        spielMit({frage("Answer2")});
        naechsteFrageStarten();
        druecken(1200, 1, 5, 2);
        m_spiel->fragePausieren();
        m_uhr->vorspulen(30'000);
        m_spiel->fragePausieren();
        druecken(800, 1, 5, 3);
        QVERIFY(antwort(1, 5, 1));
        QCOMPARE(antwort(1, 5, 1)->getAntwort(), 3);
        QCOMPARE(antwort(1, 5, 1)->getAntwortszeit(), 2000.0);
        QCOMPARE(m_spiel->getPersonen().size(), 1);
    }

    // A button of an answer the question does not have is not stored, but its press stamps the
    // time all the same.
    void fehlendeAntwortenWerdenNichtGespeichertAberGestempelt_data()
    {
        QTest::addColumn<QStringList>("antworten");
        QTest::addColumn<uint>("knopf");
        QTest::addColumn<bool>("gespeichert");
        const QStringList vier{"A", "B", "C", "D"}, drei{"A", "B", "C", ""}, zwei{"A", "B", "", ""},
            ohneC{"A", "B", "", "D"};
        QTest::newRow("four answers, D") << vier << 4u << true;
        QTest::newRow("three answers, C") << drei << 3u << true;
        QTest::newRow("three answers, D") << drei << 4u << false;
        QTest::newRow("two answers, C") << zwei << 3u << false;
        QTest::newRow("two answers, D") << zwei << 4u << false;
        QTest::newRow("no C, C") << ohneC << 3u << false;
        QTest::newRow("no C, D") << ohneC << 4u << true;
    }
    void fehlendeAntwortenWerdenNichtGespeichertAberGestempelt()
    {
        QFETCH(QStringList, antworten);
        QFETCH(uint, knopf);
        QFETCH(bool, gespeichert);
        spielMit({frage("Answer2", "1", antworten)});
        naechsteFrageStarten();
        druecken(500, 1, 1, 2);
        druecken(1000, 1, 1, knopf);
        druecken(0, 1, 2, knopf);
        QCOMPARE(antwort(1, 1, 1)->getAntwort(), gespeichert ? int(knopf) : 2);
        QCOMPARE(antwort(1, 1, 1)->getAntwortszeit(), 1500.0);
        QCOMPARE(antwort(1, 2, 1)->getAntwort(), gespeichert ? int(knopf) : 0);
        m_spiel->countdownSofortBeenden();
        // B is right: handset 1 keeps it when the other button is not stored; a handset without a
        // stored button is wrong and not counted in the shares.
        QCOMPARE(geraete(m_spiel->getPersonenRichtig()), (gespeichert ? QList<uint>{} : QList<uint>{1}));
        QCOMPARE(geraete(m_spiel->getPersonenFalsch()), (gespeichert ? QList<uint>{1, 2} : QList<uint>{2}));
        QCOMPARE(m_spiel->getProzenteAntworten(1).at(1), gespeichert ? 0.0 : 100.0);
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
    }

    void punkteFeld_data()
    {
        QTest::addColumn<QString>("punkte");
        QTest::addColumn<int>("erwartet");
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("blanks around 3") << " 3 " << 3;
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

    // A survey has no right or wrong; the shares count stored buttons only, in a survey as in a quiz.
    void umfrageUndProzente()
    {
        spielMit({frage("NoAnswer"), frage("Answer1")});
        naechsteFrageStarten();
        QCOMPARE(m_spiel->getProzenteAntworten(1), (QList<double>{0.0, 0.0, 0.0, 0.0}));
        druecken(1500, 1, 1, 1);
        druecken(500, 1, 2, 2);
        druecken(500, 1, 3, 2);
        QCOMPARE(antwort(1, 1, 1)->getAntwortszeit(), 0.0);
        m_spiel->countdownSofortBeenden();
        QVERIFY(m_spiel->getPersonenRichtig().isEmpty());
        QVERIFY(m_spiel->getPersonenFalsch().isEmpty());
        QVERIFY(!antwort(1, 1, 1)->istAusgewertet());
        QCOMPARE(m_spiel->getProzenteAntworten(1), (QList<double>{100.0 / 3, 200.0 / 3, 0.0, 0.0}));

        naechsteFrageStarten();
        const QList<uint> knoepfe{1, 1, 2, 4, 7}; // the 7 is stored as it is, never counted
        for (uint i = 0; i < 5; ++i)
            druecken(10, 1, 11 + i, knoepfe.at(i));
        QCOMPARE(m_spiel->getProzenteAntworten(2), (QList<double>{50.0, 25.0, 0.0, 25.0}));
        m_spiel->countdownSofortBeenden();
        QCOMPARE(m_spiel->getPersonenFalsch().size(), 3);
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

    // Participants equal in points and time keep the order of their first press, however many of
    // them there are (points and time themselves: the ranking page's test).
    void rangfolge_data()
    {
        QTest::addColumn<QList<int>>("punkte"); // of handsets 1, 2, … in the order of first press
        QTest::addColumn<QList<uint>>("rang");
        // Every third one point ahead: those first, each group in the order of pressing.
        QList<int> gleichePunkte(24, 1), gruppenPunkte(24, 1);
        QList<uint> gedrueckt, vorn, hinten;
        for (uint i = 1; i <= 24; ++i) {
            gedrueckt << i;
            (i % 3 == 0 ? vorn : hinten) << i;
            gruppenPunkte[int(i) - 1] = i % 3 == 0 ? 2 : 1;
        }
        QTest::newRow("24 all equal") << gleichePunkte << gedrueckt;
        QTest::newRow("24 in two groups") << gruppenPunkte << vorn + hinten;
    }
    void rangfolge()
    {
        QFETCH(QList<int>, punkte);
        QList<Person> personen;
        for (qsizetype i = 0; i < punkte.size(); ++i) {
            Person p(uint(i + 1), 1);
            AntwortDerPerson &a = p.getAntwortDerFrage(1);
            a.setPunkte(punkte.at(i));
            a.setAntwortszeit(1000);
            a.setAusgewertet(true);
            personen << p;
        }
        QTEST(geraete(Rangfolge::sortiert(personen)), "rang");
    }
};

QTEST_GUILESS_MAIN(TestSpiel)
#include "tst_spiel.moc"
