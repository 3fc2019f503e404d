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
    // The shares of the buttons A to D in whole percent.
    QString anteile(int frageNr) const
    {
        QStringList teile;
        for (const double p : m_spiel->getProzenteAntworten(frageNr))
            teile << QString::number(qRound(p));
        return teile.join(QLatin1Char(','));
    }
    // Each participant in the order of the first press: set/handset=button@time:points, * once
    // evaluated; with `listen` the right ones, the wrong ones and the shares after them.
    QString ergebnis(int frageNr, bool listen = true) const
    {
        QStringList stand;
        for (const Person &p : m_spiel->getPersonen()) {
            const AntwortDerPerson *a = p.findeAntwort(frageNr);
            stand << QStringLiteral("%1/%2=%3@%4:%5%6")
                         .arg(p.getKlassensatz())
                         .arg(p.getBuzzerNo())
                         .arg(a->getAntwort())
                         .arg(a->getAntwortszeit())
                         .arg(a->getPunkte())
                         .arg(a->istAusgewertet() ? "*" : "");
        }
        if (!listen)
            return stand.join(QLatin1Char(' '));
        stand << "| R";
        for (const Person &p : m_spiel->getPersonenRichtig())
            stand << QString::number(p.getBuzzerNo());
        stand << "| F";
        for (const Person &p : m_spiel->getPersonenFalsch())
            stand << QString::number(p.getBuzzerNo());
        return stand.join(QLatin1Char(' ')) + " | " + anteile(frageNr);
    }

