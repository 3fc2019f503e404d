#include "dateigrenze.h"
#include "dialogrekorder.h"
#include "druckjournal.h"
#include "spiel.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "testuhr.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

namespace {

// Everything the ranking and the exports read of a game, as text, so two games compare at once.
QString zustand(const spiel &s)
{
    QStringList teile;
    for (Person p : s.getPersonen()) {
        p.punkteBerechnen();
        p.antwortszeitBerechnen();
        QString person = QString::asprintf("%u:%u=%d/%lld[", p.getKlassensatz(), p.getBuzzerNo(),
                                           p.getPunkte(), qint64(p.getAntwortszeit()));
        for (const AntwortDerPerson &a : p.getAntworten())
            person +=
                QString::asprintf("%d:%d:%lld:%d:%d ", a.getFrageNr(), a.getAntwort(),
                                  qint64(a.getAntwortszeit()), a.getPunkte(), a.istAusgewertet() ? 1 : 0);
        teile << person + QLatin1Char(']');
    }
    return teile.join(QLatin1Char(','));
}

// A press as the child acknowledges it and as the journal reads it back.
QByteArray text(const SpielStand::Druck &d)
{
    return QString::asprintf("P %d %u %u %u %lld %lld", d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo,
                             qint64(d.laufzeitMs), qint64(d.zeitpunkt))
        .toUtf8();
}

void ausgeben(const QByteArray &zeile)
{
    const QByteArray text = zeile + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

// The child of the crash test: plays a game with real time and acknowledges on stdout the
// presses and evaluations the journal has written, now and then a few at once, until it is
// killed: the kill finds records still on their way to the file as well.
int kindSpielen(const QString &ordner, const QString &datei, quint32 saat)
{
    DialogRekorder dialoge;
    spiel s(Uhr::system(), dialoge);
    Druckjournal journal(Uhr::system(), ordner);
    if (!s.ladeFragen(datei).ok() || !journal.beginnen(datei))
        return 2;
    journal.spielBeobachten(s);
    QList<QByteArray> unbestaetigt;
    QObject::connect(&s, &spiel::ranglisteAktualisieren, &s, [&]() {
        unbestaetigt.append("A " + QByteArray::number(s.getAktuelleFrageNr()) + ' ' + zustand(s).toUtf8());
    });
    QRandomGenerator zufall(saat);
    const auto druecken = [&]() {
        const SpielStand::Druck d{s.getAktuelleFrageNr(), zufall.bounded(1u, 3u), zufall.bounded(1u, 21u),
                                  zufall.bounded(1u, 5u), s.laufzeit(),           Uhr::system().epochMs()};
        if (journal.druck(d))
            unbestaetigt.append(text(d));
        s.antwortEintragen(d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo, d.laufzeitMs);
        QCoreApplication::processEvents();
        if (zufall.bounded(4) == 0) {
            journal.leeren();
            for (const QByteArray &zeile : std::as_const(unbestaetigt))
                ausgeben(zeile);
            unbestaetigt.clear();
        }
        ::usleep(zufall.bounded(400u));
    };
    ausgeben("bereit");
    for (int i = 0; i < 3; ++i)
        druecken();
    for (;;) {
        if (s.getAktuelleFrageNr() == s.getAnzahlFragen())
            s.springeZuFrage(1);
        else
            s.getNaechsteFrage();
        journal.frageAufgerufen(s.getAktuelleFrageNr());
        s.qountdownStarten();
        const int anzahl = zufall.bounded(5, 30);
        for (int i = 0; i < anzahl; ++i)
            druecken();
        // Now and then the presenter moves on before the end: no evaluation.
        if (zufall.bounded(5) == 0)
            s.countdownTimerStoppen();
        else
            s.countdownSofortBeenden();
    }
}

// What happens to a journal file between two starts.
enum class Schaden {
    Keiner,
    BitKippen, // one bit of the line's third byte: a question number, or the header's name
    Ersetzen,  // the line becomes `ersatz`
    Abreissen, // the file ends in the middle of the line
    Anhaengen, // `ersatz` follows the last line
    Datei,     // the whole file becomes `ersatz`
};

} // namespace

Q_DECLARE_METATYPE(Schaden)

class TestDruckjournal final : public QObject
{
    Q_OBJECT

private:
    TestEinstellungen m_einstellungen;
    QTemporaryDir m_ordner;
    DialogRekorder m_dialoge;
    TestUhr m_uhr;

