#include "dialogrekorder.h"
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
    QStringList nehmen() { return std::exchange(eintraege, {}); }
    QStringList eintraege;
};

} // namespace

class TestCountdown final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_ordner;
    DialogRekorder m_dialoge;
    std::unique_ptr<TestUhr> m_uhrZeiger;
    TestUhr &m_uhr() { return *m_uhrZeiger; }
    std::unique_ptr<spiel> m_spiel;
    std::unique_ptr<Protokoll> m_protokoll;

    // A game whose questions have the given times.
    void spielMit(const QStringList &zeiten)
    {
        QList<Testdaten::Frage> fragen;
        for (const QString &zeit : zeiten) {
            Testdaten::Frage f;
            f.zeit = zeit;
            fragen.append(f);
        }
        const QString pfad = m_ordner.filePath("fragen.xml");
        Testdaten::schreiben(pfad, fragen);
        m_protokoll.reset();
        m_spiel.reset();
        m_uhrZeiger = std::make_unique<TestUhr>();
        m_spiel = std::make_unique<spiel>(m_uhr(), m_dialoge);
        m_protokoll = std::make_unique<Protokoll>(*m_spiel, m_uhr());
        QVERIFY(m_spiel->ladeFragen(pfad).ok());
    }
    // Times relative to the start of the countdown.
    QStringList ab(qint64 start, QStringList eintraege)
    {
        for (QString &e : eintraege) {
            const int blank = e.indexOf(' ');
            e = QString::number(e.left(blank).toLongLong() - start) + e.mid(blank);
        }
        return eintraege;
    }

