// Prints how the phones' server carries a class: 200 phones joined over WebSocket, each pressing 50
// times at 10 presses a second (2,000 a second in all), and the time from a press leaving a phone
// until the game engine has recorded it, with how many were lost.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_handys [--gleichrangig]
//
// The server runs on its own thread as in the program, and its presses reach the engine in the main
// thread, which stands for the window's, through the same queued signal. The phones are WebSocket
// clients on a thread of their own. On a machine with two cores they compete with the server and
// the engine for the processor, which real phones never do: they run at a lower priority (nice 10),
// so the figure is the program's, and the printout shows how long each side ran and how long it
// waited for a core. --gleichrangig runs the phones at the program's priority.
#include "handyabstimmung.h"
#include "messhilfen.h"
#include "spiel.h"
#include "telefone.h"
#include "uhr.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

using Messhilfen::anteil;

constexpr int Telefone = 200;
constexpr int DrueckeJeTelefon = 50;
constexpr int Alle = Telefone * DrueckeJeTelefon;
// Each phone presses every 100 ms, in turn: 2,000 presses a second.
constexpr qint64 DauerNs = qint64(Alle) * 500'000;

// Sleeps until an event arrives rather than polling: a main thread that spins takes a core from
// the server it measures. Whoever changes the condition from another thread posts an event.
bool warten(const std::function<bool()> &fertig, int ms)
{
    const QDeadlineTimer frist(ms);
    QTimer wecker;
    wecker.setSingleShot(true);
    wecker.start(ms);
    while (!fertig() && !frist.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return fertig();
}

// Time on a core and time waiting for one, per thread, from the scheduler's own account.
struct Faden
{
    QString name;
    qint64 laufNs = 0;
    qint64 wartenNs = 0;
};

QHash<qint64, Faden> faeden()
{
    QHash<qint64, Faden> alle;
    const QDir ordner(QStringLiteral("/proc/self/task"));
    for (const QString &id : ordner.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stand(ordner.filePath(id + QStringLiteral("/schedstat")));
        QFile name(ordner.filePath(id + QStringLiteral("/comm")));
        if (!stand.open(QIODevice::ReadOnly) || !name.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> werte = stand.readAll().split(' ');
        if (werte.size() < 2)
            continue;
        alle.insert(id.toLongLong(), {QString::fromUtf8(name.readAll().trimmed()), werte[0].toLongLong(),
                                      werte[1].toLongLong()});
    }
    return alle;
}

double lastMittel()
{
    QFile datei(QStringLiteral("/proc/loadavg"));
    return datei.open(QIODevice::ReadOnly) ? datei.readAll().split(' ').value(0).toDouble() : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false\nplenaro.*.info=false"));
    QTextStream aus(stdout);
    const bool zurueckstellen = !QCoreApplication::arguments().contains(QStringLiteral("--gleichrangig"));
    const double last = lastMittel();

    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("fragen.xml"));
    QFile xml(datei);
    if (!xml.open(QIODevice::WriteOnly))
        return 1;
    xml.write(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ArrayOfQuestion><Question>"
        "<QuestionText>Eine Frage</QuestionText><Answer1>A</Answer1><Answer2>B</Answer2>"
        "<Answer3>C</Answer3><Answer4>D</Answer4><AnswerDelay>0</AnswerDelay>"
        "<Solution>Answer2</Solution><Time>3600</Time><Points>1</Points></Question></ArrayOfQuestion>\n");
    xml.close();
    Messhilfen::StilleDialoge dialoge;
    spiel engine(Uhr::system(), dialoge);
    engine.ladeFragen(datei);
    engine.getNaechsteFrage();
    engine.qountdownStarten();

    QElapsedTimer uhr;
    uhr.start();
    HandyAbstimmung handys;
    // Every phone here comes from the loopback address.
    handys.nummernJeAdresseSetzen(Telefone);
    bench::Sendezeiten sendezeiten;
    QList<double> zeiten;
    zeiten.reserve(Alle);
    int unbekannt = 0;
    QObject::connect(&handys, &HandyAbstimmung::druck, &app, [&](uint klassensatz, uint nummer, uint knopf) {
        engine.antwortErfassen(klassensatz, nummer, knopf);
        const qint64 jetzt = uhr.nsecsElapsed();
        const qint64 gesendet = sendezeiten.nehmen(nummer);
        if (gesendet < 0)
            ++unbekannt;
        else
            zeiten.push_back(double(jetzt - gesendet) / 1e6);
    });
    quint16 port = 0;
    QObject::connect(&handys, &HandyAbstimmung::gestartet, &app, [&](quint16 p) { port = p; });
    handys.starten(0, QHostAddress::LocalHost);
    if (!warten([&]() { return port != 0; }, 5000)) {
        aus << "server did not start\n";
        return 1;
    }
    handys.frageSetzen(true, 1);

    bench::Telefone klasse(sendezeiten, uhr, Telefone, DrueckeJeTelefon, DauerNs);
    const bool zurueckgestellt = klasse.oeffnen(port, handys.code(), zurueckstellen);
    if (!warten([&]() { return klasse.beigetreten() == Telefone; }, 30000)) {
        aus << "not every phone joined\n";
        return 1;
    }

    const QHash<qint64, Faden> vorher = faeden();
    QElapsedTimer lauf;
    lauf.start();
    klasse.druecken();
    warten([&]() { return int(zeiten.size()) + unbekannt >= Alle; }, 120000);
    const double dauer = double(lauf.nsecsElapsed()) / 1e9;
    const QHash<qint64, Faden> nachher = faeden();
    warten([&]() { return klasse.quittiert() == Alle; }, 5000);
    int imSpiel = 0;
    for (const Person &p : engine.getPersonen())
        imSpiel += p.findeAntwort(1) ? 1 : 0;

    aus << Telefone << " phones x " << DrueckeJeTelefon << " presses in " << QString::number(dauer, 'f', 1)
        << " s (sent in " << QString::number(klasse.druckDauer(), 'f', 1) << " s): " << zeiten.size()
        << " recorded by the engine, " << Alle - int(zeiten.size()) << " lost, " << klasse.quittiert()
        << " acknowledged as counted, " << imSpiel << " phones with an answer\n";
    aus << "press -> antwortErfassen: median " << QString::number(anteil(zeiten, 0.5), 'f', 2) << " ms, p99 "
        << QString::number(anteil(zeiten, 0.99), 'f', 2) << " ms, slowest "
        << QString::number(anteil(zeiten, 1.0), 'f', 2) << " ms\n";

    // The server's network thread names itself; the rest are the toolkit's and the server's idle
    // thread.
    enum Rolle { Netz, Haupt, Phones, Uebrige };
    Faden summe[4];
    for (auto it = nachher.cbegin(); it != nachher.cend(); ++it) {
        const Faden davor = vorher.value(it.key());
        const Rolle rolle = it.key() == QCoreApplication::applicationPid()  ? Haupt
                            : it.key() == klasse.id()                       ? Phones
                            : it.value().name == QLatin1String("Handynetz") ? Netz
                                                                            : Uebrige;
        summe[rolle].laufNs += it.value().laufNs - davor.laufNs;
        summe[rolle].wartenNs += it.value().wartenNs - davor.wartenNs;
    }
    const auto zeile = [&](Rolle rolle, const QString &name) {
        aus << "  " << name.leftJustified(52) << QString::number(double(summe[rolle].laufNs) / 1e9, 'f', 2)
            << " s / " << QString::number(double(summe[rolle].wartenNs) / 1e9, 'f', 2) << " s\n";
    };
    aus << "while pressing, on a core / waiting for one:\n";
    zeile(Netz, QStringLiteral("server's network thread"));
    zeile(Haupt, QStringLiteral("main thread (engine, as the window's thread)"));
    zeile(Phones,
          zurueckgestellt
              ? QStringLiteral("phones (this benchmark's clients, nice %1)").arg(bench::Telefone::Nice)
              : QStringLiteral("phones (this benchmark's clients)"));
    zeile(Uebrige, QStringLiteral("other threads"));
    aus << "presses held up for more than 1 ms in the phones' thread while being sent: "
        << klasse.aufgehalten() << " (each counts from when it was handed to the system)\n";
    aus << "load average " << QString::number(last, 'f', 2) << " at the start, on "
        << QThread::idealThreadCount() << " cores\n";
    if (zurueckgestellt)
        aus << "The phones ran at nice " << bench::Telefone::Nice
            << ": on a busy machine they give way to the server and the engine, so the figure above is the "
               "program's. --gleichrangig runs them at the program's priority.\n";
    else
        aus << "The phones ran at the program's priority: on a busy machine part of the figure above is "
               "their own wait for a core.\n";
    return 0;
}