    // Four questions: a quiz worth 3, a survey, one without D whose points are 0, the quiz again.
    QString fragedatei()
    {
        const QStringList abcd{"A", "B", "C", "D"};
        const Testdaten::Frage quiz{"Frage", abcd, "Answer2", "15", "3", "0", {}};
        const QList<Testdaten::Frage> fragen{quiz,
                                             {"Frage", abcd, "NoAnswer", "15", "1", "0", {}},
                                             {"Frage", {"A", "B", "C", ""}, "Answer1", "15", "0", "0", {}},
                                             quiz};
        const QString pfad = m_ordner.filePath("fragen.xml");
        Testdaten::schreiben(pfad, fragen);
        return pfad;
    }

    QString journalOrdner(const QString &name) const { return m_ordner.filePath(name); }

    // A game through the journal as the game flow runs it.
    static void drueckeMitJournal(spiel &s, Druckjournal &j, TestUhr &uhr,
                                  const QList<std::array<uint, 3>> &druecke)
    {
        for (const auto &d : druecke) {
            uhr.vorspulen(170);
            bool geschrieben = false;
            const SpielStand::Druck druck = j.druck(s, d[0], d[1], d[2], &geschrieben);
            QVERIFY(geschrieben);
            QCOMPARE(druck.laufzeitMs, s.laufzeit());
            s.antwortEintragen(druck.frageNr, d[0], d[1], d[2], druck.laufzeitMs);
        }
    }

private slots:
    void einUnterbrochenesSpielKommtGenauWieder()
    {
        const QString datei = fragedatei();
        const QString ordner = journalOrdner("ganz");
        spiel live(m_uhr, m_dialoge);
        QVERIFY(live.ladeFragen(datei).ok());
        {
            Druckjournal journal(m_uhr, ordner);
            QVERIFY(!journal.vorhanden());
            QVERIFY(journal.beginnen(datei));
            journal.spielBeobachten(live);
            // Handsets that report in on the start screen.
            drueckeMitJournal(live, journal, m_uhr, {{1, 9, 1}, {2, 9, 4}});
            const auto frage = [&](int nr, const QList<std::array<uint, 3>> &druecke, bool auswerten) {
                live.springeZuFrage(nr);
                journal.frageAufgerufen(nr);
                live.qountdownStarten();
                drueckeMitJournal(live, journal, m_uhr, druecke);
                if (auswerten)
                    live.countdownSofortBeenden();
                else
                    live.countdownTimerStoppen();
            };
            frage(1, {{1, 3, 2}, {1, 4, 1}, {1, 3, 3}, {2, 9, 2}}, true);
            frage(2, {{1, 3, 4}, {1, 5, 1}}, true);
            // D does not exist on question 3: ignored, but time-stamped.
            frage(3, {{1, 4, 1}, {1, 3, 4}, {2, 9, 1}}, true);
            // Question 3 again at once: the next press belongs to the question just evaluated, and
            // changes its answer, not its points.
            frage(3, {{1, 4, 2}}, false);
            // Question 1 once more: a new answer, abandoned before the end. The old points stay.
            frage(1, {{1, 3, 2}, {1, 4, 2}}, false);
            frage(4, {{1, 5, 2}}, false);
            // The process dies here: the journal object goes without beenden().
        }

        Druckjournal danach(m_uhr, ordner);
        QVERIFY(danach.vorhanden());
        const SpielStand stand = danach.lesen();
        QCOMPARE(stand.frageDatei, datei);
        QCOMPARE(stand.aktuelleFrage, 4);
        QCOMPARE(stand.druecke.size(), 15);
        QCOMPARE(stand.druckeDerFrage(1).size(), 6);
        QCOMPARE(stand.ausgewerteteFragen(), QList<int>({1, 2, 3}));
        QCOMPARE(stand.angebot(), QStringLiteral("Das letzte Spiel wurde nicht beendet (Fragedatei \"%1\", "
                                                 "Frage 4, 15 Antworten erfasst). Möchten Sie es fortsetzen?")
                                      .arg(datei));

        spiel wieder(m_uhr, m_dialoge);
        QVERIFY(Druckjournal::anwenden(stand, wieder).ok());
        QCOMPARE(wieder.getAktuelleFrageNr(), 4);
        QCOMPARE(zustand(wieder), zustand(live));
        // Points really came back, not just the buttons.
        QVERIFY(zustand(wieder).contains("2:9=4/"));
        QCOMPARE(wieder.getProzenteAntworten(1), live.getProzenteAntworten(1));

        // Taken up again, the game goes on in the same journal.
        QVERIFY(danach.fortsetzen(stand));
        bool geschrieben = false;
        danach.druck(wieder, 1, 6, 3, &geschrieben);
        QVERIFY(geschrieben);
        QCOMPARE(danach.lesen().druecke.size(), 16);

        // A normal end leaves nothing to offer.
        danach.beenden();
        QVERIFY(!QFileInfo::exists(danach.pfad()));
        QVERIFY(!danach.vorhanden());
        danach.druck(wieder, 1, 6, 3, &geschrieben);
        QVERIFY(!geschrieben);
        QVERIFY(!QFileInfo::exists(danach.pfad()));
    }

