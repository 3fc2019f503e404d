// Prints what the press journal costs the game's thread per press and per sync, and what reading
// a question file of 1,000 questions and one near the size limit costs.
//   build/bin/bench_dateien [--nach-ruhe] [folder on the disk to measure]
// --nach-ruhe also times the first press after a quiet 35 seconds, five times each with and without the
// journal (six minutes).
#include "benutzerdatei.h"
#include "dialoge.h"
#include "druckjournal.h"
#include "fragedatei.h"
#include "messhilfen.h"
#include "spiel.h"
#include "uhr.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <algorithm>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using Messhilfen::median;

long speicherMb()
{
    rusage nutzung{};
    getrusage(RUSAGE_SELF, &nutzung);
    return nutzung.ru_maxrss / 1024;
}

// A press recorded the way the journal did it before it had a writer of its own: the line
// formatted and written with a system call on the game's thread.
bool wieFrueher(int deskriptor, const SpielStand::Druck &d)
{
    const QByteArray inhalt = "P " + QByteArray::number(d.frageNr) + ' ' + QByteArray::number(d.klassensatz) +
                              ' ' + QByteArray::number(d.buzzerNo) + ' ' + QByteArray::number(d.buttonNo) +
                              ' ' + QByteArray::number(d.laufzeitMs) + ' ' + QByteArray::number(d.zeitpunkt);
    const QByteArray zeile =
        inhalt + ' ' + QByteArray::number(qChecksum(inhalt), 16).rightJustified(4, '0') + '\n';
    return BenutzerDatei::allesSchreiben(deskriptor, zeile.constData(), zeile.size(), nullptr);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false\nqt.*=false"));
    QStringList argumente = app.arguments().mid(1);
    const bool nachRuhe = argumente.removeAll(QStringLiteral("--nach-ruhe")) > 0;
    QTemporaryDir temp(!argumente.isEmpty() ? argumente.first() + QStringLiteral("/bench-XXXXXX")
                                            : QString());
    const QString ordner = temp.path();

    // A question file of about 49 MB: far beyond 1000 questions.
    const QString datei = ordner + QStringLiteral("/gross.xml");
    {
        QFile f(datei);
        f.open(QIODevice::WriteOnly);
        f.write("<ArrayOfQuestion>");
        const QByteArray frage = "<Question><QuestionText>Eine Frage mit etwas Text, wie sie im Unterricht "
                                 "vorkommt</QuestionText><Answer1>Ja</Answer1><Answer2>Nein</Answer2>"
                                 "<Solution>Answer1</Solution><Time>15</Time><Points>1</Points></Question>\n";
        while (f.size() < FrageDatei::MaxDateigroesse - qint64(frage.size()) - 100)
            f.write(frage);
        f.write("</ArrayOfQuestion>");
    }
    const long vorher = speicherMb();
    QElapsedTimer zeit;
    zeit.start();
    const FrageDatei::LadeErgebnis ergebnis = FrageDatei::lesen(datei);
    printf("question file of %.1f MB: read in %lld ms, peak memory %ld MB -> %ld MB, %d questions left out\n",
           double(QFile(datei).size()) / (1024 * 1024), zeit.elapsed(), vorher, speicherMb(),
           ergebnis.weggelassen);
    QFile::remove(datei);

    Messhilfen::StilleDialoge dialoge;
    {
        // The game loads its file into the catalogue, which lets go of the previous one.
        const QString pfad = ordner + QStringLiteral("/tausend.xml");
        QFile f(pfad);
        f.open(QIODevice::WriteOnly);
        f.write(Messhilfen::fragenXml(FrageDatei::MaxFragen));
        f.close();
        spiel s(Uhr::system(), dialoge);
        QList<double> lesen;
        QList<double> laden;
        for (int i = 0; i < 41; ++i) {
            zeit.restart();
            const FrageDatei::LadeErgebnis e = FrageDatei::lesen(pfad);
            lesen.append(zeit.nsecsElapsed() / 1e6);
            zeit.restart();
            s.ladeFragen(pfad);
            laden.append(zeit.nsecsElapsed() / 1e6);
        }
        printf("question file of 1000 questions (%lld KiB): read in %.2f ms, loaded into the game in %.2f ms "
               "(medians of 41)\n",
               f.size() / 1024, median(lesen), median(laden));
    }

    spiel s(Uhr::system(), dialoge);
    const QString fragen = ordner + QStringLiteral("/fragen.xml");
    FrageDatei::neueDateiSchreiben(fragen);
    s.ladeFragen(fragen);
    s.getNaechsteFrage();
    Druckjournal journal(Uhr::system(), ordner);
    journal.beginnen(fragen);
    QFile frueher(ordner + QStringLiteral("/frueher.txt"));
    frueher.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);

    // The three ways in turn, block by block, so each sees the same load of the machine. Only the
    // game's thread is timed: the writer works beside it.
    constexpr int Druecke = 5000;
    constexpr int Runden = 15;
    QList<double> mitJournal, ohneJournal, wieVorher, rueckstand;
    for (int runde = 0; runde < Runden; ++runde) {
        zeit.restart();
        for (int i = 0; i < Druecke; ++i) {
            const SpielStand::Druck d = journal.druck(s, 1, uint(i % 400), uint(1 + i % 4));
            s.antwortEintragen(d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo, d.laufzeitMs);
        }
        mitJournal.append(double(zeit.nsecsElapsed()) / Druecke / 1000);
        zeit.restart();
        journal.leeren();
        rueckstand.append(zeit.nsecsElapsed() / 1e6);
        zeit.restart();
        for (int i = 0; i < Druecke; ++i)
            s.antwortErfassen(1, uint(i % 400), uint(1 + i % 4));
        ohneJournal.append(double(zeit.nsecsElapsed()) / Druecke / 1000);
        zeit.restart();
        for (int i = 0; i < Druecke; ++i) {
            const SpielStand::Druck d{s.getAktuelleFrageNr(), 1, uint(i % 400), uint(1 + i % 4), s.laufzeit(),
                                      Uhr::system().epochMs()};
            wieFrueher(frueher.handle(), d);
            s.antwortEintragen(d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo, d.laufzeitMs);
        }
        wieVorher.append(double(zeit.nsecsElapsed()) / Druecke / 1000);
    }
    printf("press without journal: %.2f us; with journal: %.2f us (+%.2f us), the writer %.2f ms behind at "
           "the end of %d presses; written on the game's thread as before: %.2f us (+%.2f us) (medians of %d "
           "rounds)\n",
           median(ohneJournal), median(mitJournal), median(mitJournal) - median(ohneJournal),
           median(rueckstand), Druecke, median(wieVorher), median(wieVorher) - median(ohneJournal), Runden);

    // A press of a class comes alone, a moment after the last: the writer is idle (looking for
    // records by itself, since it had some a moment ago). Each way is timed first after its pause,
    // so none finds the caches warmed by another.
    QList<double> einzelnMit, einzelnOhne, einzelnVorher;
    for (int i = 0; i < 2000; ++i) {
        journal.leeren();
        usleep(300);
        zeit.restart();
        const SpielStand::Druck d = journal.druck(s, 1, uint(i % 400), uint(1 + i % 4));
        s.antwortEintragen(d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo, d.laufzeitMs);
        einzelnMit.append(zeit.nsecsElapsed() / 1e3);
        usleep(300);
        zeit.restart();
        s.antwortErfassen(1, uint(i % 400), uint(1 + i % 4));
        einzelnOhne.append(zeit.nsecsElapsed() / 1e3);
        usleep(300);
        zeit.restart();
        const SpielStand::Druck v{s.getAktuelleFrageNr(), 1, uint(i % 400), uint(1 + i % 4), s.laufzeit(),
                                  Uhr::system().epochMs()};
        wieFrueher(frueher.handle(), v);
        s.antwortEintragen(v.frageNr, v.klassensatz, v.buzzerNo, v.buttonNo, v.laufzeitMs);
        einzelnVorher.append(zeit.nsecsElapsed() / 1e3);
    }
    printf("a single press 0.3 ms after the last, the writer idle: without journal %.2f us; with journal "
           "%.2f us; written on the game's thread as before %.2f us (medians of 2000)\n",
           median(einzelnOhne), median(einzelnMit), median(einzelnVorher));

    if (nachRuhe) {
        // The first press after the class was quiet for longer than the writer's busy looking.
        // Alternately with and without the journal, so both meet caches cooled alike.
        QList<double> mit, ohne;
        for (int i = 0; i < 10; ++i) {
            journal.leeren();
            sleep(35);
            zeit.restart();
            if (i % 2 == 0) {
                const SpielStand::Druck d = journal.druck(s, 1, uint(i + 1), 1);
                s.antwortEintragen(d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo, d.laufzeitMs);
                mit.append(zeit.nsecsElapsed() / 1e3);
            } else {
                s.antwortErfassen(1, uint(i + 1), 1);
                ohne.append(zeit.nsecsElapsed() / 1e3);
            }
        }
        printf("the first press after a quiet 35 s: without journal %.2f us; with journal %.2f us (medians "
               "of 5)\n",
               median(ohne), median(mit));
    }

    // The sync the journal's timer makes at most every 100 ms while presses come in: measured
    // by hand on a line just written.
    frueher.close();
    constexpr int Syncs = 50;
    qint64 syncSumme = 0, syncMax = 0;
    for (int i = 0; i < Syncs; ++i) {
        journal.druck(s, 1, 1, 1);
        QFile f(journal.pfad());
        f.open(QIODevice::Append);
        zeit.restart();
        f.flush();
        fdatasync(f.handle());
        const qint64 ns = zeit.nsecsElapsed();
        syncSumme += ns;
        syncMax = std::max(syncMax, ns);
    }
    printf("sync of the journal: mean %.2f ms, max %.2f ms (folder %s)\n", double(syncSumme) / Syncs / 1e6,
           double(syncMax) / 1e6, qPrintable(ordner));
    journal.beenden();
    return 0;
}
