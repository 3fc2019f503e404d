#include "dateigrenze.h"
#include "dialogrekorder.h"
#include "druckjournal.h"
#include "spiel.h"
#include "testdaten.h"
#include "testeinstellungen.h"
#include "testuhr.h"

#include <QTemporaryDir>
#include <QtTest>

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
        const QString ordner = m_ordner.filePath("ganz");
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
        QCOMPARE(stand.druckeDerFrage(1).size(), 6);
        QCOMPARE(stand.ausgewerteteFragen(), QList<int>({1, 2, 3}));
        // The offer is made of the file, the question and the number of presses read back.
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
        // Without its question file it changes nothing of a game loaded meanwhile.
        SpielStand ohneDatei = stand;
        ohneDatei.frageDatei = m_ordner.filePath("weg.xml");
        spiel anderes(m_uhr, m_dialoge);
        QVERIFY(anderes.ladeFragen(datei).ok());
        anderes.antwortErfassen(1, 5, 1);
        QCOMPARE(Druckjournal::anwenden(ohneDatei, anderes).fehler,
                 FrageDatei::LadeErgebnis::Fehler::DateiFehlt);
        QCOMPARE(anderes.getPersonen().size(), 1);
        QCOMPARE(anderes.getAnzahlFragen(), 4);

        // A normal end leaves nothing to offer, nor does a press after it.
        QVERIFY(danach.fortsetzen(stand));
        danach.beenden();
        QVERIFY(!danach.vorhanden());
        bool geschrieben = true;
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
        Druckjournal journal(m_uhr,
                             m_ordner.filePath(QStringLiteral("schaden-%1").arg(QTest::currentDataTag())));
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
    // a handset reported in on the start screen (one ended in a game: the interrupted game's test).
    void journalOhneSpielGehtMitDemProgramm()
    {
        QString pfad;
        const QString ordner = m_ordner.filePath("ende");
        {
            Druckjournal journal(m_uhr, ordner);
            QVERIFY(journal.beginnen(fragedatei()));
            journal.frageAufgerufen(0);
            QVERIFY(journal.druck(SpielStand::Druck{0, 1, 2, 1, 0, 0}));
            pfad = journal.pfad();
            // A crash here.
            journal.leeren();
            QVERIFY(!Druckjournal(m_uhr, ordner).vorhanden());
        }
        QVERIFY(!QFileInfo::exists(pfad));
    }

    void aufDieScheibeSpaetestensNach100ms()
    {
        Druckjournal journal(m_uhr, m_ordner.filePath("sync"));
        QVERIFY(journal.beginnen(fragedatei()));
        QVERIFY(journal.druck(SpielStand::Druck{1, 1, 1, 1, 0, 0}));
        // Once written, with the system: another process reads it at once.
        journal.leeren();
        QCOMPARE(Druckjournal(m_uhr, m_ordner.filePath("sync")).lesen().druecke.size(), 1);
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
        Druckjournal journal(m_uhr,
                             m_ordner.filePath(QStringLiteral("voll-%1").arg(QTest::currentDataTag())));
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
};

QTEST_GUILESS_MAIN(TestDruckjournal)
#include "tst_druckjournal.moc"