    void beschaedigtesJournal_data()
    {
        QTest::addColumn<int>("zeile");
        QTest::addColumn<Schaden>("schaden");
        QTest::addColumn<QByteArray>("ersatz");
        QTest::addColumn<int>("druecke");
        QTest::addColumn<int>("ausgewertet");
        QTest::addColumn<int>("uebersprungen");
        QTest::addColumn<QString>("punkte"); // handset:points, in the order of the first press

        // The journal: 0 header, 1 file, 2 F 0, 3 F 1, 4-6 presses, 7 A 1, 8 F 2, 9 press, 10 A 2,
        // 11 F 3, 12-13 presses (question 3 broken off), 14 F 4, 15 press (its countdown running).
        const QString alle = QStringLiteral("3:3 4:0 5:3");
        const QByteArray nichts;
        QTest::newRow("unversehrt") << 0 << Schaden::Keiner << nichts << 7 << 2 << 0 << alle;
        QTest::newRow("Auswertung gekippt") << 7 << Schaden::BitKippen << nichts << 7 << 2 << 1 << alle;
        QTest::newRow("Auswertung verrauscht")
            << 7 << Schaden::Ersetzen << QByteArray::fromHex("009cff13") << 7 << 2 << 1 << alle;
        // The other answers of the question keep their points.
        QTest::newRow("Druck vor der Auswertung gekippt")
            << 4 << Schaden::BitKippen << nichts << 6 << 2 << 1 << QStringLiteral("4:0 5:3 3:0");
        // A lost press is no reason to evaluate a question the presenter broke off.
        QTest::newRow("Druck einer abgebrochenen Frage gekippt")
            << 12 << Schaden::BitKippen << nichts << 6 << 2 << 1 << alle;
        QTest::newRow("Navigation gekippt") << 8 << Schaden::BitKippen << nichts << 7 << 2 << 1 << alle;
        QTest::newRow("letzte Zeile abgerissen") << 15 << Schaden::Abreissen << nichts << 6 << 2 << 1 << alle;
        // A broken tail swallows nothing written after it.
        QTest::newRow("halbe Zeile angehaengt")
            << 0 << Schaden::Anhaengen << QByteArray("P 1 1 7 2 50") << 7 << 2 << 1 << alle;
        QTest::newRow("Muell angehaengt")
            << 0 << Schaden::Anhaengen << QByteArray("\x01\xff garbage\n\n  \nP 1 1 7\n") << 7 << 2 << 2
            << alle;
        QTest::newRow("falsche Pruefsumme angehaengt")
            << 0 << Schaden::Anhaengen << QByteArray("P 1 1 7 2 50 1700000000000 0000\n") << 7 << 2 << 1
            << alle;
        QTest::newRow("zu grosse Zahl angehaengt")
            << 0 << Schaden::Anhaengen << QByteArray("P 1 1 99999999999 2 50 1 ") << 7 << 2 << 1 << alle;
        QTest::newRow("Nullbytes angehaengt")
            << 0 << Schaden::Anhaengen << QByteArray(300, '\0') << 7 << 2 << 1 << alle;
        QTest::newRow("Kopf gekippt") << 0 << Schaden::BitKippen << nichts << 7 << 2 << 1 << alle;
        QTest::newRow("im Kopf abgeschnitten")
            << 0 << Schaden::Abreissen << nichts << 0 << 0 << 1 << QString();
        QTest::newRow("leere Datei") << 0 << Schaden::Datei << nichts << 0 << 0 << 0 << QString();
        QTest::newRow("fremde Datei")
            << 0 << Schaden::Datei << QByteArray("Hallo\nWelt\n") << 0 << 0 << 2 << QString();
        QTest::newRow("nur Rauschen")
            << 0 << Schaden::Datei << QByteArray(3000, '\xa5') + QByteArray::fromHex("0a0000") << 0 << 0 << 2
            << QString();
    }