private slots:
    void tickenUndEndeZurVollenSekunde()
    {
        spielMit({"3"});
        m_spiel->getNaechsteFrage();
        m_uhr().vorspulen(500);
        m_spiel->qountdownStarten();
        QVERIFY(m_spiel->istCountdownAktiv());
        m_uhr().vorspulen(5000);
        QCOMPARE(ab(500, m_protokoll->nehmen()),
                 (QStringList{"1000 tick 2/3", "2000 tick 1/3", "3000 ende", "3000 rangliste",
                              "3000 tick 0/3", "5000 loesung"}));
        QVERIFY(!m_spiel->istCountdownAktiv());
        QCOMPARE(m_uhr().aktiveZeitgeber(), 0);
    }

    void zeitEinsUndNull()
    {
        spielMit({"1", "0", "abc"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(1000);
        QCOMPARE(m_protokoll->nehmen(), (QStringList{"1000 ende", "1000 rangliste", "1000 tick 0/1"}));

        for (int frage = 2; frage <= 3; ++frage) {
            m_spiel->getNaechsteFrage();
            const qint64 start = m_uhr().jetzt();
            m_spiel->qountdownStarten();
            m_uhr().vorspulen(999);
            QVERIFY(m_protokoll->eintraege.filter("ende").isEmpty());
            m_uhr().vorspulen(1);
            QCOMPARE(ab(start, m_protokoll->nehmen()),
                     (QStringList{"1000 ende", "1000 rangliste", "1000 tick -1/0"}));
        }
    }

    void pauseBehaeltDieUnterbrocheneSekunde_data()
    {
        QTest::addColumn<int>("pauseBei");
        QTest::addColumn<int>("rest");
        QTest::newRow("4999 ms") << 4999 << 1;
        QTest::newRow("5000 ms") << 5000 << 1000;
        QTest::newRow("2300 ms") << 2300 << 700;
    }
    void pauseBehaeltDieUnterbrocheneSekunde()
    {
        QFETCH(int, pauseBei);
        QFETCH(int, rest);
        spielMit({"15"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(pauseBei);
        const int tickeVorher = int(m_protokoll->nehmen().size());
        QCOMPARE(tickeVorher, pauseBei / 1000);

        m_spiel->fragePausieren();
        QVERIFY(m_spiel->istPausiert());
        QCOMPARE(m_spiel->laufzeit(), qint64(pauseBei));
        m_uhr().vorspulen(60'000); // a long pause changes nothing
        QVERIFY(m_protokoll->eintraege.isEmpty());
        QCOMPARE(m_spiel->laufzeit(), qint64(pauseBei));

        m_spiel->fragePausieren();
        const qint64 fortsetzung = m_uhr().jetzt();
        m_uhr().vorspulen(rest - 1);
        QVERIFY(m_protokoll->eintraege.isEmpty());
        m_uhr().vorspulen(1);
        QCOMPARE(
            m_protokoll->nehmen(),
            QStringList{QStringLiteral("%1 tick %2/15").arg(fortsetzung + rest).arg(15 - tickeVorher - 1)});
        // The end comes after exactly 15 s of running time.
        m_uhr().vorspulen(15'000 - pauseBei - rest - 1);
        QVERIFY(m_protokoll->eintraege.filter("ende").isEmpty());
        m_uhr().vorspulen(1);
        QCOMPARE(m_protokoll->eintraege.filter("ende").size(), 1);
    }

    void mehrerePausenInEinerSekundeBleibenImTakt()
    {
        spielMit({"4"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        qint64 laufzeit = 0;
        for (const int stueck : {300, 200, 400}) {
            m_uhr().vorspulen(stueck);
            laufzeit += stueck;
            m_spiel->fragePausieren();
            m_uhr().vorspulen(777);
            m_spiel->fragePausieren();
        }
        QVERIFY(m_protokoll->eintraege.isEmpty());
        QCOMPARE(m_spiel->laufzeit(), laufzeit);
        const qint64 jetzt = m_uhr().jetzt();
        m_uhr().vorspulen(100);
        QCOMPARE(m_protokoll->nehmen(), QStringList{QStringLiteral("%1 tick 3/4").arg(jetzt + 100)});
        m_uhr().vorspulen(3000);
        QCOMPARE(
            ab(jetzt + 100, m_protokoll->nehmen()),
            (QStringList{"1000 tick 2/4", "2000 tick 1/4", "3000 ende", "3000 rangliste", "3000 tick 0/4"}));
    }

    void sofortBeenden()
    {
        spielMit({"15"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(3500);
        m_protokoll->nehmen();
        m_spiel->countdownSofortBeenden();
        QCOMPARE(m_protokoll->nehmen(), (QStringList{"3500 ende", "3500 rangliste"}));
        QVERIFY(!m_spiel->istCountdownAktiv());
        m_uhr().vorspulen(20'000);
        QCOMPARE(m_protokoll->nehmen(), QStringList{"5500 loesung"});

        // A second end, or a pause after the end, must not evaluate again.
        m_spiel->countdownSofortBeenden();
        m_spiel->fragePausieren();
        m_spiel->fragePausieren();
        m_uhr().vorspulen(5000);
        QVERIFY(m_protokoll->eintraege.isEmpty());
        QVERIFY(!m_spiel->istPausiert());
    }

    void pauseOhneCountdownTutNichts()
    {
        spielMit({"5"});
        m_spiel->fragePausieren();
        QVERIFY(!m_spiel->istPausiert());
        m_spiel->countdownSofortBeenden();
        m_uhr().vorspulen(10'000);
        QVERIFY(m_protokoll->eintraege.isEmpty());
    }

    void beendenWaehrendDerPause()
    {
        spielMit({"10"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(2500);
        m_spiel->fragePausieren();
        m_uhr().vorspulen(4000);
        m_protokoll->nehmen();
        m_spiel->countdownSofortBeenden();
        QCOMPARE(m_protokoll->nehmen(), (QStringList{"6500 ende", "6500 rangliste"}));
        m_uhr().vorspulen(10'000);
        QCOMPARE(m_protokoll->nehmen(), QStringList{"8500 loesung"});
    }

    void navigationWaehrendDerPauseStartetNormal()
    {
        spielMit({"5", "3"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(1500);
        m_spiel->fragePausieren();
        // The main window abandons the countdown like this when it moves on.
        m_spiel->countdownTimerStoppen();
        m_spiel->setCountdownAktiv(false);
        m_spiel->getNaechsteFrage();
        QVERIFY(!m_spiel->istPausiert());
        m_protokoll->nehmen();
        const qint64 start = m_uhr().jetzt();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(3000);
        QCOMPARE(ab(start, m_protokoll->nehmen()), (QStringList{"1000 tick 2/3", "2000 tick 1/3", "3000 ende",
                                                                "3000 rangliste", "3000 tick 0/3"}));
    }

    void weiterNachDerPauseTicktNichtInDieNaechsteFrage()
    {
        spielMit({"10", "10"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(1300);
        m_spiel->fragePausieren();
        m_spiel->fragePausieren(); // the rest of the second, 700 ms, is pending
        m_uhr().vorspulen(100);
        // The presenter moves on, as the main window does it.
        m_spiel->countdownTimerStoppen();
        m_spiel->getNaechsteFrage();
        m_protokoll->nehmen();
        m_uhr().vorspulen(5000);
        QVERIFY(m_protokoll->eintraege.isEmpty());
    }

    void neuerCountdownStopptDieAlteLoesungsanzeige()
    {
        spielMit({"1", "5"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(1500);
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(3000); // the old result was due at 3000
        QVERIFY(m_protokoll->nehmen().filter("loesung").isEmpty());
    }

    void zuruecksetzenStopptAuchEineFortsetzung()
    {
        spielMit({"5"});
        m_spiel->getNaechsteFrage();
        m_spiel->qountdownStarten();
        m_uhr().vorspulen(1200);
        m_spiel->fragePausieren();
        m_spiel->fragePausieren();
        m_spiel->spielZuruecksetzen();
        m_protokoll->nehmen();
        m_uhr().vorspulen(10'000);
        QVERIFY(m_protokoll->eintraege.isEmpty());
        QVERIFY(!m_spiel->istCountdownAktiv());
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
