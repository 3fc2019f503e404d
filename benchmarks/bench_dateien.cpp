// Prints what the press journal costs per press and per sync, and what reading a question file
// near the size limit costs.
//   build/bin/bench_dateien [folder on the disk to measure]
#include "dialoge.h"
#include "druckjournal.h"
#include "fragedatei.h"
#include "spiel.h"
#include "uhr.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

namespace {

class StilleDialoge final : public Dialoge
{
public:
    void hinweis(const Meldung &) override {}
    bool frage(const Meldung &) override { return true; }
    QString dateiZumOeffnen(const QString &, const QString &, const QString &) override { return {}; }
    QString dateiZumSpeichern(const QString &, const QString &, const QString &) override { return {}; }
};

long speicherMb()
{
    rusage nutzung{};
    getrusage(RUSAGE_SELF, &nutzung);
    return nutzung.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false\nqt.*=false"));
    QTemporaryDir temp(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench-XXXXXX")
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

    StilleDialoge dialoge;
    spiel s(Uhr::system(), dialoge);
    const QString fragen = ordner + QStringLiteral("/fragen.xml");
    FrageDatei::neueDateiSchreiben(fragen);
    s.ladeFragen(fragen);
    s.getNaechsteFrage();
    Druckjournal journal(Uhr::system(), ordner);
    journal.beginnen(fragen);
    constexpr int Druecke = 20000;
    zeit.restart();
    for (int i = 0; i < Druecke; ++i) {
        const SpielStand::Druck d = journal.druck(s, 1, uint(i % 400), uint(1 + i % 4));
        s.antwortEintragen(d.frageNr, d.klassensatz, d.buzzerNo, d.buttonNo, d.laufzeitMs);
    }
    const qint64 mitJournal = zeit.nsecsElapsed();
    zeit.restart();
    for (int i = 0; i < Druecke; ++i)
        s.antwortErfassen(1, uint(i % 400), uint(1 + i % 4));
    const qint64 ohneJournal = zeit.nsecsElapsed();
    printf("press with journal: %.2f us, without: %.2f us\n", double(mitJournal) / Druecke / 1000,
           double(ohneJournal) / Druecke / 1000);

    // The sync the journal's timer makes at most every 100 ms while presses come in: measured
    // by hand on a line just written.
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