    void beschaedigtesJournal()
    {
        QFETCH(int, zeile);
        QFETCH(Schaden, schaden);
        QFETCH(QByteArray, ersatz);
        const QString datei = fragedatei();
        Druckjournal journal(m_uhr, journalOrdner(QStringLiteral("schaden-%1").arg(QTest::currentDataTag())));
        QVERIFY(journal.beginnen(datei));
        const auto frage = [&](int nr, const QList<uint> &geraete, const QList<uint> &knoepfe, bool ende) {
            journal.frageAufgerufen(nr);
            for (qsizetype i = 0; i < geraete.size(); ++i)
                QVERIFY(journal.druck(SpielStand::Druck{nr, 1, geraete.at(i), knoepfe.at(i), 100, 0}));
            if (ende)
                journal.ausgewertet(nr);
        };
        frage(1, {3, 4, 5}, {2, 1, 2}, true);
        frage(2, {3}, {1}, true);
        frage(3, {3, 4}, {1, 1}, false);
        frage(4, {3}, {2}, false);
        journal.leeren();
        QList<QByteArray> zeilen = Testdaten::lesen(journal.pfad()).split('\n');
        QCOMPARE(zeilen.size(), 17);
        switch (schaden) {
        case Schaden::Keiner:
            break;
        case Schaden::BitKippen:
            zeilen[zeile][2] = char(zeilen[zeile][2] ^ 0x02);
            break;
        case Schaden::Ersetzen:
            zeilen[zeile] = ersatz;
            break;
        case Schaden::Abreissen:
            zeilen[zeile].truncate(zeilen[zeile].size() / 2);
            zeilen = zeilen.mid(0, zeile + 1);
            break;
        case Schaden::Anhaengen:
            zeilen.last() = ersatz;
            break;
        case Schaden::Datei:
            zeilen = {ersatz};
            break;
        }
        QVERIFY(Testdaten::schreiben(journal.pfad(), zeilen.join('\n')));

        const SpielStand stand = journal.lesen();
        QTEST(int(stand.druecke.size()), "druecke");
        QTEST(int(stand.ausgewerteteFragen().size()), "ausgewertet");
        QTEST(stand.uebersprungen, "uebersprungen");
        // A file without a game in it is nothing to offer.
        QCOMPARE(journal.vorhanden(), !stand.istLeer());
        QStringList punkte;
        if (!stand.istLeer()) {
            SpielStand mitDatei = stand;
            mitDatei.frageDatei = datei;
            spiel s(m_uhr, m_dialoge);
            QVERIFY(Druckjournal::anwenden(mitDatei, s).ok());
            for (Person p : s.getPersonen()) {
                p.punkteBerechnen();
                punkte << QStringLiteral("%1:%2").arg(p.getBuzzerNo()).arg(p.getPunkte());
            }
        }
        QTEST(punkte.join(QLatin1Char(' ')), "punkte");
        if (stand.istLeer())
            return;

        // Taken up, the game goes on in the same journal: a press after the damage is read back.
        QVERIFY(journal.fortsetzen(stand));
        QVERIFY(journal.druck(SpielStand::Druck{4, 1, 9, 3, 100, 0}));
        journal.leeren();
        const SpielStand weiter = journal.lesen();
        QCOMPARE(weiter.druecke.size(), stand.druecke.size() + 1);
        QCOMPARE(weiter.druecke.last().buzzerNo, 9u);
    }