private slots:
    // Ticks on whole seconds of the countdown, the end with its evaluation, the result two
    // seconds later; then no timer is left. A time of 0 or no number ends after one second.
    // Pauses of a minute at the given running times: the running time stands still in them, and
    // every tick and the end come at the same running time as without the pauses, however many
    // pauses fell into one second.
    void takt_data()
    {
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<int>("sekunden");
        QTest::addColumn<QList<int>>("pausenBei");
        QTest::newRow("3 s") << "3" << 3 << QList<int>{};
        QTest::newRow("1 s") << "1" << 1 << QList<int>{};
        QTest::newRow("0 s") << "0" << 0 << QList<int>{};
        QTest::newRow("no number") << "abc" << 0 << QList<int>{};
        QTest::newRow("paused 1 ms before a tick") << "15" << 15 << QList<int>{4999};
        QTest::newRow("paused right after a tick") << "15" << 15 << QList<int>{5000};
        QTest::newRow("paused inside a second") << "15" << 15 << QList<int>{2300};
        QTest::newRow("paused three times in one second") << "15" << 15 << QList<int>{300, 500, 900};
        QTest::newRow("paused in two seconds") << "15" << 15 << QList<int>{1700, 13'001};
    }
    void takt()
    {
        QFETCH(QString, zeit);
        QFETCH(int, sekunden);
        QFETCH(QList<int>, pausenBei);
        constexpr qint64 Pause = 60'000;
        spielMitZeiten({zeit});
        m_uhr->vorspulen(500);
        m_spiel->qountdownStarten();
        QVERIFY(m_spiel->istCountdownAktiv());
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
        QStringList laufzeiten = m_protokoll->nehmen(500);
        for (QString &e : laufzeiten) {
            const qsizetype blank = e.indexOf(QLatin1Char(' '));
            qint64 zeit = e.left(blank).toLongLong();
            int vorbei = 0;
            for (const int bei : pausenBei)
                vorbei += zeit - vorbei * Pause > bei ? 1 : 0;
            zeit -= vorbei * Pause;
            e = QString::number(zeit) + e.mid(blank);
        }
        QCOMPARE(laufzeiten, ungestoert(sekunden));
        QVERIFY(!m_spiel->istCountdownAktiv());
        QCOMPARE(m_uhr->aktiveZeitgeber(), 0);
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

    // One question, its presses as "handset:button" of class set 1 or "set/handset:button", each
    // 100 ms after the last, then the end. The outcome per participant in the order of the first
    // press, set/handset=button@time:points, * once evaluated; then the right ones, the wrong ones
    // and the shares. "P" is a pause of half a minute: the time is the countdown's running time,
    // and the last press counts. "Z" ends the question, goes back to it and asks it again: whoever
    // does not press again keeps the answer before. A button of an answer the question does not have is not
    // stored, but its press stamps the time all the same; only the exact names of an answer mark it right; a
    // survey has no right or wrong, and the shares count stored buttons only.
    void auswertung_data()
    {
        QTest::addColumn<QString>("loesung");
        QTest::addColumn<QString>("punkte");
        QTest::addColumn<QStringList>("antworten");
        QTest::addColumn<QString>("druecke");
        QTest::addColumn<QString>("ergebnis");
        const QStringList vier{"A", "B", "C", "D"}, drei{"A", "B", "C", ""}, zwei{"A", "B", "", ""},
            ohneC{"A", "B", "", "D"};
        const auto zeile = [](const char *name, const char *loesung, const char *punkte,
                              const QStringList &antworten, const char *druecke, const char *ergebnis) {
            QTest::newRow(name) << QString(loesung) << QString(punkte) << antworten << QString(druecke)
                                << QString(ergebnis);
        };
        const char *d = "1:2 1:4 2:4";
        zeile("four answers, D", "Answer2", "1", vier, d,
              "1/1=4@200:0* 1/2=4@300:0* | R | F 1 2 | 0,0,0,100");
        zeile("three answers, D", "Answer2", "1", drei, d,
              "1/1=2@200:1* 1/2=0@300:0* | R 1 | F 2 | 0,100,0,0");
        zeile("two answers, D", "Answer2", "1", zwei, d, "1/1=2@200:1* 1/2=0@300:0* | R 1 | F 2 | 0,100,0,0");
        d = "1:2 1:3 2:3";
        zeile("three answers, C", "Answer2", "1", drei, d,
              "1/1=3@200:0* 1/2=3@300:0* | R | F 1 2 | 0,0,100,0");
        zeile("no C, C", "Answer2", "1", ohneC, d, "1/1=2@200:1* 1/2=0@300:0* | R 1 | F 2 | 0,100,0,0");
        zeile("no C, D", "Answer2", "1", ohneC, "1:2 1:4 2:4",
              "1/1=4@200:0* 1/2=4@300:0* | R | F 1 2 | 0,0,0,100");
        // The same handset number in another class set is another participant.
        zeile("worth 3", "Answer3", "3", vier, "10:3 11:1 2/10:3",
              "1/10=3@100:3* 1/11=1@200:0* 2/10=3@300:3* | R 10 10 | F 11 | 33,0,67,0");
        d = "1:1 2:2";
        zeile("points with blanks", "Answer1", " 3 ", vier, d,
              "1/1=1@100:3* 1/2=2@200:0* | R 1 | F 2 | 50,50,0,0");
        zeile("points 0 give 1", "Answer1", "0", vier, d,
              "1/1=1@100:1* 1/2=2@200:0* | R 1 | F 2 | 50,50,0,0");
        zeile("text or no points give 1", "Answer1", "viel", vier, d,
              "1/1=1@100:1* 1/2=2@200:0* | R 1 | F 2 | 50,50,0,0");
        zeile("negative points stay", "Answer1", "-2", vier, d,
              "1/1=1@100:-2* 1/2=2@200:0* | R 1 | F 2 | 50,50,0,0");
        d = "1:1 2:4";
        for (const char *loesung : {"answer1", "", "Answer9", "Answer"})
            zeile(qPrintable(QString("solution '%1'").arg(loesung)), loesung, "1", drei, d,
                  "1/1=1@100:0* 1/2=0@200:0* | R | F 1 2 | 100,0,0,0");
        zeile("survey", "NoAnswer", "1", vier, "1:1 2:2 3:2",
              "1/1=1@0:0 1/2=2@0:0 1/3=2@0:0 | R | F | 33,67,0,0");
        zeile("pressed again after a pause", "Answer2", "1", vier, "5:2 P 5:3",
              "1/5=3@200:0* | R | F 5 | 0,0,100,0");
        zeile("asked again", "Answer1", "1", vier, "1:1 2:2 Z 2:1",
              "1/1=1@100:1* 1/2=1@100:1* | R 1 2 | F | 100,0,0,0");
        // A button beyond D is stored as it is, never counted.
        zeile(
            "button 7", "Answer1", "1", vier, "11:1 12:1 13:2 14:4 15:7",
            "1/11=1@100:1* 1/12=1@200:1* 1/13=2@300:0* 1/14=4@400:0* 1/15=7@500:0* | R 11 12 | F 13 14 15 | "
            "50,25,0,25");
    }
    void auswertung()
    {
        QFETCH(QString, loesung);
        QFETCH(QString, punkte);
        QFETCH(QStringList, antworten);
        QFETCH(QString, druecke);
        spielMit({frage(loesung, punkte, antworten)});
        naechsteFrageStarten();
        QCOMPARE(anteile(1), QString("0,0,0,0"));
        for (const QString &druck : druecke.split(' ')) {
            if (druck == "P") {
                m_spiel->fragePausieren();
                m_uhr->vorspulen(30'000);
                m_spiel->fragePausieren();
                continue;
            }
            if (druck == "Z") {
                m_spiel->countdownSofortBeenden();
                m_spiel->getVorherigeFrage();
                m_spiel->qountdownStarten();
                continue;
            }
            const QStringList teile = druck.split(QRegularExpression("[/:]"));
            druecken(100, teile.size() == 3 ? teile.at(0).toUInt() : 1, teile.at(teile.size() - 2).toUInt(),
                     teile.last().toUInt());
        }
        QSignalSpy rangliste(m_spiel.get(), &spiel::ranglisteAktualisieren);
        m_spiel->countdownSofortBeenden();
        QCOMPARE(rangliste.count(), 1);
        QTEST(ergebnis(1), "ergebnis");
        // The copies in the lists were taken before the mark (one asked again was marked before).
        for (const Person &p : m_spiel->getPersonenRichtig() + m_spiel->getPersonenFalsch())
            QVERIFY(druecke.contains('Z') || !p.getAntworten().at(0).istAusgewertet());
    }

    // Before the first question a press registers the handset without an answer time (the totals
    // of points and times: the ranking page's test).
    void startbildschirmMeldungen()
    {
        spielMit({frage("Answer1")});
        m_spiel->antwortErfassen(1, 7, 3);
        m_spiel->antwortErfassen(1, 8, 1);
        QCOMPARE(ergebnis(0, false), QString("1/7=3@%1:0 1/8=1@%1:0").arg(AntwortDerPerson::KeineZeit));
    }

    // Participants equal in points and time keep the order of their first press, however many of
    // them there are (points and time themselves: the ranking page's test).
    void rangfolge()
    {
        QList<Person> personen;
        QList<uint> gedrueckt;
        for (uint i = 1; i <= 24; ++i) {
            Person p(i, 1);
            AntwortDerPerson &a = p.getAntwortDerFrage(1);
            a.setPunkte(1);
            a.setAntwortszeit(1000);
            a.setAusgewertet(true);
            personen << p;
            gedrueckt << i;
        }
        QList<uint> rang;
        for (const Person &p : Rangfolge::sortiert(personen))
            rang << p.getBuzzerNo();
        QCOMPARE(rang, gedrueckt);
    }
};

QTEST_GUILESS_MAIN(TestSpiel)
#include "tst_spiel.moc"
