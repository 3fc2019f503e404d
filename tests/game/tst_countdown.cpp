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

class TestCountdown final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_ordner;
    DialogRekorder m_dialoge;
    std::unique_ptr<TestUhr> m_uhr;
    std::unique_ptr<spiel> m_spiel;
    std::unique_ptr<Protokoll> m_protokoll;

    // A game whose questions have the given times, its first question shown.
    void spielMit(const QStringList &zeiten)
    {
        QList<Testdaten::Frage> fragen(zeiten.size());
        for (qsizetype i = 0; i < zeiten.size(); ++i)
            fragen[i].zeit = zeiten.at(i);
        const QString pfad = m_ordner.filePath("fragen.xml");
        QVERIFY(Testdaten::schreiben(pfad, fragen));
        m_protokoll.reset();
        m_spiel.reset();
        m_uhr = std::make_unique<TestUhr>();
        m_spiel = std::make_unique<spiel>(*m_uhr, m_dialoge);
        m_protokoll = std::make_unique<Protokoll>(*m_spiel, *m_uhr);
        QVERIFY(m_spiel->ladeFragen(pfad).ok());
        m_spiel->getNaechsteFrage();
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
        spielMit({zeit});
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
        spielMit({"15"});
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
        spielMit({"15", "3"});
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
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