    // A program ended before its first game leaves nothing to find at the next start, even when
    // handsets reported in on the start screen; one ended in a game leaves the game.
    void journalOhneSpielGehtMitDemProgramm_data()
    {
        QTest::addColumn<int>("frage");
        QTest::addColumn<bool>("druck");
        QTest::addColumn<bool>("bleibt");
        QTest::newRow("nur begonnen") << 0 << false << false;
        QTest::newRow("Geraet auf dem Startbildschirm") << 0 << true << false;
        QTest::newRow("Frage aufgerufen") << 1 << false << true;
    }

    void journalOhneSpielGehtMitDemProgramm()
    {
        QFETCH(int, frage);
        QFETCH(bool, druck);
        QString pfad;
        const QString ordner = journalOrdner(QStringLiteral("ende-%1").arg(QTest::currentDataTag()));
        {
            Druckjournal journal(m_uhr, ordner);
            QVERIFY(journal.beginnen(fragedatei()));
            journal.frageAufgerufen(frage);
            if (druck)
                QVERIFY(journal.druck(SpielStand::Druck{frage, 1, 2, 1, 0, 0}));
            pfad = journal.pfad();
            // A crash here: what the next start finds is offered only when it is a game.
            journal.leeren();
            QTEST(Druckjournal(m_uhr, ordner).vorhanden(), "bleibt");
        }
        QTEST(QFileInfo::exists(pfad), "bleibt");
    }

    void eineFehlendeFragedateiAendertNichts()
    {
        SpielStand stand;
        stand.frageDatei = m_ordner.filePath("weg.xml");
        stand.druecke.append({1, 1, 2, 3, 100, 0});
        spiel s(m_uhr, m_dialoge);
        const QString datei = fragedatei();
        QVERIFY(s.ladeFragen(datei).ok());
        s.antwortErfassen(1, 5, 1);
        const FrageDatei::LadeErgebnis ergebnis = Druckjournal::anwenden(stand, s);
        QCOMPARE(ergebnis.fehler, FrageDatei::LadeErgebnis::Fehler::DateiFehlt);
        QCOMPARE(s.getPersonen().size(), 1);
        QCOMPARE(s.getAnzahlFragen(), 4);
    }

    void aufDieScheibeSpaetestensNach100ms()
    {
        Druckjournal journal(m_uhr, journalOrdner("sync"));
        QVERIFY(journal.beginnen(fragedatei()));
        QVERIFY(journal.druck(SpielStand::Druck{1, 1, 1, 1, 0, 0}));
        // Once written, with the system: another process reads it at once.
        journal.leeren();
        QCOMPARE(Druckjournal(m_uhr, journalOrdner("sync")).lesen().druecke.size(), 1);
        QCOMPARE(journal.synchronisierungen(), 0);
        // The clock stands while the writer works: each figure is read once it is done.
        const auto syncs = [&journal]() {
            journal.leeren();
            return journal.synchronisierungen();
        };
        m_uhr.vorspulen(60);
        QVERIFY(journal.druck(SpielStand::Druck{1, 1, 2, 1, 0, 0}));
        m_uhr.vorspulen(39);
        QCOMPARE(syncs(), 0);
        m_uhr.vorspulen(1);
        QCOMPARE(syncs(), 1);
        // Nothing new, no sync.
        m_uhr.vorspulen(1000);
        QCOMPARE(syncs(), 1);
        QVERIFY(journal.druck(SpielStand::Druck{1, 1, 3, 1, 0, 0}));
        m_uhr.vorspulen(100);
        QCOMPARE(syncs(), 2);
    }

    // The writer finds a failed write a moment after the press; the journal's thread hears of it
    // through its event loop, or at once from leeren().
    void schreibfehlerWirdEinmalGemeldet_data()
    {
        QTest::addColumn<bool>("leeren");
        QTest::newRow("von leeren") << true;
        QTest::newRow("durch die Ereignisschleife") << false;
    }

    void schreibfehlerWirdEinmalGemeldet()
    {
        QFETCH(bool, leeren);
        const QString datei = fragedatei();
        Druckjournal journal(m_uhr, journalOrdner(QStringLiteral("voll-%1").arg(QTest::currentDataTag())));
        QVERIFY(journal.beginnen(datei));
        QSignalSpy fehler(&journal, &Druckjournal::schreibfehler);
        bool aufDemEigenenThread = false;
        connect(&journal, &Druckjournal::schreibfehler, this,
                [&]() { aufDemEigenenThread = QThread::currentThread() == journal.thread(); });
        const qint64 groesse = QFileInfo(journal.pfad()).size();
        {
            Dateigrenze grenze{rlim_t(groesse + 10)};
            QVERIFY(grenze.gesetzt());
            QVERIFY(journal.druck(SpielStand::Druck{1, 1, 1, 1, 0, 0}));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Druckjournal.*File too large"));
            if (leeren)
                journal.leeren();
            else
                QTRY_COMPARE(fehler.size(), 1);
            QCOMPARE(fehler.size(), 1);
            // From then on the journal says it has failed; further failures are only logged.
            QVERIFY(!journal.druck(SpielStand::Druck{1, 1, 2, 1, 0, 0}));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Druckjournal.*File too large"));
            journal.leeren();
        }
        QCoreApplication::processEvents();
        QCOMPARE(fehler.size(), 1);
        QVERIFY(aufDemEigenenThread);
        const QString meldung = fehler.at(0).at(0).toString();
        QVERIFY2(meldung.contains(journal.pfad()) && meldung.contains("File too large") &&
                     meldung.startsWith("Das Druckjournal"),
                 qPrintable(meldung));
        QCOMPARE(journal.fehler(), meldung);
        // What was written before stays readable.
        QCOMPARE(journal.lesen().frageDatei, datei);
    }

    void absturzVerliertKeinenBestaetigtenDruck()
    {
        QList<Testdaten::Frage> fragen(12);
        for (int i = 0; i < 12; ++i) {
            fragen[i].loesung = i == 4 ? "NoAnswer" : QString("Answer%1").arg(1 + (i + 1) % 4);
            fragen[i].punkte = QString::number(1 + (i + 1) % 3);
        }
        const QString datei = m_ordner.filePath("kind.xml");
        QVERIFY(Testdaten::schreiben(datei, fragen));
        QRandomGenerator zufall(20261206);
        int bestaetigtGesamt = 0;
        int auswertungenGesamt = 0;
        for (int runde = 0; runde < 6; ++runde) {
            const QString ordner = journalOrdner(QStringLiteral("kind-%1").arg(runde));
            QProcess kind;
            kind.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--kind"), ordner, datei, QString::number(zufall.generate())});
            QVERIFY(kind.waitForStarted(5000));
            // Killed once it has acknowledged so many presses, while it goes on writing.
            const int bis = zufall.bounded(60, 400);
            QByteArray ausgabe;
            QElapsedTimer uhr;
            uhr.start();
            while (ausgabe.count("\nP ") < bis && kind.state() == QProcess::Running &&
                   uhr.elapsed() < 30'000) {
                kind.waitForReadyRead(100);
                ausgabe += kind.readAllStandardOutput();
            }
            QVERIFY2(ausgabe.startsWith("bereit\n"), kind.readAllStandardError().constData());
            kind.kill(); // SIGKILL
            QVERIFY(kind.waitForFinished(5000));
            ausgabe += kind.readAllStandardOutput();

            // Only whole lines count as acknowledged.
            QList<QByteArray> bestaetigt;
            QList<std::pair<int, QString>> auswertungen; // question, state of the live game
            QList<qsizetype> auswertungNach;
            for (const QByteArray &zeile : ausgabe.left(ausgabe.lastIndexOf('\n')).split('\n')) {
                if (zeile.startsWith("P "))
                    bestaetigt.append(zeile);
                if (const QList<QByteArray> t = zeile.split(' '); t.first() == "A" && t.size() >= 2) {
                    auswertungen.append({t[1].toInt(), QString::fromUtf8(zeile.mid(t[1].size() + 3))});
                    auswertungNach.append(bestaetigt.size());
                }
            }
            Druckjournal journal(m_uhr, ordner);
            const SpielStand stand = journal.lesen();
            QCOMPARE(stand.frageDatei, datei);
            QVERIFY2(stand.druecke.size() >= bestaetigt.size(),
                     qPrintable(QString("%1 < %2").arg(stand.druecke.size()).arg(bestaetigt.size())));
            for (qsizetype i = 0; i < bestaetigt.size(); ++i)
                QCOMPARE(text(stand.druecke.at(i)), bestaetigt.at(i));
            QVERIFY(stand.auswertungen.size() >= auswertungen.size());

            // After each acknowledged evaluation the restored game equals the live one then.
            for (qsizetype k = 0; k < auswertungen.size(); ++k) {
                QCOMPARE(stand.auswertungen.at(k).frageNr, auswertungen.at(k).first);
                QCOMPARE(stand.auswertungen.at(k).nachDruecken, auswertungNach.at(k));
                SpielStand bisDahin = stand;
                bisDahin.druecke = stand.druecke.mid(0, auswertungNach.at(k));
                bisDahin.auswertungen = stand.auswertungen.mid(0, k + 1);
                spiel wieder(m_uhr, m_dialoge);
                QVERIFY(Druckjournal::anwenden(bisDahin, wieder).ok());
                QCOMPARE(zustand(wieder), auswertungen.at(k).second);
            }

            // And the whole journal restores, where the game was.
            spiel wieder(m_uhr, m_dialoge);
            QVERIFY(Druckjournal::anwenden(stand, wieder).ok());
            QCOMPARE(wieder.getAktuelleFrageNr(), stand.aktuelleFrage);
            bestaetigtGesamt += int(bestaetigt.size());
            auswertungenGesamt += int(auswertungen.size());
        }
        // The rounds really killed games in the middle of their work.
        qDebug() << "bestätigte Drücke" << bestaetigtGesamt << "Auswertungen" << auswertungenGesamt;
        QVERIFY(bestaetigtGesamt > 100);
        QVERIFY(auswertungenGesamt > 3);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--kind") == 0)
        return kindSpielen(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                           QByteArray(argv[4]).toUInt());
    TestDruckjournal test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_druckjournal.moc"
